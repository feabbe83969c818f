#include "lib13818/names/delivery_codes.h"
#include "lib13818/names/registry.h"
#include "lib13818/names/si_names.h"
#include "views/display_text.h"
#include "views/row_builders.h"
#include "views/row_list.h"
#include "views/text_format.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

// The tag in the case and width each builder shows it, and the length.
void add_head(row_list& rows, std::string (*hex)(std::uint32_t, int), int digits, const lib::Descriptor& d) {
    rows.add(hex(static_cast<std::uint32_t>(d.descriptor_tag), digits));
    rows.add(decimal(d.descriptor_length));
}

// "value - name" of a coded field and its display name.
std::string coded(std::int32_t value, const char* separator, const char* name) {
    return decimal(value) + separator + name;
}

// The same for a value of a code table, the bare value when it has no name there.
template <std::size_t N>
std::string coded(std::int32_t value, const lib::value_name (&names)[N]) {
    const char* name = lib::codes::name_or(names, value, nullptr);
    return name != nullptr ? coded(value, " - ", name) : decimal(value);
}

const field_list& tag_and_length() {
    static const field_list fields("DESCRIPTOR_TAG,DESCRIPTOR_LENGTH");
    return fields;
}

}  // namespace

std::vector<value_row> rows_of(const lib::DescriptorCA& d, text_decoder&) {
    static const field_list fields("DESCRIPTOR TAG,DESCRIPTOR LENGTH,SYS_ID,PID,PRIVATE BYTES");
    row_list rows(fields);
    add_head(rows, upper_hex, 4, d);
    rows.add(upper_hex(static_cast<std::uint32_t>(d.CA_system_ID), 4) + " - " +
             shown_name(lib::ca_system_name(d.CA_system_ID)));
    rows.add_pid(upper_hex(static_cast<std::uint32_t>(d.CA_PID), 4), d.CA_PID);
    rows.add_bytes(d.private_data);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorGeneric& d, text_decoder&) {
    static const field_list fields("DESCRIPTOR TAG,DESCRIPTOR LENGTH,PRIVATE DATA");
    row_list rows(fields);
    add_head(rows, upper_hex, 4, d);
    rows.add_bytes(d.data);
    return rows.take();
}

