#pragma once

// The values the export writes, computed from the scan result: units as the database
// keeps them, CA private bytes as text, and the columns of one service.

#include <cstdint>
#include <string>
#include <vector>

#include "lib13818/core/dvb_text.h"
#include "model/scan_result.h"

namespace kestrel::dbexport {

// The nearest MHz: 11.777999 GHz is 11778, not 11777 as truncation would give.
std::int64_t frequency_mhz(double ghz);
// Whole megasymbols per second, truncated once the rate is rounded to kilosymbols, so
// that 27.4999999 (27500 ksymbols/s read back in floating point) stays 27.
std::int64_t symbol_rate_msymbols(double msymbols);
// The first 85 private bytes, each as two upper-case hex digits and a blank; "" for none.
std::string private_bytes_text(const std::vector<std::uint8_t>& bytes);
// A registry name (single-byte ISO 8859-1 text) as UTF-8.
std::string registry_text(const char* latin1, lib13818::dvb_text_decoder& text);

// The text decoder for one network: its default table guessed from the network's service
// names that carry no character table selector.
lib13818::dvb_text_decoder network_text_decoder(const Network& network);

inline constexpr std::int64_t no_pid = 0x1FFF;
inline constexpr const char* not_in_sdt = "<service not in sdt>";

// The row of one PAT program of a transport stream; pmt points at the program's PMT in
// the transponder, or is null when it has none.
struct service_values {
    std::int64_t sid = 0;
    std::string service_name = not_in_sdt;
    std::string provider_name = not_in_sdt;
    std::int64_t type = -1;
    std::int64_t free_ca = -1;
    std::int64_t eit_schedule = -1;
    std::int64_t eit_present_following = -1;
    std::int64_t vpid = no_pid;
    std::int64_t apid = no_pid;
    std::int64_t pcr = no_pid;
    std::int64_t pmt_pid = 0;
    const lib13818::Pmt* pmt = nullptr;
};

// The program's first PMT, and its service in the actual SDT of onid/tsid (the last entry
// with its service_id over the sections in order).
service_values describe_service(const lib13818::PatProgram& program, const Transponder& transponder,
                                std::int32_t onid, std::int32_t tsid, lib13818::dvb_text_decoder& text);

}  // namespace kestrel::dbexport
