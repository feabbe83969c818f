#include "streaming/card_analysis.h"

#include <string>

namespace kestrel::streaming {

card_analysis::card_analysis(dvb_device& device, const analysis::analysis_options& options,
                             completion_notice notice)
    : recording(device, std::move(notice)),
      live_(options),
      at_start_(device.faults()),
      overflows_seen_(at_start_.overflows) {}

card_analysis::~card_analysis() {
    end_worker();
}

delivery_faults card_analysis::faults() const {
    const delivery_faults now = device_.faults();
    return {now.overflows - at_start_.overflows, now.lock_losses - at_start_.lock_losses};
}

void card_analysis::on_packets(void* context, std::int32_t length, const std::uint8_t* data) {
    auto* self = static_cast<card_analysis*>(context);
    // The card counts an overrun before it hands over what follows it.
    const std::uint64_t overflows = self->device_.faults().overflows;
    const bool after_loss = overflows != self->overflows_seen_;
    self->overflows_seen_ = overflows;
    self->live_.push({data, static_cast<std::size_t>(length)}, after_loss);
    self->bytes_.fetch_add(static_cast<std::uint64_t>(length), std::memory_order_relaxed);
}

void card_analysis::work() {
    pid_outcome outcome{whole_stream_pid, "", 0, ""};
    if (!cancelled()) {
        filter_handle handle = nullptr;
        const std::uint32_t r = device_.add_packet_filter(whole_stream_pid, &on_packets, this, handle);
        if (r == result::ok)
            device_.wait_filters();
        else
            outcome.error =
                "the device refused the filter (result " + std::to_string(r) + ": " + result_meaning(r) + ")";
    }
    // Once this returns no delivery runs any more: the analysis is whole.
    device_.stop_filter();
    outcome.bytes = bytes_.load();
    outcomes_.push_back(outcome);
}

}  // namespace kestrel::streaming
