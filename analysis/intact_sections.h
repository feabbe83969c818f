#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::analysis {

// The CRC check of sections, skipped for a copy byte for byte equal to one found intact
// before: signalling repeats mostly unchanged, and comparing costs less than the CRC. Each
// of a fixed number of slots keeps the last intact section whose header and CRC_32 field
// hash to it, within a byte budget, so memory stays bounded whatever the stream carries.
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
    static constexpr std::size_t slot_count = 4096;
    static constexpr std::size_t byte_budget = std::size_t{4} << 20;

    void keep(std::vector<std::uint8_t>& slot, std::span<const std::uint8_t> section);

    std::vector<std::vector<std::uint8_t>> slots_;  // made at the first section with a CRC
    std::size_t kept_bytes_ = 0;                    // the slots' capacities
};

}  // namespace kestrel::analysis
