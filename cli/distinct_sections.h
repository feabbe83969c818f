#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrel::cli {

// One distinct section of a capture: its first occurrence and how often it was seen.
struct distinct_section {
    std::uint16_t pid = 0;
    std::vector<std::uint8_t> bytes;
    std::size_t seen = 0;
    bool crc_failed = false;
};

// The distinct sections of a capture as they arrive, in order of first appearance. A repeat
// is found by comparing its bytes with the stored copy; only a new section is copied and has
// its CRC checked (a repeat's bytes, and so its CRC check, are the stored copy's).
class distinct_sections {
  public:
    struct occurrence {
        std::size_t index = 0;  // into list()
        bool added = false;     // the section was new
    };
    occurrence add(std::uint16_t pid, std::span<const std::uint8_t> section);

    const std::vector<distinct_section>& list() const { return list_; }
    std::vector<distinct_section> take() { return std::move(list_); }
    // Occurrences whose CRC check failed.
    std::size_t crc_failures() const { return crc_failures_; }

  private:
    // An open-addressed table of the sections' hashes, at most half full: a lookup is mostly
    // one slot and one comparison of bytes.
    struct slot {
        std::uint64_t hash = 0;
        std::size_t index = 0;  // into list_, plus one; 0 for an empty slot
    };
    void grow();

    std::vector<distinct_section> list_;
    std::vector<slot> slots_ = std::vector<slot>(64);
    std::size_t crc_failures_ = 0;
};

}  // namespace kestrel::cli
