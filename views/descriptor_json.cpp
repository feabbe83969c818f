#include "views/descriptor_json.h"

#include "lib13818/names/delivery_codes.h"
#include "lib13818/names/registry.h"
#include "views/display_text.h"
#include "views/text_format.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

namespace lib = lib13818;
using json = nlohmann::ordered_json;

std::string hex(std::string_view bytes) {
    return hex_bytes(bytes);
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    return hex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

std::string code(const lib::LanguageCode& c) {
    return views::shown_code(c);
}

json time(const lib::UtcTime& t) {
    return views::padded_time(t);
}

// A coded value and, when it has one, its name under the key with "_name" appended.
template <std::size_t N>
void coded(json& out, const char* key, std::int32_t value, const lib::value_name (&names)[N]) {
    out[key] = value;
    if (const char* name = lib::codes::name_or(names, value, nullptr)) out[std::string(key) + "_name"] = name;
}

json head(const lib::Descriptor& d) {
    return {{"descriptor_tag", d.descriptor_tag}, {"descriptor_length", d.descriptor_length}};
}

}  // namespace

void descriptor_json::text(json& out, const char* key, const lib::DvbString& s) {
    out[key] = views::shown(text_, s);
    out[std::string(key) + "_raw"] = hex(s.selector + s.text);
}

void descriptor_json::raw_text(json& out, const char* key, const std::string& raw) {
    out[key] = views::shown_raw(text_, raw);
    out[std::string(key) + "_raw"] = hex(raw);
}

json descriptor_json::of(const lib::DescriptorGeneric& d) {
    json out = head(d);
    out["data"] = hex(d.data);
    return out;
}

json descriptor_json::of(const lib::DescriptorCA& d) {
    json out = head(d);
    out["ca_system_id"] = d.CA_system_ID;
    out["ca_system_name"] = views::shown_name(lib::ca_system_name(d.CA_system_ID));
    out["ca_pid"] = d.CA_PID;
    out["private_data"] = hex(d.private_data);
    return out;
}

json descriptor_json::of(const lib::DescriptorSatelliteDeliverySystem& d) {
    json out = head(d);
    out.update({{"frequency_ghz", as_decimal(d.frequency)},
                {"frequency_khz", std::uint64_t{d.frequency_10khz} * 10},
                {"orbital_position", as_decimal(d.orbital_position)},
                {"west_east_flag", d.west_east_flag},
                {"polarization", d.polarization},
                {"modulation", d.modulation},
                {"symbol_rate_msps", as_decimal(d.symbol_rate)},
                {"fec_inner", d.FEC_inner}});
    coded(out, "roll_off", d.roll_off, lib::codes::roll_off);
    coded(out, "modulation_system", d.modulation_system, lib::codes::modulation_system);
    coded(out, "modulation_type", d.modulation_type, lib::codes::modulation_type);
    return out;
}

json descriptor_json::of(const lib::DescriptorServiceList& d) {
    json out = head(d);
    json& services = out["services"] = json::array();
    for (const auto& s : d.services)
        services.push_back(of(s));
    return out;
}

json descriptor_json::of(const lib::DescriptorServiceList::Service& s) {
    return {{"service_id", s.service_id}, {"service_type", s.service_type}};
}

json descriptor_json::of(const lib::DescriptorService& d) {
    json out = head(d);
    out["service_type"] = d.service_type;
    raw_text(out, "provider_name", d.provider_name);
    raw_text(out, "service_name", d.service_name);
    return out;
}

json descriptor_json::of(const lib::DescriptorShortEvent& d) {
    json out = head(d);
    out["iso_639_language_code"] = code(d.ISO_639_language_code);
    text(out, "event_name", d.event_name);
    text(out, "text", d.text);
    return out;
}

json descriptor_json::of(const lib::DescriptorExtendedEvent& d) {
    json out = head(d);
    out["descriptor_number"] = d.descriptor_number;
    out["last_descriptor_number"] = d.last_descriptor_number;
    out["iso_639_language_code"] = code(d.ISO_639_language_code);
    json& items = out["items"] = json::array();
    for (const auto& item : d.items)
        items.push_back(of(item));
    text(out, "text", d.text);
    return out;
}

json descriptor_json::of(const lib::DescriptorExtendedEvent::Item& item) {
    json out = json::object();
    text(out, "description", item.item_description);
    text(out, "item", item.item);
    return out;
}

json descriptor_json::of(const lib::DescriptorTimeShiftedEvent& d) {
    json out = head(d);
    out["reference_service_id"] = d.reference_service_id;
    out["reference_event_id"] = d.reference_event_id;
    return out;
}

