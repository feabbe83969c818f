#include "analysis/intact_sections.h"

#include <cstring>

#include "lib13818/core/crc32.h"

namespace kestrel::analysis {

namespace {

constexpr std::uint8_t tot_table_id = 0x73;
// The section header up to last_section_number, and the CRC_32 field.
constexpr std::size_t head_size = 8;
constexpr std::size_t crc_size = 4;

std::size_t slot_of(std::span<const std::uint8_t> s, std::size_t slot_count) {
    std::uint64_t head = 0;
    std::uint32_t tail = 0;
    std::memcpy(&head, s.data(), head_size);
    std::memcpy(&tail, s.data() + s.size() - crc_size, crc_size);
    const std::uint64_t h = (head ^ std::uint64_t{tail} << 17) * 0x9E3779B97F4A7C15u;
    return static_cast<std::size_t>(h >> 32) & (slot_count - 1);
}

}  // namespace

bool intact_sections::intact(std::span<const std::uint8_t> s) {
    const bool has_crc = (s[1] & 0x80) != 0 || s[0] == tot_table_id;
    if (!has_crc) return true;
    if (s.size() < head_size + crc_size) return lib13818::crc32(s.data(), s.size()) == 0;
    if (slots_.empty()) slots_.resize(slot_count);
    std::vector<std::uint8_t>& slot = slots_[slot_of(s, slot_count)];
    if (slot.size() == s.size() && std::memcmp(slot.data(), s.data(), s.size()) == 0) return true;
    if (lib13818::crc32(s.data(), s.size()) != 0) return false;
    keep(slot, s);
    return true;
}

void intact_sections::keep(std::vector<std::uint8_t>& slot, std::span<const std::uint8_t> s) {
    if (s.size() > slot.capacity()) {
        if (kept_bytes_ - slot.capacity() + s.size() > byte_budget) return;
        kept_bytes_ -= slot.capacity();
        slot.reserve(s.size());
        kept_bytes_ += slot.capacity();
    }
    slot.assign(s.begin(), s.end());
}

}  // namespace kestrel::analysis
