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
    &descriptions::carousel_identifier,
    &descriptions::association_tag,
    &descriptions::network_name,
    &descriptions::cable_delivery_system,
    &descriptions::bouquet_name,
    &descriptions::parental_rating,
    &descriptions::subtitling,
    &descriptions::terrestrial_delivery_system,
    &descriptions::private_data_specifier,
    &descriptions::frequency_list,
    &descriptions::data_broadcast_id,
    &descriptions::AC3,
    &descriptions::application_signalling,
    &descriptions::S2_satellite_delivery_system,
    &descriptions::enhanced_AC3,
    &descriptions::AAC,
    &descriptions::T2_delivery_system,
    &descriptions::C2_delivery_system,
    &descriptions::S2X_satellite_delivery_system,
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
