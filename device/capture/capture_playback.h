#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "ts/capture_file.h"
#include "ts/packet_scanner.h"

namespace kestrel {

// One capture as a card plays it: from where it stands, a stretch at a time, starting
// again from its beginning at its end. Packets are seen whole, in order, sync regained
// where it is lost.
class capture_playback {
  public:
    // Opens the capture and detects its packet layout: "" or a one-line reason naming it.
    std::string open(const std::string& path);

    const std::string& path() const { return path_; }
    std::uint64_t size() const { return file_.size(); }
    const ts::packet_format& format() const { return file_.format(); }
    std::uint64_t skipped_bytes() const { return skipped_total_ + scanner_.skipped_bytes(); }

    struct step {
        std::size_t bytes = 0;  // capture bytes played
        bool looped = false;    // the capture ended and starts again from its beginning
    };
    // Plays about `max_bytes` (more where a packet or a resync needs them), handing the
    // 188 bytes of every packet to on_packet, which may return false to end the step after
    // its packet.
    template <class OnPacket>
    step play(std::size_t max_bytes, OnPacket&& on_packet) {
        if (!have_block_) {
            block_ = file_.next(0);
            pos_ = 0;
            have_block_ = true;
        }
        const std::size_t available = block_.data.size() - pos_;
        const std::size_t offer = want_all_ ? available : std::min(available, max_bytes);
        const bool final = block_.last && offer == available;
        bool stopped = false;
        const std::size_t used =
            scanner_.scan(block_.data.data() + pos_, offer, final, [&](const std::uint8_t* p) {
                stopped = !on_packet(p);
                return !stopped;
            });
        pos_ += used;
        want_all_ = false;
        if (stopped && used < available) return {used, false};
        if (final) {
            loop();
            return {used, true};
        }
        if (offer == available) {
            block_ = file_.next(pos_);
            pos_ = 0;
        } else if (used < offer) {
            want_all_ = true;  // the scanner needs to see further ahead
        }
        return {used, false};
    }

  private:
    void loop();

    std::string path_;
    ts::capture_file file_;
    ts::packet_scanner scanner_;
    ts::capture_file::block block_;
    std::size_t pos_ = 0;
    bool have_block_ = false;
    bool want_all_ = false;
    std::uint64_t skipped_total_ = 0;
};

}  // namespace kestrel