json descriptor_json::of(const lib::DescriptorComponent& d) {
    json out = head(d);
    out.update({{"stream_content", d.stream_content},
                {"component_type", d.component_type},
                {"component_tag", d.component_tag},
                {"iso_639_language_code", code(d.ISO_639_language_code)}});
    text(out, "text", d.text);
    return out;
}

json descriptor_json::of(const lib::DescriptorContent& d) {
    json out = head(d);
    json& items = out["items"] = json::array();
    for (const auto& i : d.items)
        items.push_back(of(i));
    return out;
}

json descriptor_json::of(const lib::DescriptorContent::Item& i) {
    return {{"content_nibble_level_1", i.content_nibble_level1},
            {"content_nibble_level_2", i.content_nibble_level2},
            {"user_nibble_1", i.user_nibble1},
            {"user_nibble_2", i.user_nibble2}};
}

json descriptor_json::of(const lib::DescriptorLocalTimeOffset& d) {
    json out = head(d);
    json& offsets = out["offsets"] = json::array();
    for (const auto& o : d.offsets)
        offsets.push_back(of(o));
    return out;
}

json descriptor_json::of(const lib::DescriptorLocalTimeOffset::Offset& o) {
    return {{"country_code", code(o.country_code)},
            {"country_region_id", o.country_region_id},
            {"local_time_offset_polarity", o.local_time_offset_polarity},
            {"local_time_offset", views::hour_minute_text(o.local_time_offset)},
            {"time_of_change", time(o.time_of_change)},
            {"next_time_offset", views::hour_minute_text(o.next_time_offset)}};
}

json descriptor_json::of(const lib::DescriptorISO639Language& d) {
    json out = head(d);
    json& languages = out["languages"] = json::array();
    for (const auto& l : d.languages)
        languages.push_back(of(l));
    return out;
}

json descriptor_json::of(const lib::DescriptorISO639Language::Language& l) {
    return {{"iso_639_language_code", code(l.ISO_639_language_code)}, {"audio_type", l.audio_type}};
}

json descriptor_json::of(const lib::DescriptorTeletext& d) {
    json out = head(d);
    json& pages = out["pages"] = json::array();
    for (const auto& p : d.pages)
        pages.push_back(of(p));
    return out;
}

json descriptor_json::of(const lib::DescriptorTeletext::Page& p) {
    return {{"iso_639_language_code", code(p.ISO_639_language_code)},
            {"teletext_type", p.teletext_type},
            {"teletext_magazine_number", p.teletext_magazine_number},
            {"teletext_page_number", p.teletext_page_number}};
}

json descriptor_json::of(const lib::DescriptorVideoStream& d) {
    json out = head(d);
    out.update({{"multiple_frame_rate_flag", d.multiple_frame_rate_flag},
                {"frame_rate_code", d.frame_rate_code},
                {"mpeg_1_only_flag", d.MPEG_1_only_flag},
                {"constrained_parameter_flag", d.constrained_parameter_flag},
                {"still_picture_flag", d.still_picture_flag}});
    if (!d.MPEG_1_only_flag)
        out.update({{"profile_and_level_indication", d.profile_and_level_indication},
                    {"chroma_format", d.chroma_format},
                    {"frame_rate_extension_flag", d.frame_rate_extension_flag}});
    return out;
}

json descriptor_json::of(const lib::DescriptorAudioStream& d) {
    json out = head(d);
    out.update({{"free_format_flag", d.free_format_flag},
                {"id", d.ID},
                {"layer", d.layer},
                {"variable_rate_audio_indicator", d.variable_rate_audio_indicator}});
    return out;
}

json descriptor_json::of(const lib::DescriptorCAIdentifier& d) {
    json out = head(d);
    out["ca_system_ids"] = d.CA_system_ids;
    return out;
}

json descriptor_json::of(const lib::DescriptorSTD& d) {
    json out = head(d);
    out["leak_valid_flag"] = d.leak_valid_flag;
    return out;
}

json descriptor_json::of(const lib::DescriptorPrivateDataIndicator& d) {
    json out = head(d);
    out["private_data_indicator"] = d.private_data_indicator;
    return out;
}

json descriptor_json::of(const lib::DescriptorCopyright& d) {
    json out = head(d);
    out["copyright_identifier"] = d.copyright_identifier;
    out["additional_copyright_info"] = hex(d.additional_copyright_info);
    return out;
}

json descriptor_json::of(const lib::DescriptorStreamIdentifier& d) {
    json out = head(d);
    out["component_tag"] = d.component_tag;
    return out;
}

}  // namespace kestrel::views