// The profile, chroma and frame-rate extension fields exist for MPEG-2 video only
// (MPEG_1_only_flag 0); for MPEG-1 they are "N/A".
std::vector<value_row> rows_of(const lib::DescriptorVideoStream& d, text_decoder&) {
    static const field_list fields(
        "MULTIPLE FRAME RATE,FRAME RATE CODE,MPEG 1 ONLY,CONSTRAINED PARAMETER FLAG,STILL PICTURE,PROFILE "
        "AND "
        "LEVEL INDICATION,CHROMA FORMAT,FRAME RATE EXTENSION,RESERCED");
    row_list rows(fields);
    rows.add(decimal(d.multiple_frame_rate_flag));
    rows.add(decimal(d.frame_rate_code));
    rows.add(decimal(d.MPEG_1_only_flag));
    rows.add(decimal(d.constrained_parameter_flag));
    rows.add(decimal(d.still_picture_flag));
    if (d.MPEG_1_only_flag) {
        for (int i = 0; i < 4; ++i)
            rows.add_na();
    } else {
        rows.add(decimal(d.profile_and_level_indication));
        rows.add(decimal(d.chroma_format));
        rows.add(decimal(d.frame_rate_extension_flag));
        rows.add(decimal(d.reserved));
    }
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorISO639Language& d, text_decoder&) {
    static const field_list fields("DESCRIPTOR TAG,DESCRIPTOR LENGTH");
    row_list rows(fields);
    add_head(rows, upper_hex, 4, d);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorISO639Language::Language& language, text_decoder&) {
    static const field_list fields("ISO 639 LANGUAGE CODE,AUDIO TYPE");
    row_list rows(fields);
    rows.add(shown_code(language.ISO_639_language_code));
    rows.add(decimal(language.audio_type));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorSatelliteDeliverySystem& d, text_decoder&) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,FREQUENCY,ORBITAL_POSITION,WEST_EAST_FLAG,POLARIZATION,MODULATION,"
        "SYMBOL_RATE,FEC_INNER,ROLL_OFF,MODULATION_SYSTEM,MODULATION_TYPE");
    row_list rows(fields);
    add_head(rows, lower_hex, 2, d);
    rows.add(format("%.2f", d.frequency * 1000));
    rows.add(format("%.1f", d.orbital_position));
    rows.add(coded(d.west_east_flag, " - ", d.west_east_flag == 0 ? "west" : "east"));
    rows.add(coded(d.polarization, " - ", lib::polarisation_name(d.polarization)));
    rows.add(coded(d.modulation, " - ", lib::modulation_name(d.modulation)));
    rows.add(format("%.1f", d.symbol_rate * 1000));
    rows.add(coded(d.FEC_inner, " - ", lib::fec_inner_name(d.FEC_inner)));
    rows.add(coded(d.roll_off, lib::codes::roll_off));
    rows.add(coded(d.modulation_system, lib::codes::modulation_system));
    rows.add(coded(d.modulation_type, lib::codes::modulation_type));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorService& d, text_decoder& text) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,SERVICE_TYPE,SERVICE_PROVIDER_NAME_LENGTH,SERVICE_PROVIDER_NAME,"
        "SERVICE_NAME_LENGTH,SERVICE_NAME");
    row_list rows(fields);
    add_head(rows, lower_hex, 2, d);
    rows.add(coded(d.service_type, " - ", lib::service_type_name(d.service_type)));
    rows.add(decimal(static_cast<long long>(d.provider_name.size())));
    rows.add(shown_raw(text, d.provider_name));
    rows.add(decimal(static_cast<long long>(d.service_name.size())));
    rows.add(shown_raw(text, d.service_name));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorServiceList& d, text_decoder&) {
    row_list rows(tag_and_length());
    add_head(rows, lower_hex, 4, d);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorServiceList::Service& service, text_decoder&) {
    static const field_list fields("SERVICE_ID,SERVICE_TYPE");
    row_list rows(fields);
    rows.add(lower_hex(static_cast<std::uint32_t>(service.service_id), 2));
    rows.add(coded(service.service_type, " - ", lib::service_type_name(service.service_type)));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorTeletext& d, text_decoder&) {
    row_list rows(tag_and_length());
    add_head(rows, lower_hex, 2, d);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorTeletext::Page& page, text_decoder&) {
    static const field_list fields(
        "ISO_639_LANGUAGE_CODE,TELETEXT_TYPE,TELETEXT_MAGAZINE_NUMBER,TELETEXT_PAGE_NUMBER");
    row_list rows(fields);
    rows.add(shown_code(page.ISO_639_language_code));
    rows.add(coded(page.teletext_type, " : ", lib::teletext_type_name(page.teletext_type)));
    rows.add(decimal(page.teletext_magazine_number));
    rows.add(decimal(page.teletext_page_number));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorComponent& d, text_decoder& text) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,STREAM_CONTENT,COMPONENT_TYPE,COMPONENT_TAG,ISO_639_LANGUAGE_CODE,"
        "TEXT");
    row_list rows(fields);
    add_head(rows, lower_hex, 2, d);
    rows.add(decimal(d.stream_content));
    rows.add(decimal(d.component_type));
    rows.add(decimal(d.component_tag));
    rows.add(shown_code(d.ISO_639_language_code));
    rows.add(shown(text, d.text));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorExtendedEvent& d, text_decoder& text) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,DESCRIPTOR_NUMBER,ISO_639_LANGUAGE_CODE,TEXT");
    row_list rows(fields);
    add_head(rows, lower_hex, 2, d);
    rows.add(decimal(d.descriptor_number));
    rows.add(shown_code(d.ISO_639_language_code));
    rows.add(shown(text, d.text));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorExtendedEvent::Item& item, text_decoder& text) {
    static const field_list fields("DESCRIPTION,ITEM");
    row_list rows(fields);
    rows.add(shown(text, item.item_description));
    rows.add(shown(text, item.item));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorShortEvent& d, text_decoder& text) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,ISO_639_LANGUAGE_CODE,EVENT_NAME,EVENT_TEXT");
    row_list rows(fields);
    add_head(rows, lower_hex, 2, d);
    rows.add(shown_code(d.ISO_639_language_code));
    rows.add(shown(text, d.event_name));
    rows.add(shown(text, d.text));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorTimeShiftedEvent& d, text_decoder&) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,REFERENCE_SERVICE_ID,REFERENCE_EVENT_ID");
    row_list rows(fields);
    add_head(rows, lower_hex, 2, d);
    rows.add(decimal(d.reference_service_id));
    rows.add(decimal(d.reference_event_id));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorContent& d, text_decoder&) {
    row_list rows(tag_and_length());
    add_head(rows, lower_hex, 2, d);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorContent::Item& item, text_decoder&) {
    static const field_list fields("CONTENT_NIBBLE_LEVEL_1,CONTENT_NIBBLE_LEVEL_2,USER_NIBBLE1,USER_NIBBLE2");
    row_list rows(fields);
    rows.add(decimal(item.content_nibble_level1));
    rows.add(decimal(item.content_nibble_level2));
    rows.add(decimal(item.user_nibble1));
    rows.add(decimal(item.user_nibble2));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorLocalTimeOffset& d, text_decoder&) {
    row_list rows(tag_and_length());
    add_head(rows, lower_hex, 4, d);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorLocalTimeOffset::Offset& offset, text_decoder&) {
    static const field_list fields(
        "COUNTRY_CODE,COUNTRY_REGION_ID,LOCAL_TIME_OFFSET_POLARITY,LOCAL_TIME_OFFSET,TIME_OF_CHANGE,"
        "NEXT_TIME_OFFSET");
    row_list rows(fields);
    rows.add(shown_code(offset.country_code));
    rows.add(decimal(offset.country_region_id));
    rows.add(decimal(offset.local_time_offset_polarity));
    rows.add(hour_minute_text(offset.local_time_offset));
    rows.add(unpadded_time(offset.time_of_change));
    rows.add(hour_minute_text(offset.next_time_offset));
    return rows.take();
}

