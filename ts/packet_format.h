#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "ts/packet.h"

namespace kestrel::ts {

// How a capture lays out its packets: each 188-byte packet sits in a unit of `stride`
// bytes, `prefix` bytes after the unit's start. Plain captures use 188-byte units;
// M2TS-style captures 192 (a 4-byte arrival time stamp before each packet); captures
// with Reed-Solomon parity 204 (16 bytes after each packet).
struct packet_format {
    std::size_t stride = packet_size;
    std::size_t prefix = 0;

    friend bool operator==(const packet_format&, const packet_format&) = default;
};

inline constexpr packet_format format_188{188, 0};
inline constexpr packet_format format_192{192, 4};
inline constexpr packet_format format_204{204, 0};

// Sync bytes this many units apart in a row confirm a packet layout (fewer where the data ends).
inline constexpr int sync_run = 5;

// The layout of the packets in the first bytes of a capture: the one whose sync bytes repeat
// at its stride from the earliest position. Nothing when no layout fits (no transport stream).
std::optional<packet_format> detect_packet_format(std::span<const std::uint8_t> data);

// The sync bytes in a row at q, q + stride, ... (counted up to `run`), and whether the data
// ended before the run did; `whole` tells whether the packet at q lies entirely in the data.
struct sync_run_result {
    int count = 0;
    bool reached_end = false;
    bool whole = false;
};
sync_run_result sync_run_at(std::span<const std::uint8_t> data, std::size_t q, std::size_t stride, int run);

}  // namespace kestrel::ts
