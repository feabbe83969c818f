#include "lib13818/fields/catalogue.h"

#include <array>
#include <vector>

namespace lib13818 {

namespace descriptions {
namespace {
using namespace describe;
constexpr field extension_fields[] = {bytes("selector_byte", rest())};
constexpr field user_defined_fields[] = {specifier("private_data_specifier"), bytes("private_data", rest())};
}  // namespace

constexpr description extension{.name = "extension_descriptor",
                                .tag = 0x7F,
                                .extension = description::any_extension,
                                .body = {"extension", extension_fields}};
// Tag 0xFF sorts it after every described private descriptor; lookups never match it.
constexpr description user_defined{
    .name = "user_defined_descriptor", .tag = 0xFF, .body = {"user_defined", user_defined_fields}};
}  // namespace descriptions

namespace {

// Every description, one line each.
constexpr const description* all[] = {
    &descriptions::hierarchy,
    &descriptions::registration,
    &descriptions::data_stream_alignment,
    &descriptions::target_background_grid,
    &descriptions::video_window,
    &descriptions::system_clock,
    &descriptions::multiplex_buffer_utilization,
    &descriptions::maximum_bitrate,
    &descriptions::smoothing_buffer,
    &descriptions::IBP,
    &descriptions::carousel_identifier,
    &descriptions::association_tag,
    &descriptions::MPEG4_video,
    &descriptions::MPEG4_audio,
    &descriptions::AVC_video,
    &descriptions::AVC_timing_and_HRD,
    &descriptions::MPEG2_AAC_audio,
    &descriptions::HEVC_video,
    &descriptions::network_name,
    &descriptions::stuffing,
    &descriptions::cable_delivery_system,
    &descriptions::VBI_data,
    &descriptions::VBI_teletext,
    &descriptions::bouquet_name,
    &descriptions::country_availability,
    &descriptions::linkage,
    &descriptions::NVOD_reference,
    &descriptions::time_shifted_service,
    &descriptions::mosaic,
    &descriptions::parental_rating,
    &descriptions::telephone,
    &descriptions::subtitling,
    &descriptions::terrestrial_delivery_system,
    &descriptions::multilingual_network_name,
    &descriptions::multilingual_bouquet_name,
    &descriptions::multilingual_service_name,
    &descriptions::multilingual_component,
    &descriptions::private_data_specifier,
    &descriptions::service_move,
    &descriptions::short_smoothing_buffer,
    &descriptions::frequency_list,
    &descriptions::partial_transport_stream,
    &descriptions::data_broadcast,
    &descriptions::scrambling,
    &descriptions::data_broadcast_id,
    &descriptions::transport_stream,
    &descriptions::DSNG,
    &descriptions::PDC,
    &descriptions::AC3,
    &descriptions::ancillary_data,
    &descriptions::cell_list,
    &descriptions::cell_frequency_link,
    &descriptions::announcement_support,
    &descriptions::application_signalling,
    &descriptions::adaptation_field_data,
    &descriptions::service_identifier,
    &descriptions::service_availability,
    &descriptions::default_authority,
    &descriptions::related_content,
    &descriptions::TVA_id,
    &descriptions::content_identifier,
    &descriptions::time_slice_fec_identifier,
    &descriptions::ECM_repetition_rate,
    &descriptions::S2_satellite_delivery_system,
    &descriptions::enhanced_AC3,
    &descriptions::DTS,
    &descriptions::AAC,
    &descriptions::XAIT_location,
    &descriptions::FTA_content_management,
    &descriptions::T2_delivery_system,
    &descriptions::supplementary_audio,
    &descriptions::network_change_notify,
    &descriptions::message,
    &descriptions::target_region,
    &descriptions::target_region_name,
    &descriptions::service_relocated,
    &descriptions::C2_delivery_system,
    &descriptions::T2MI,
    &descriptions::URI_linkage,
    &descriptions::AC4,
    &descriptions::S2X_satellite_delivery_system,
    &descriptions::audio_preselection,
    &descriptions::TTML_subtitling,
    &descriptions::logical_channel_eacem,
    &descriptions::hd_simulcast_logical_channel,
    &descriptions::logical_channel_nordig,
    &descriptions::extension,
    &descriptions::user_defined,
};

constexpr std::uint8_t extension_tag = 0x7F;

bool is_private(std::uint8_t tag) {
    return tag >= 0x80 && tag <= 0xFE;
}

// The descriptions by the way loops look them up, sorted once.
struct index {
    std::array<const description*, 256> plain{};  // by tag
    std::vector<const description*> extensions;   // of tag 0x7F
    std::vector<const description*> privates;     // of a private_data_specifier
};

const index& by_key() {
    static const index built = [] {
        index i;
        for (const description* d : all) {
            if (d == &descriptions::extension || d == &descriptions::user_defined) continue;
            if (d->tag == extension_tag)
                i.extensions.push_back(d);
            else if (is_private(d->tag))
                i.privates.push_back(d);
            else
                i.plain[d->tag] = d;
        }
        return i;
    }();
    return built;
}

}  // namespace

const description* find_description(std::uint8_t tag, int extension, std::uint64_t specifier) {
    const index& i = by_key();
    if (tag == extension_tag) {
        for (const description* d : i.extensions)
            if (d->extension == extension) return d;
        return &descriptions::extension;
    }
    if (is_private(tag)) {
        for (const description* d : i.privates)
            if (d->tag == tag && d->private_data_specifier == specifier) return d;
        return &descriptions::user_defined;
    }
    return i.plain[tag];
}

std::span<const description* const> catalogue() {
    return all;
}

}  // namespace lib13818
