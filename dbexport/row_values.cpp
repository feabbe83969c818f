#include "dbexport/row_values.h"

#include <algorithm>
#include <cmath>
#include <string_view>
#include <vector>

namespace kestrel::dbexport {

namespace {

constexpr std::size_t private_bytes_kept = 85;

const lib13818::Pmt* first_pmt(const Transponder& transponder, std::int32_t program_number) {
    for (const lib13818::Pmt& pmt : transponder.PMTs)
        if (pmt.table_id_extension == program_number) return &pmt;
    return nullptr;
}

const lib13818::SdtService* sdt_service(const Transponder& transponder, std::int32_t onid, std::int32_t tsid,
                                        std::int32_t service_id) {
    const auto network = transponder.sdt_actual.find(onid);
    if (network == transponder.sdt_actual.end()) return nullptr;
    const auto stream = network->second.find(tsid);
    if (stream == network->second.end()) return nullptr;
    const lib13818::SdtService* found = nullptr;
    for (const auto& [number, sdt] : stream->second)
        for (const lib13818::SdtService& service : sdt.services)
            if (service.service_id == service_id) found = &service;
    return found;
}

// The PID of the first elementary stream of either type.
std::int64_t first_stream(const lib13818::Pmt& pmt, std::int32_t type_a, std::int32_t type_b) {
    for (const lib13818::ElementaryStream& stream : pmt.streams)
        if (stream.stream_type == type_a || stream.stream_type == type_b) return stream.elementary_PID;
    return no_pid;
}

}  // namespace

std::int64_t frequency_mhz(double ghz) {
    return std::llround(ghz * 1000.0);
}

std::int64_t symbol_rate_msymbols(double msymbols) {
    return std::llround(msymbols * 1000.0) / 1000;
}

std::string private_bytes_text(const std::vector<std::uint8_t>& bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const std::size_t count = std::min(bytes.size(), private_bytes_kept);
    std::string text;
    text.reserve(count * 3);
    for (std::size_t i = 0; i < count; ++i) {
        text += digits[bytes[i] >> 4];
        text += digits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

std::string registry_text(const char* latin1, lib13818::dvb_text_decoder& text) {
    static const std::string iso_8859_1_selector("\x10\x00\x01", 3);
    return text.to_utf8(lib13818::DvbString{latin1, iso_8859_1_selector});
}

lib13818::dvb_text_decoder network_text_decoder(const Network& network) {
    std::vector<std::string_view> selectorless;
    const auto add = [&](const std::string& name) {
        if (!name.empty() && static_cast<unsigned char>(name[0]) >= 0x20) selectorless.push_back(name);
    };
    for (const auto& [tsid, transponder] : network.transponders)
        for (const auto& [onid, streams] : transponder.sdt_actual)
            for (const auto& [stream, sections] : streams)
                for (const auto& [number, sdt] : sections)
                    for (const lib13818::SdtService& service : sdt.services)
                        for (const lib13818::DescriptorService& names : service.service) {
                            add(names.service_name);
                            add(names.provider_name);
                        }
    return lib13818::dvb_text_decoder(lib13818::guess_default_charset(selectorless));
}

service_values describe_service(const lib13818::PatProgram& program, const Transponder& transponder,
                                std::int32_t onid, std::int32_t tsid, lib13818::dvb_text_decoder& text) {
    service_values row;
    row.sid = program.program_number;
    row.pmt_pid = program.PID;
    if (const lib13818::SdtService* service = sdt_service(transponder, onid, tsid, program.program_number)) {
        row.free_ca = service->free_CA_mode;
        row.eit_schedule = service->EIT_schedule_flag;
        row.eit_present_following = service->EIT_present_following_flag;
        if (!service->service.empty()) {
            const lib13818::DescriptorService& names = service->service.front();
            row.service_name = text.to_utf8(names.service_name);
            row.provider_name = text.to_utf8(names.provider_name);
            row.type = names.service_type;
        }
    }
    row.pmt = first_pmt(transponder, program.program_number);
    if (row.pmt != nullptr) {
        row.vpid = first_stream(*row.pmt, 0x01, 0x02);
        row.apid = first_stream(*row.pmt, 0x03, 0x04);
        row.pcr = row.pmt->PCR_PID;
    }
    return row;
}

}  // namespace kestrel::dbexport
