#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace kestrel::analysis {

// The CRC check of sections, skipped for a copy byte for byte equal to one found intact
// before: signalling repeats mostly unchanged, and comparing costs less than the CRC. A
// section's header and CRC_32 field choose a set of two entries, so that two sections that
// hash alike both stay kept; a miss replaces the entry used less recently. The kept bytes lie
// in one arena of bounded size: when it is full, everything kept is forgotten and filled
// again, so memory stays bounded whatever the stream carries.
class intact_sections {
  public:
    intact_sections() = default;
    // A copy starts with nothing kept: the kept sections only save work, and a copy of the
    // analyser is mostly finished, not read on.
    intact_sections(const intact_sections&) {}
    intact_sections& operator=(const intact_sections& other) {
        if (this != &other) *this = intact_sections();
        return *this;
    }
    intact_sections(intact_sections&&) = default;
    intact_sections& operator=(intact_sections&&) = default;

    // Whether the section is intact: it carries no CRC_32 (short form, except the TOT), or
    // its CRC over the whole section gives 0.
    bool intact(std::span<const std::uint8_t> section);

  private:
    static constexpr std::size_t set_count = 4096;
    static constexpr std::size_t arena_size = std::size_t{4} << 20;

    struct entry {
        std::uint32_t tag = 0;  // the upper half of the hash, 0 for an empty entry
        std::uint32_t offset = 0;
        std::uint16_t size = 0;
        std::uint16_t room = 0;  // the bytes the entry owns in the arena
    };
    struct set {
        std::array<entry, 2> entries;
        std::uint8_t recent = 0;  // the entry last found or kept
    };

    void keep(entry& e, std::uint32_t tag, std::span<const std::uint8_t> section);
    void forget_all();

    std::unique_ptr<set[]> sets_;  // made at the first section with a CRC
    std::vector<std::uint8_t> arena_;
};

}  // namespace kestrel::analysis
