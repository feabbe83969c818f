#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace kestrel {

// How the delivery thread cuts what one read of a demux descriptor returned into the
// deliveries of a filter sink: one whole section a call, or whole 188-byte packets.
using delivery = std::function<void(const std::uint8_t* data, std::size_t size)>;

// Hands on each whole section of `bytes` alone (a read may return several). Gives the size
// of a tail that is no whole section, which is dropped.
std::size_t deliver_sections(std::span<const std::uint8_t> bytes, const delivery& deliver);

// Hands on the whole packets of `pending` followed by `bytes` in one call; a partial packet
// at the end stays in `pending` for the next read.
void deliver_packets(std::vector<std::uint8_t>& pending, std::span<const std::uint8_t> bytes,
                     const delivery& deliver);

}  // namespace kestrel
