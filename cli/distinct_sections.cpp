#include "cli/distinct_sections.h"

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
    if (s.size() >= sizeof head) {
        std::memcpy(&head, s.data(), sizeof head);
        std::memcpy(&tail, s.data() + s.size() - sizeof tail, sizeof tail);
    } else {
        std::memcpy(&head, s.data(), s.size());  // the whole of a section this short
    }
    const std::uint64_t h = (head ^ (std::uint64_t{tail} << 13 | pid)) * 0x9E3779B97F4A7C15u;
    return h ^ (h >> 32);
}

bool same(const distinct_section& d, std::uint16_t pid, std::span<const std::uint8_t> s) {
    return d.pid == pid && d.bytes.size() == s.size() && std::memcmp(d.bytes.data(), s.data(), s.size()) == 0;
}

}  // namespace

distinct_sections::occurrence distinct_sections::add(std::uint16_t pid,
                                                     std::span<const std::uint8_t> section) {
    const std::uint64_t hash = section_hash(pid, section);
    const std::size_t mask = slots_.size() - 1;
    std::size_t at = hash & mask;
    for (; slots_[at].index != 0; at = (at + 1) & mask) {
        if (slots_[at].hash != hash) continue;
        const std::size_t index = slots_[at].index - 1;
        distinct_section& d = list_[index];
        if (!same(d, pid, section)) continue;
        ++d.seen;
        crc_failures_ += d.crc_failed ? 1 : 0;
        return {index};
    }
    const bool failed = crc_failed(section);
    crc_failures_ += failed ? 1 : 0;
    list_.push_back({pid, {section.begin(), section.end()}, 1, failed});
    slots_[at] = {hash, list_.size()};
    if (2 * list_.size() > slots_.size()) grow();
    return {list_.size() - 1, true};
}

void distinct_sections::grow() {
    std::vector<slot> old(slots_.size() * 2);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const slot& s : old) {
        if (s.index == 0) continue;
        std::size_t at = s.hash & mask;
        while (slots_[at].index != 0)
            at = (at + 1) & mask;
        slots_[at] = s;
    }
}

}  // namespace kestrel::cli
