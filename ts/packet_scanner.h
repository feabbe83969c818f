#pragma once

// The packet scanner: what it hands over, and when.
//
// A capture is a run of units of `format.stride` bytes, each holding one 188-byte packet
// `format.prefix` bytes after its start. The scanner walks the capture unit by unit and hands
// each packet it accepts to the caller's on_packet, in capture order, as a scanned_packet:
//   - bytes: the packet's 188 bytes; bytes[0] is its sync byte (wrong when flagged);
//   - prefix: the bytes before the packet in its unit (the 4-byte arrival time stamp of a
//     192-byte unit; empty for 188- and 204-byte units);
//   - number: 0 for the first packet handed over, then one more for each following packet,
//     across losses of sync too (skipped bytes are not numbered): packets() is the total;
//   - wrong_sync_byte: the packet was handed over although its first byte is not 0x47;
//   - sync_regained: the first packet after a loss of sync (skipped_bytes() and
//     sync_losses() already include that loss when on_packet sees it).
// Bytes passed over while sync is lost are never packets: each byte of a capture counts once,
// as part of a packet's unit, as a skipped byte, or as a truncated last packet (the parity
// of a 204-byte unit may be missing after the last packet).
//
// Two rules for wrong sync bytes:
//   - strict (section extraction, capture playback): sync is lost at the first wrong sync
//     byte; only packets that start with 0x47 are handed over. Sync is assumed at the start of
//     the capture, so bytes before the first packet count as a loss.
//   - hysteresis (stream analysis): sync is gained once five sync bytes follow each other at
//     the stride, lost after two wrong sync bytes in a row. While in sync every unit is handed
//     over, the first wrong sync byte flagged; the unit of the second one is not a packet:
//     the search for a new sync starts just after its wrong sync byte. Bytes before the first
//     packet of the capture are skipped, not counted as a loss.
// Either way a new sync is a run of five sync bytes at the stride (fewer where the capture
// ends), and the packets of that run are handed over.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <type_traits>

#include "ts/packet_format.h"

namespace kestrel::ts {

enum class sync_rule : std::uint8_t { strict, hysteresis };

struct scanned_packet {
    const std::uint8_t* bytes = nullptr;
    std::span<const std::uint8_t> prefix;
    std::uint64_t number = 0;
    bool wrong_sync_byte = false;
    bool sync_regained = false;
};

// Consecutive packets that needed no sync handling: `count` units of the format's stride from
// `units`, the first one numbered `first_number`.
struct packet_run {
    const std::uint8_t* units = nullptr;
    std::size_t count = 0;
    std::uint64_t first_number = 0;
};

// Splits a capture's bytes into packets, block by block. Each block starts at a unit start
// (the first one at the start of the capture, later ones where the previous `scan` stopped).
class packet_scanner {
  public:
    explicit packet_scanner(packet_format format = format_188, sync_rule rule = sync_rule::strict)
        : format_(format),
          rule_(rule),
          state_(rule == sync_rule::strict ? sync_state::in_sync : sync_state::acquiring) {}

    // Hands every packet of data[0, size) to on_packet, in order, and returns the bytes
    // consumed. on_packet takes the packet's bytes (const std::uint8_t*) or the whole
    // scanned_packet. The rest (a part unit, or bytes where sync is not yet confirmed) must be
    // offered again at the start of the next block. With `final` the data ends the capture:
    // every whole packet is taken, and what remains is a truncated packet. An on_packet that
    // returns false stops the scan after that packet (and `final` does not apply): the bytes
    // consumed up to it are returned.
    template <class OnPacket>
    std::size_t scan(const std::uint8_t* data, std::size_t size, bool final, OnPacket&& on_packet) {
        std::size_t pos = 0;
        while (pos + (final ? format_.prefix + packet_size : format_.stride) <= size) {
            const std::uint8_t* p = data + pos + format_.prefix;
            scanned_packet packet{p, {data + pos, format_.prefix}, packets_};
            if (*p != sync_byte || state_ != sync_state::in_sync) [[unlikely]] {
                const step s = irregular_unit(data, size, pos, final);
                if (!s.hand_over) {
                    pos = s.pos;
                    if (s.wait) break;
                    continue;
                }
                packet.wrong_sync_byte = s.wrong_sync_byte;
                packet.sync_regained = s.sync_regained;
            }
            ++packets_;
            pos += format_.stride;
            if (!hand_over(on_packet, packet)) return pos;
        }
        return consumed(data, size, pos, final);
    }

