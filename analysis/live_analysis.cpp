#include "analysis/live_analysis.h"

#include <algorithm>
#include <memory>

namespace kestrel::analysis {

namespace {
// As many packets as errors kept of one indicator, so that every kept one can be marked.
constexpr std::size_t max_marked_packets = 1000;
}  // namespace

live_analysis::live_analysis(const analysis_options& options)
    : analyser_(std::make_unique<stream_analyser>(options)),
      scanner_(ts::format_188, ts::sync_rule::hysteresis),
      seen_after_loss_(ts::pid_count, 0) {}

void live_analysis::push(std::span<const std::uint8_t> bytes, bool after_loss) {
    std::lock_guard lock(mutex_);
    if (analyser_->complete()) return;
    if (after_loss) ++losses_;
    // The first packet of each PID after a loss, to mark its continuity error.
    const auto note = [&](const std::uint8_t* p, std::uint64_t number) {
        std::uint32_t& seen = seen_after_loss_[ts::packet_pid(p)];
        if (seen != losses_) {
            seen = losses_;
            if (first_after_loss_.size() < max_marked_packets) first_after_loss_.push_back(number);
        }
    };
    const ts::packet_format& format = scanner_.format();
    const auto on_run = [&](const ts::packet_run& run) {
        for (std::size_t i = 0; i < run.count; ++i)
            note(run.units + i * format.stride + format.prefix, run.first_number + i);
        analyser_->push_run(run, format);
        return !analyser_->complete();
    };
    const auto on_packet = [&](const ts::scanned_packet& p) {
        note(p.bytes, p.number);
        analyser_->push(p);
        return !analyser_->complete();
    };
    const auto scan = [&](std::span<const std::uint8_t> data) {
        return scanner_.scan_runs(data.data(), data.size(), false, on_run, on_packet);
    };
    if (pending_.empty()) {
        const std::size_t used = scan(bytes);
        pending_.assign(bytes.begin() + static_cast<std::ptrdiff_t>(used), bytes.end());
    } else {
        pending_.insert(pending_.end(), bytes.begin(), bytes.end());
        const std::size_t used = scan(pending_);
        pending_.erase(pending_.begin(), pending_.begin() + static_cast<std::ptrdiff_t>(used));
    }
    bytes_.fetch_add(bytes.size(), std::memory_order_relaxed);
    if (analyser_->complete()) complete_.store(true, std::memory_order_relaxed);
}

analysis_report live_analysis::snapshot() const {
    std::unique_ptr<stream_analyser> copy;
    scan_totals totals;
    std::vector<std::uint64_t> marked;
    {
        std::lock_guard lock(mutex_);
        copy = std::make_unique<stream_analyser>(*analyser_);
        totals = {scanner_.sync_losses(), scanner_.skipped_bytes(), 0};
        marked = first_after_loss_;
    }
    analysis_report report = copy->finish(totals);
    for (error_event& e : report.errors)
        if (e.which == indicator::continuity_count_error &&
            std::binary_search(marked.begin(), marked.end(), e.packet))
            e.detail += ", inside a demux buffer overrun";
    return report;
}

}  // namespace kestrel::analysis
