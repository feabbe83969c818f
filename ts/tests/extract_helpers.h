#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <utility>
#include <vector>

#include "lib13818/core/crc32.h"
#include "ts/section_extractor.h"
#include "ts/stream_builder.h"

namespace kestrel::ts::testing {

using bytes = std::vector<std::uint8_t>;
using pid_section = std::pair<std::uint16_t, bytes>;

// A sealed long-form section of `size` bytes (12 at least) with a recognisable body.
inline bytes make_section(std::uint8_t table_id, std::size_t size, std::uint8_t section_number = 0) {
    bytes s(size, 0);
    const std::size_t length = size - 3;
    s[0] = table_id;
    s[1] = static_cast<std::uint8_t>(0xB0 | (length >> 8));
    s[2] = static_cast<std::uint8_t>(length);
    s[3] = 0x12;
    s[4] = 0x34;
    s[5] = 0xC1;
    s[6] = section_number;
    for (std::size_t i = 8; i + 4 < size; ++i)
        s[i] = static_cast<std::uint8_t>(i * 7 + section_number);
    lib13818::seal_section(s);
    return s;
}

// Offers the capture to consume(pending, final) in blocks of `block` bytes (0: all at once),
// each behind the bytes the last call left over (consume returns how many it used), the way
// a file reader hands them over.
template <class Consume>
void in_blocks(std::span<const std::uint8_t> capture, std::size_t block, Consume&& consume) {
    bytes pending;
    std::size_t at = 0;
    do {
        const std::size_t n = block == 0 ? capture.size() : std::min(block, capture.size() - at);
        pending.insert(pending.end(), capture.begin() + static_cast<std::ptrdiff_t>(at),
                       capture.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
        const std::size_t used = consume(std::span<const std::uint8_t>(pending), at == capture.size());
        pending.erase(pending.begin(),
                      pending.begin() + static_cast<std::ptrdiff_t>(std::min(used, pending.size())));
    } while (at < capture.size());
}

// Every section the extractor finds on the given PIDs of a capture held in memory, fed in
// blocks of `block` bytes (0: all at once).
inline std::vector<pid_section> extract(std::span<const std::uint8_t> capture,
                                        std::initializer_list<std::uint16_t> pids,
                                        extraction_stats* stats = nullptr, std::size_t block = 0) {
    std::vector<pid_section> found;
    section_extractor extractor;
    for (std::uint16_t pid : pids)
        extractor.select_pid(pid);
    extractor.start(detect_packet_format(capture).value_or(format_188));
    const auto sink = [&](std::uint16_t pid, std::span<const std::uint8_t> s) {
        found.emplace_back(pid, bytes(s.begin(), s.end()));
    };
    in_blocks(capture, block, [&](std::span<const std::uint8_t> pending, bool final) {
        return extractor.feed(pending, final, sink);
    });
    if (stats) *stats = extractor.stats();
    return found;
}

}  // namespace kestrel::ts::testing
