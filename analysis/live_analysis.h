#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <vector>

#include "analysis/report.h"
#include "analysis/stream_analyser.h"
#include "ts/packet_scanner.h"

namespace kestrel::analysis {

// A stream analysis fed from a card's delivery thread while other threads look at it.
// Each delivered chunk goes in under one lock; a snapshot copies the analyser under that lock
// and finishes the copy outside it, so the delivery thread never waits for a report to be
// built, only for a copy to be made.
class live_analysis {
  public:
    explicit live_analysis(const analysis_options& options);
    live_analysis(const live_analysis&) = delete;
    live_analysis& operator=(const live_analysis&) = delete;

    // The next bytes of the stream (188-byte packets); a packet split between two chunks is
    // joined, and bytes out of sync are counted as the capture analysis counts them. With
    // `after_loss` the card lost data just before these bytes (its demux buffer ran over):
    // a continuity error on the first packet of a PID after that is marked as inside the loss.
    void push(std::span<const std::uint8_t> bytes, bool after_loss = false);
    // The report on what has come so far; the analysis goes on.
    analysis_report snapshot() const;
    // True once the packets past options.seconds have come: the rest is not needed.
    bool complete() const { return complete_.load(std::memory_order_relaxed); }
    // The bytes pushed so far.
    std::uint64_t bytes() const { return bytes_.load(std::memory_order_relaxed); }

  private:
    mutable std::mutex mutex_;
    std::unique_ptr<stream_analyser> analyser_;  // megabytes of per-PID state: never on a stack
    ts::packet_scanner scanner_;
    std::vector<std::uint8_t> pending_;  // the bytes the scanner left for the next chunk
    // The losses the card reported, and for each PID the last of them it has been seen after.
    std::uint32_t losses_ = 0;
    std::vector<std::uint32_t> seen_after_loss_;
    std::vector<std::uint64_t> first_after_loss_;  // packet numbers, in order; bounded
    std::atomic<bool> complete_{false};
    std::atomic<std::uint64_t> bytes_{0};
};

}  // namespace kestrel::analysis
