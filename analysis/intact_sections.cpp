#include "analysis/intact_sections.h"

#include <algorithm>
#include <cstring>

#include "lib13818/core/crc32.h"

namespace kestrel::analysis {

namespace {

constexpr std::uint8_t tot_table_id = 0x73;
// The section header up to last_section_number, and the CRC_32 field.
constexpr std::size_t head_size = 8;
constexpr std::size_t crc_size = 4;

std::uint64_t hash_of(std::span<const std::uint8_t> s) {
    std::uint64_t head = 0;
    std::uint32_t tail = 0;
    std::memcpy(&head, s.data(), head_size);
    std::memcpy(&tail, s.data() + s.size() - crc_size, crc_size);
    return (head ^ std::uint64_t{tail} << 17) * 0x9E3779B97F4A7C15u;
}

}  // namespace

bool intact_sections::intact(std::span<const std::uint8_t> s) {
    const bool has_crc = (s[1] & 0x80) != 0 || s[0] == tot_table_id;
    if (!has_crc) return true;
    if (s.size() < head_size + crc_size || s.size() > UINT16_MAX)
        return lib13818::crc32(s.data(), s.size()) == 0;
    if (!sets_) sets_ = std::make_unique<set[]>(set_count);
    const std::uint64_t h = hash_of(s);
    set& candidates = sets_[(h >> 20) & (set_count - 1)];
    const std::uint32_t tag = static_cast<std::uint32_t>(h >> 32) | 1;
    for (std::uint8_t i = 0; i < 2; ++i) {
        const entry& e = candidates.entries[i];
        if (e.tag == tag && e.size == s.size() &&
            std::memcmp(arena_.data() + e.offset, s.data(), s.size()) == 0) {
            candidates.recent = i;
            return true;
        }
    }
    if (lib13818::crc32(s.data(), s.size()) != 0) return false;
    const std::uint8_t older = candidates.recent ^ 1;
    keep(candidates.entries[older], tag, s);
    candidates.recent = older;
    return true;
}

void intact_sections::keep(entry& e, std::uint32_t tag, std::span<const std::uint8_t> s) {
    if (s.size() > e.room) {
        if (arena_.size() + s.size() > arena_size) forget_all();
        const std::size_t end = arena_.size() + s.size();
        // Grown by hand, so that the arena never holds more than its bound.
        if (end > arena_.capacity())
            arena_.reserve(std::min(arena_size, std::max(end, 2 * arena_.capacity())));
        e.offset = static_cast<std::uint32_t>(arena_.size());
        e.room = static_cast<std::uint16_t>(s.size());
        arena_.resize(end);
    }
    std::memcpy(arena_.data() + e.offset, s.data(), s.size());
    e.tag = tag;
    e.size = static_cast<std::uint16_t>(s.size());
}

void intact_sections::forget_all() {
    std::fill_n(sets_.get(), set_count, set{});
    arena_.clear();
}

}  // namespace kestrel::analysis
