#include "cli/distinct_sections.h"

#include <algorithm>
#include <cstring>

#include "lib13818/core/crc32.h"

namespace kestrel::cli {

namespace {

constexpr std::uint8_t tot_table_id = 0x73;

// Long-form sections and the TOT end in a CRC_32; the CRC over such a section is 0.
bool crc_failed(std::span<const std::uint8_t> s) {
    const bool has_crc = (s[1] & 0x80) || s[0] == tot_table_id;
    return has_crc && lib13818::crc32(s.data(), s.size()) != 0;
}

// The header (table_id to section_number) and the last four bytes (a long-form section's
// CRC_32) tell sections apart well enough to leave one candidate to compare, mostly none.
std::uint64_t section_hash(std::uint16_t pid, std::span<const std::uint8_t> s) {
    std::uint64_t head = 0;
    std::uint32_t tail = 0;
    const std::size_t tail_size = std::min<std::size_t>(sizeof tail, s.size());
    std::memcpy(&head, s.data(), std::min<std::size_t>(sizeof head, s.size()));
    std::memcpy(&tail, s.data() + s.size() - tail_size, tail_size);
    std::uint64_t h = (head ^ (std::uint64_t{tail} << 13 | pid)) * 0x9E3779B97F4A7C15u;
    return h ^ (h >> 29);
}

}  // namespace

distinct_sections::occurrence distinct_sections::add(std::uint16_t pid,
                                                     std::span<const std::uint8_t> section) {
    const std::uint64_t hash = section_hash(pid, section);
    const auto [first, last] = by_hash_.equal_range(hash);
    for (auto it = first; it != last; ++it) {
        distinct_section& d = list_[it->second];
        if (d.pid == pid && d.bytes.size() == section.size() &&
            std::memcmp(d.bytes.data(), section.data(), section.size()) == 0) {
            ++d.seen;
            crc_failures_ += d.crc_failed ? 1 : 0;
            return {it->second};
        }
    }
    const bool failed = crc_failed(section);
    crc_failures_ += failed ? 1 : 0;
    list_.push_back({pid, {section.begin(), section.end()}, 1, failed});
    by_hash_.emplace(hash, list_.size() - 1);
    return {list_.size() - 1, true};
}

}  // namespace kestrel::cli