    // Like scan, for a caller that reads consecutive packets faster together: each stretch of
    // units that are in sync with a right sync byte (at most max_run) goes to
    // on_run(const packet_run&) at once, every other packet handed over goes to on_packet
    // alone, as scan gives it. Either may stop the scan by returning false, after that run or
    // packet.
    static constexpr std::size_t max_run = 64;
    template <class OnRun, class OnPacket>
    std::size_t scan_runs(const std::uint8_t* data, std::size_t size, bool final, OnRun&& on_run,
                          OnPacket&& on_packet) {
        const std::size_t unit = final ? format_.prefix + packet_size : format_.stride;
        std::size_t pos = 0;
        while (pos + unit <= size) {
            if (state_ == sync_state::in_sync) {
                // The units that start at most at `last` are whole and within the run's length.
                const std::size_t last = std::min(size - unit, pos + (max_run - 1) * format_.stride);
                std::size_t end = pos;
                while (end <= last && data[end + format_.prefix] == sync_byte)
                    end += format_.stride;
                if (end > pos) {
                    const packet_run run{data + pos, (end - pos) / format_.stride, packets_};
                    packets_ += run.count;
                    pos = end;
                    if (!go_on(on_run, run)) return pos;
                    continue;
                }
            }
            const step s = irregular_unit(data, size, pos, final);
            if (!s.hand_over) {
                pos = s.pos;
                if (s.wait) break;
                continue;
            }
            const scanned_packet packet{data + pos + format_.prefix,
                                        {data + pos, format_.prefix},
                                        packets_,
                                        s.wrong_sync_byte,
                                        s.sync_regained};
            ++packets_;
            pos += format_.stride;
            if (!hand_over(on_packet, packet)) return pos;
        }
        return consumed(data, size, pos, final);
    }

    const packet_format& format() const { return format_; }
    std::uint64_t packets() const { return packets_; }
    // Bytes skipped while gaining or regaining sync, and how often sync was lost.
    std::uint64_t skipped_bytes() const { return skipped_bytes_; }
    std::uint64_t sync_losses() const { return sync_losses_; }
    // Bytes of an incomplete last packet, after a final scan.
    std::uint64_t truncated_bytes() const { return truncated_bytes_; }

  private:
    enum class sync_state : std::uint8_t {
        in_sync,
        one_wrong,  // in sync after one wrong sync byte (hysteresis only)
        regained,   // the next unit is the first after a loss
        lost,
        acquiring,  // no sync yet at the start of the capture (hysteresis only)
    };
    // What to do with a unit off the fast path: hand it over with flags, or go on at `pos`
    // (with `wait`, once more data has come).
    struct step {
        bool hand_over = false;
        bool wrong_sync_byte = false;
        bool sync_regained = false;
        std::size_t pos = 0;
        bool wait = false;
    };
    step irregular_unit(const std::uint8_t* data, std::size_t size, std::size_t pos, bool final);
    // Looks for a run of sync bytes from `first` on, counting the bytes from `pos` as skipped.
    step search(const std::uint8_t* data, std::size_t size, std::size_t pos, std::size_t first, bool final);
    // The bytes a scan that ended at `pos` consumed: those before `pos`, or with `final` the
    // whole block.
    std::size_t consumed(const std::uint8_t* data, std::size_t size, std::size_t pos, bool final) {
        if (!final) return pos;
        if (pos < size) end_of_capture(data, size, pos);
        return size;
    }
    // Counts the bytes after the last whole packet: a truncated packet, or bytes out of sync.
    void end_of_capture(const std::uint8_t* data, std::size_t size, std::size_t pos);

    // Calls f(arg): true unless f returns false.
    template <class F, class Arg>
    static bool go_on(F& f, const Arg& arg) {
        if constexpr (std::is_same_v<std::invoke_result_t<F&, const Arg&>, bool>) {
            return f(arg);
        } else {
            f(arg);
            return true;
        }
    }
    template <class OnPacket>
    static bool hand_over(OnPacket& on_packet, const scanned_packet& packet) {
        if constexpr (std::is_invocable_v<OnPacket&, const std::uint8_t*>)
            return go_on(on_packet, packet.bytes);
        else
            return go_on(on_packet, packet);
    }

    packet_format format_;
    sync_rule rule_;
    sync_state state_;
    std::uint64_t packets_ = 0;
    std::uint64_t skipped_bytes_ = 0;
    std::uint64_t sync_losses_ = 0;
    std::uint64_t truncated_bytes_ = 0;
};

}  // namespace kestrel::ts
