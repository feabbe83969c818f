#include "lib13818/names/registry.h"
#include "views/display_text.h"
#include "views/row_builders.h"
#include "views/row_list.h"
#include "views/text_format.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

template <class Table>
std::string table_id_text(const Table& table) {
    return format("%02x : %s", static_cast<unsigned>(table.table_id), table.name());
}

std::string hex4(std::int32_t v) {
    return format("%04x", static_cast<unsigned>(v));
}
std::string crc(std::uint32_t v) {
    return format("%08x", v);
}

}  // namespace

std::vector<value_row> rows_of(const lib::Nit& nit, text_decoder&) {
    static const field_list fields(
        "TABLE_ID,SECTION_SYNTAX_INDICATOR,RESERVED_FUTURE_USE,RESERVED,SECTION_LENGTH,NETWORK_ID,RESERVED,"
        "VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,LAST_SECTION_NUMBER,RESERVED_FUTURE_USE,"
        "NETWORK_DESCRIPTORS_LEN,RESERVED_FUTURE_USE,TRANSPORT_STREAM_LOOP_LENGTH,CRC_32");
    row_list rows(fields);
    rows.add(table_id_text(nit));
    rows.add_na();
    rows.add_na();
    rows.add_na();
    rows.add(decimal(nit.section_length));
    rows.add(hex4(nit.table_id_extension) + " - " +
             shown_name(lib::original_network_name(nit.table_id_extension)));
    rows.add_na();
    rows.add(decimal(nit.version_number));
    rows.add(decimal(nit.current_next_indicator));
    rows.add(decimal(nit.section_number));
    rows.add(decimal(nit.last_section_number));
    for (int i = 0; i < 4; ++i)
        rows.add_na();
    rows.add(crc(nit.CRC_32));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::NitTransportStream& ts, text_decoder&) {
    static const field_list fields(
        "TRANSPORT_STREAM_ID,ORIGINAL_NETWORK_ID,RESERVED_FUTURE_USE,TRANSPORT_DESCRIPTORS_LENGTH");
    row_list rows(fields);
    rows.add(hex4(ts.transport_stream_id));
    rows.add(hex4(ts.original_network_id));
    rows.add_na();
    rows.add_na();
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Sdt& sdt, text_decoder&) {
    static const field_list fields(
        "TABLE_ID,SECTION_SYNTAX_INDICATOR,RESERVED_FUTURE_USE,RESERVED,SECTION_LENGTH,TRANSPORT_STREAM_ID,"
        "RESERVED,VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,LAST_SECTION_NUMBER,ORIGINAL_NETWORK_"
        "ID,"
        "RESERVED_FUTURE_USE,CRC_32");
    row_list rows(fields);
    rows.add(table_id_text(sdt));
    rows.add_na();
    rows.add_na();
    rows.add_na();
    rows.add(decimal(sdt.section_length));
    rows.add(hex4(sdt.table_id_extension));
    rows.add_na();
    rows.add(decimal(sdt.version_number));
    rows.add(decimal(sdt.current_next_indicator));
    rows.add(decimal(sdt.section_number));
    rows.add(decimal(sdt.last_section_number));
    rows.add(hex4(sdt.original_network_id));
    rows.add_na();
    rows.add(crc(sdt.CRC_32));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::SdtService& service, text_decoder&) {
    static const field_list fields(
        "SERVICE_ID,RESERVED_FUTURE_USE,EIT_SCHEDULE_FLAG,EIT_PRESENT_FOLLOWING_FLAG,RUNNING_STATUS,FREE_CA_"
        "MODE,"
        "DESCRIPTORS_LOOP_LENGTH");
    row_list rows(fields);
    rows.add(format("%04X", static_cast<unsigned>(service.service_id)));
    rows.add_na();
    rows.add(decimal(service.EIT_schedule_flag));
    rows.add(decimal(service.EIT_present_following_flag));
    rows.add(decimal(service.running_status));
    rows.add(decimal(service.free_CA_mode));
    rows.add_na();
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Bat& bat, text_decoder&) {
    static const field_list fields(
        "TABLE_ID,SECTION_LENGTH,BOUQUET_ID,VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,CRC32");
    row_list rows(fields);
    rows.add(table_id_text(bat));
    rows.add(decimal(bat.section_length));
    rows.add(decimal(bat.table_id_extension));
    rows.add(decimal(bat.version_number));
    rows.add(decimal(bat.current_next_indicator));
    rows.add(decimal(bat.section_number));
    rows.add(crc(bat.CRC_32));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Eit& eit, text_decoder&) {
    static const field_list fields(
        "TABLE_ID,SECTION_LENGTH,SERVICE_ID,VERSION_NUMBER,CURRENT_NEXT_INDICATOR,SECTION_NUMBER,"
        "LAST_SECTION_NUMBER,TRANSPORT_STREAM_ID,ORIGINAL_NETWORK_ID,LAST_TABLE_ID,CRC_32");
    row_list rows(fields);
    rows.add(table_id_text(eit));
    rows.add(decimal(eit.section_length));
    rows.add(hex4(eit.table_id_extension));
    rows.add(decimal(eit.version_number));
    rows.add(decimal(eit.current_next_indicator));
    rows.add(decimal(eit.section_number));
    rows.add(decimal(eit.last_section_number));
    rows.add(hex4(eit.transport_stream_id));
    rows.add(hex4(eit.original_network_id));
    rows.add(decimal(eit.last_table_id));
    rows.add(crc(eit.CRC_32));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::EitEvent& event, text_decoder&) {
    static const field_list fields("EVENT_ID,START_TIME,DURATION,RUNNING_STATUS,FREE_CA_MODE");
    row_list rows(fields);
    rows.add(hex4(event.event_id));
    rows.add(padded_time(event.start_time));
    rows.add(duration_text(event.duration));
    rows.add(decimal(event.running_status));
    rows.add(decimal(event.free_CA_mode));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Rst& rst, text_decoder&) {
    static const field_list fields("TABLE_ID,SECTION_LENGTH");
    row_list rows(fields);
    rows.add(table_id_text(rst));
    rows.add(decimal(rst.section_length));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::RstEntry& entry, text_decoder&) {
    static const field_list fields(
        "TRANSPORT_STREAM_ID,ORIGINAL_NETWORK_ID,SERVICE_ID,EVENT_ID,RUNNING_STATUS");
    row_list rows(fields);
    rows.add(hex4(entry.transport_stream_id));
    rows.add(hex4(entry.original_network_id));
    rows.add(hex4(entry.service_id));
    rows.add(hex4(entry.event_id));
    rows.add(decimal(entry.running_status));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Tdt& tdt, text_decoder&) {
    static const field_list fields("TABLE_ID,SECTION_LENGTH,UTC_TIME");
    row_list rows(fields);
    rows.add(table_id_text(tdt));
    rows.add(decimal(tdt.section_length));
    rows.add(unpadded_time(tdt.UTC_time));
    return rows.take();
}

std::vector<value_row> rows_of(const lib::Tot& tot, text_decoder&) {
    static const field_list fields("TABLE_ID,SECTION_LENGTH,UTC_TIME,CRC_32");
    row_list rows(fields);
    rows.add(table_id_text(tot));
    rows.add(decimal(tot.section_length));
    rows.add(unpadded_time(tot.UTC_time));
    rows.add(crc(tot.CRC_32));
    return rows.take();
}

}  // namespace kestrel::views
