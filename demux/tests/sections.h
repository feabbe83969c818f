#pragma once

#include <cstdint>
#include <vector>

#include "lib13818/core/crc32.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::testing {

using encode::bytes;

inline bytes pat(std::uint16_t tsid, std::uint8_t number, std::uint8_t last, int programs = 1) {
    std::vector<encode::pat_program> loop;
    for (int p = 1; p <= programs; ++p)
        loop.push_back({static_cast<std::uint16_t>(p), 0x100});
    return encode::pat_section({0x00, tsid, 0, number, last}, loop);
}

inline bytes pmt(std::uint16_t program_number) {
    return encode::pmt_section({0x02, program_number, 0, 0, 0}, 0x100, {}, {});
}

inline bytes nit(std::uint8_t table_id, std::uint16_t network_id, std::uint8_t number, std::uint8_t last) {
    return encode::network_section({table_id, network_id, 0, number, last}, {}, {});
}

inline bytes sdt(std::uint8_t table_id, std::uint16_t onid, std::uint16_t tsid, std::uint8_t number,
                 std::uint8_t last) {
    return encode::sdt_section({table_id, tsid, 0, number, last}, onid, {});
}

// The NIT of the Linux virtual DVB adapter (vidtv), byte for byte: network 0xFF44
// "LinuxTV.org", one transport stream 0x4081 with a service list, version 31, and a
// transport_stream_loop_length of 6 (the entry's head) where the entry takes 11 bytes.
inline bytes vidtv_nit() {
    bytes section =
        encode::network_section({0x40, 0xFF44, 31, 0, 0}, encode::network_name_descriptor("LinuxTV.org"),
                                {{0x4081, 0xFF44, encode::service_list_descriptor({{0x0880, 0x02}})}});
    constexpr std::size_t loop_length = 8 + 2 + 13;  // header, first loop length, network name
    section[loop_length] = 0xF0;
    section[loop_length + 1] = 6;
    lib13818::seal_section(section);
    return section;
}

// An EIT section of one event; given a size, private descriptors fill the event up to it.
inline bytes eit(std::uint8_t table_id, std::uint16_t onid, std::uint16_t tsid, std::uint16_t sid,
                 std::uint8_t number, std::size_t size = 0) {
    constexpr std::size_t overhead = 8 + 6 + 12 + 4;  // header, EIT fields, event head, CRC_32
    bytes filler;
    for (std::size_t left = size > overhead ? size - overhead : 0; left > 0;) {
        const std::size_t body = std::min<std::size_t>(left - 2, 200);
        const bytes d = encode::descriptor(0x80, bytes(body, 0x20));
        filler.insert(filler.end(), d.begin(), d.end());
        left -= d.size();
    }
    return encode::eit_section({table_id, sid, 0, number, number}, {tsid, onid, number, table_id},
                               {{1, {}, 90, 1, false, filler}});
}

}  // namespace kestrel::testing
