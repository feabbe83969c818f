#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "device/card.h"
#include "device/dvb_device.h"

namespace kestrel {

// The one device object: drives a card through the card seam, keeps the LNB
// configuration, the current DVB-S channel and the live filters, and records what it
// does in the CSV event log.
//
// Threads: tuning and state queries run on their callers' threads without a lock. The
// filter sets, the time-out and the count of filter starts and of the end of pass are
// guarded by one mutex; filter callbacks run on the card's delivery thread without it. A
// filter joins its set before the card starts it, so that a stop of all filters from
// another thread never misses it. A stopped filter is never deleted while its callback
// runs on another thread.
class dvb_device_techotrend final : public dvb_device, private card_listener {
  public:
    class TTFilter;
    class TTFileFilter;

    // The device drives `card` (which may be null: no card at all). Nothing is opened
    // before init().
    explicit dvb_device_techotrend(std::unique_ptr<card> card);
    ~dvb_device_techotrend() override;
    dvb_device_techotrend(const dvb_device_techotrend&) = delete;
    dvb_device_techotrend& operator=(const dvb_device_techotrend&) = delete;

    std::uint32_t get_frontend_type() override;
    bool query_option(int value) override;
    bool has_capability(int index) override;
    bool is_locked() override;
    bool wait_for_lock(std::uint32_t ms) override;
    std::uint32_t get_signal_level() override;
    std::uint32_t get_signal_quality() override;
    std::uint32_t read_statistics(signal_statistics& out) override;
    bool offers_system(lib13818::DeliverySystem system) override;
    std::uint32_t init() override;
    std::uint32_t select_device(int index) override;
    std::uint32_t query_number() override;
    bool query_flag() override;
    std::uint32_t set_12v(std::uint32_t on) override;
    std::uint32_t set_tuner(const TUNERPARM& tuning) override;
    std::uint32_t set_tuner(double frequency, int polarisation, int fec, unsigned long symbol_rate,
                            unsigned long position) override;
    std::uint32_t get_12v(std::uint32_t* on) override;
    std::uint32_t get_tuner(TUNERPARM& tuning) override;
    std::uint32_t get_tuner(double& frequency, int& polarisation, int& fec, unsigned long& symbol_rate,
                            unsigned long& position) override;
    std::uint32_t add_filter(int kind, std::uint16_t pid, int buffer_size, const std::uint8_t* filter_data,
                             const std::uint8_t* filter_mask, std::uint8_t filter_length,
                             FilterCallback callback, void* context, filter_handle& out) override;
    std::uint32_t add_packet_filter(std::uint16_t pid, FilterCallback callback, void* context,
                                    filter_handle& out) override;
    std::uint32_t add_stream_filter(int kind, std::uint16_t pid, int buffer_size, std::ostream& stream,
                                    const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                                    std::uint8_t filter_length, FilterCallback callback, void* context,
                                    filter_handle& out) override;
    std::uint32_t add_file_filter(int kind, std::uint16_t pid, int buffer_size, const char* file_name,
                                  const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                                  std::uint8_t filter_length, FilterCallback callback, void* context,
                                  filter_handle& out) override;
    std::uint32_t stop_filter() override;
    std::uint32_t stop_filter(filter_handle handle) override;
    std::uint64_t stop_all_count() override { return stop_alls_.load(); }
    std::uint32_t wait_filters() override;

    std::uint32_t arm_timeout(std::uint32_t ms, std::function<void()> routine) override;
    void cancel_timeout() override;
    std::uint64_t clock_ms() override;
    delivery_faults faults() override;

    std::uint16_t get_number_of_devices() override;
    int get_device_info(int index, std::string& name) override;

    LnbConfig lnb_config() override;
    void set_lnb_config(const LnbConfig& config) override;

    // The DVB-S channel last tuned or read back.
    ChannelRecord current_channel() const { return channel_; }

  private:
    using filter_set = std::map<filter_handle, std::shared_ptr<TTFilter>>;

    bool card_ready();  // logs "card not initialized" when the card objects are missing
    std::uint32_t tune_satellite(double frequency, int polarisation, int fec, unsigned long symbol_rate,
                                 unsigned long position, const lib13818::Delivery& delivery);
    std::uint32_t send_diseqc(unsigned long position, bool high_band, bool vertical);
    std::uint32_t tune_dvb_c_t(const TUNERPARM& tuning);
    // Puts the filter into the set, runs `start` (the filter's own add) and keeps the filter
    // when it started; 0 and the handle in `out`, or 2.
    std::uint32_t start_filter(filter_set& set, std::shared_ptr<TTFilter> filter, filter_handle& out,
                               const std::function<std::uint32_t()>& start);
    bool any_active_locked() const;
    // The card's last end of pass covers every filter started or being started.
    bool pass_over_locked() const;
    // Waits on the card's clock until `done` holds (checked under the lock), running an
    // expired time-out's routine on this thread and acting on the end of pass. The filters
    // started until the wait (and any started while it lasts) begin their delivery here.
    void wait_until(const std::function<bool()>& done);

    // Logs the faults of the deliveries that are new since it last ran.
    void log_new_faults();
    // Called by the filters when they stop, so that waiting threads look again.
    void filter_stopped();
    void clock_reached(std::uint64_t now_ms) override;
    void end_of_pass(std::uint64_t starts) override;

    LnbConfig lnb_{};
    ChannelRecord channel_{};
    filter_set section_filters_;  // and the packet filters: every filter without a file
    filter_set file_filters_;
    std::atomic<std::int32_t> frontend_type_{frontend_none};
    std::unique_ptr<card> card_;
    std::atomic<bool> card_objects_{false};
    std::atomic<std::uint32_t> capabilities_{0};
    std::mutex lock_;
    std::condition_variable wake_;
    unsigned long position_ = 0;

    struct timeout {
        std::uint64_t deadline = 0;
        std::function<void()> routine;  // empty when none is armed
        bool due = false;
    };
    timeout timeout_;
    std::uint64_t starts_ = 0;                  // card starts made or in progress
    std::uint64_t started_ = 0;                 // card starts made
    std::uint64_t released_ = 0;                // started_ at the last begin_delivery
    std::optional<std::uint64_t> pass_starts_;  // the starts the last end of pass covered
    std::atomic<std::uint64_t> stop_alls_{0};   // raised with the lock held, as the sets are taken
    int stops_running_ = 0;                     // stops of all filters not yet over
    delivery_faults logged_faults_;             // as the last stop of all filters logged them

    friend class TTFilter;
};

}  // namespace kestrel