// The identifier and the additional information are shown empty.
std::vector<value_row> rows_of(const lib::DescriptorCopyright& d, text_decoder&) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,COPYRIGHT_IDENTIFIER,ADDITIONAL_COPYRIGHT_INFO");
    row_list rows(fields);
    add_head(rows, lower_hex, 4, d);
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorCAIdentifier& d, text_decoder&) {
    row_list rows(tag_and_length());
    add_head(rows, lower_hex, 4, d);
    return rows.take();
}

std::vector<value_row> rows_of(ca_system_id id, text_decoder&) {
    static const field_list fields("CA_SYSTEM_ID");
    row_list rows(fields);
    rows.add(lower_hex(static_cast<std::uint32_t>(*id.id), 4) + " - " +
             shown_name(lib::ca_system_name(*id.id)));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorAudioStream& d, text_decoder&) {
    static const field_list fields(
        "DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,FREE_FORMAT_FLAG,ID,LAYER,VARIABLE_RATE_AUDIO_INDICATOR");
    row_list rows(fields);
    add_head(rows, lower_hex, 4, d);
    rows.add(decimal(d.free_format_flag));
    rows.add(decimal(d.ID));
    rows.add(decimal(d.layer));
    rows.add(decimal(d.variable_rate_audio_indicator));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorSTD& d, text_decoder&) {
    static const field_list fields("DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,LEAK_VALID_FLAG");
    row_list rows(fields);
    add_head(rows, lower_hex, 4, d);
    rows.add(decimal(d.leak_valid_flag));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorPrivateDataIndicator& d, text_decoder&) {
    static const field_list fields("DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,PRIVATE_DATA_INDICATOR");
    row_list rows(fields);
    add_head(rows, lower_hex, 4, d);
    rows.add(decimal(d.private_data_indicator));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::DescriptorStreamIdentifier& d, text_decoder&) {
    static const field_list fields("DESCRIPTOR_TAG,DESCRIPTOR_LENGTH,COMPONENT_TAG");
    row_list rows(fields);
    add_head(rows, lower_hex, 4, d);
    rows.add(decimal(d.component_tag));
    return rows.take();
}

}  // namespace kestrel::views
