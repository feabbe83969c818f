#pragma once

#include "analysis/live_analysis.h"
#include "streaming/recording.h"

namespace kestrel::streaming {

// The stream analysis of what the card receives, on a recording's worker and with its
// cancel (recording.h): one packet filter of the whole stream feeds a live analysis, chunk
// by chunk on the card's delivery thread, until cancel(), a time-out the owner arms on the
// card's clock, or a capture card's end of pass. Continuity errors right after the card's
// demux buffer ran over are marked in the report. The owner polls snapshot() and faults()
// from any thread; outcomes() holds the whole stream's entry with its error, if any.
class card_analysis final : public recording {
  public:
    card_analysis(dvb_device& device, const analysis::analysis_options& options,
                  completion_notice notice = {});
    ~card_analysis() override;

    // The report on what has come so far (the whole stream once finished).
    analysis::analysis_report snapshot() const { return live_.snapshot(); }
    // What the card lost on the way in since the analysis was made.
    delivery_faults faults() const;

  private:
    void work() override;
    static void on_packets(void* context, std::int32_t length, const std::uint8_t* data);

    analysis::live_analysis live_;
    const delivery_faults at_start_;
    std::uint64_t overflows_seen_;  // the delivery thread's alone
};

}  // namespace kestrel::streaming
