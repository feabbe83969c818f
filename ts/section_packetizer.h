#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace kestrel::ts {

// Cuts sections into packet payloads, the inverse of section_assembler: a pointer field in
// every packet where a section starts, sections running on across packets, 0xFF stuffing
// after the last one.
class section_packetizer {
  public:
    enum class packing {
        packed,          // the next section starts right after the previous one
        one_per_packet,  // every section starts a packet of its own
    };

    explicit section_packetizer(packing mode = packing::packed) : mode_(mode) {}

    void add(std::span<const std::uint8_t> section);
    // True when every byte added has gone into a payload.
    bool empty() const { return queue_.empty(); }

    // Fills one packet's payload (rest stuffed with 0xFF) and returns whether a section
    // starts in it, i.e. the packet's payload_unit_start_indicator.
    bool next_payload(std::span<std::uint8_t> payload);

  private:
    // Copies from the current section; true when it is finished.
    bool copy(std::uint8_t* out, std::size_t room, std::size_t& written);

    packing mode_;
    std::deque<std::vector<std::uint8_t>> queue_;
    std::size_t offset_ = 0;  // bytes of the front section already sent
};

}  // namespace kestrel::ts
