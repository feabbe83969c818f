#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>

#include "ts/packet_scanner.h"
#include "ts/section_assembler.h"
#include "ts/section_sink.h"

namespace kestrel::ts {

struct extraction_stats {
    std::uint64_t packets = 0;
    std::uint64_t skipped_bytes = 0;  // bytes passed over while regaining sync
    std::uint64_t sync_losses = 0;
    std::uint64_t truncated_bytes = 0;     // an incomplete packet at the end
    section_assembler::counters sections;  // summed over the selected PIDs
};

// Extracts the sections of the selected PIDs from a capture in one pass: splits it into
// packets, passes over packets of other PIDs after a look at their header, and assembles
// sections per PID. PIDs may be selected while extraction runs (from the sink, say, when a
// PAT names PMT PIDs); they take effect from the next packet.
class section_extractor {
  public:
    section_extractor();
    section_extractor(const section_extractor&) = delete;
    section_extractor& operator=(const section_extractor&) = delete;
    ~section_extractor();

    void select_pid(std::uint16_t pid);
    void select_all_pids();
    bool selected(std::uint16_t pid) const { return selected_[pid & (pid_count - 1)] != 0; }

    // Starts a capture with the given packet layout: sync and sections in progress are forgotten.
    void start(packet_format format);

    // Extracts from the next bytes of the capture (see packet_scanner::scan); returns the bytes
    // consumed, the rest to be offered again in front of the next bytes.
    std::size_t feed(std::span<const std::uint8_t> data, bool final, section_sink sink);

    extraction_stats stats() const;

  private:
    section_assembler& assembler(std::uint16_t pid);

    packet_scanner scanner_;
    std::array<std::uint8_t, pid_count> selected_{};
    // Made on the first packet of a selected PID and kept: one section buffer per PID.
    std::array<std::unique_ptr<section_assembler>, pid_count> assemblers_;
};

// One pass over a capture file: opens it, detects its layout, feeds it block by block.
// Returns an empty string, or a one-line reason naming the file.
std::string extract_sections(const std::string& path, section_extractor& extractor, section_sink sink);

}  // namespace kestrel::ts
