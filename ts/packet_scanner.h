#pragma once

#include <cstddef>
#include <cstdint>
#include <type_traits>

#include "ts/packet_format.h"

namespace kestrel::ts {

// Splits a capture's bytes into packets, block by block. Each block starts at a unit start
// (the first one at the start of the capture, later ones where the previous `scan` stopped).
// A unit whose sync byte is missing means lost sync: the scanner skips to the next run of
// sync bytes at the format's stride, counting the skipped bytes, and goes on from there.
class packet_scanner {
  public:
    explicit packet_scanner(packet_format format = format_188) : format_(format) {}

    // Hands the 188 bytes of every whole packet in data[0, size) to on_packet, in order, and
    // returns the bytes consumed. The rest (a part unit, or bytes where sync is not yet
    // confirmed) must be offered again at the start of the next block. With `final` the data
    // ends the capture: every whole packet is taken, and what remains is a truncated packet.
    // An on_packet that returns false stops the scan after that packet (and `final` does not
    // apply): the bytes consumed up to it are returned.
    template <class OnPacket>
    std::size_t scan(const std::uint8_t* data, std::size_t size, bool final, OnPacket&& on_packet) {
        std::size_t pos = 0;
        while (pos + (final ? format_.prefix + packet_size : format_.stride) <= size) {
            const std::uint8_t* p = data + pos + format_.prefix;
            if (*p != sync_byte || searching_) {
                const resync_result r = resync(data, size, pos, final);
                pos = r.pos;
                if (!r.found) break;
                continue;
            }
            ++packets_;
            pos += format_.stride;
            if constexpr (std::is_same_v<decltype(on_packet(p)), bool>) {
                if (!on_packet(p)) return pos;
            } else {
                on_packet(p);
            }
        }
        if (!final) return pos;
        if (pos < size) end_of_capture(data, size, pos);
        return size;
    }

    const packet_format& format() const { return format_; }
    std::uint64_t packets() const { return packets_; }
    // Bytes skipped while regaining sync, and how often sync was lost.
    std::uint64_t skipped_bytes() const { return skipped_bytes_; }
    std::uint64_t sync_losses() const { return sync_losses_; }
    // Bytes of an incomplete last packet, after a final scan.
    std::uint64_t truncated_bytes() const { return truncated_bytes_; }

  private:
    struct resync_result {
        std::size_t pos = 0;  // the unit start found, or where the search resumes with more data
        bool found = false;
    };
    resync_result resync(const std::uint8_t* data, std::size_t size, std::size_t pos, bool final);
    // Counts the bytes after the last whole packet: a truncated packet, or bytes out of sync.
    void end_of_capture(const std::uint8_t* data, std::size_t size, std::size_t pos);

    packet_format format_;
    std::uint64_t packets_ = 0;
    std::uint64_t skipped_bytes_ = 0;
    std::uint64_t sync_losses_ = 0;
    std::uint64_t truncated_bytes_ = 0;
    bool searching_ = false;  // sync is lost and its next run not yet confirmed
};

}  // namespace kestrel::ts
