#pragma once

#include <atomic>
#include <cstdint>
#include <fstream>
#include <memory>
#include <ostream>
#include <string>

#include "device/dvb_device_techotrend.h"

namespace kestrel {

// A section or packet filter on the card: hands every matching section (or whole packets) to
// the caller's callback
// from the moment the card starts it until it is stopped. Stopping it is final; the object
// lives on until stop_filter() deletes all filters.
class dvb_device_techotrend::TTFilter : public filter_sink {
  public:
    explicit TTFilter(dvb_device_techotrend& device) : device_(device) {}
    virtual ~TTFilter();
    TTFilter(const TTFilter&) = delete;
    TTFilter& operator=(const TTFilter&) = delete;

    // Starts the filter: 0, 3 for a kind other than sections, 2 when the card or the
    // arguments refuse it.
    std::uint32_t add_filter(int kind, std::uint16_t pid, int buffer_size, const std::uint8_t* filter_data,
                             const std::uint8_t* filter_mask, std::uint8_t filter_length,
                             FilterCallback callback, void* context);
    // Starts a packet filter: whole packets of the PID, or of the whole stream; 0 or 2.
    std::uint32_t add_packets(std::uint16_t pid, FilterCallback callback, void* context);
    // Ends the deliveries (waiting for one running on another thread) and wakes the waiters.
    // A filter whose add still runs is stopped once the card has started (or refused) it.
    void StopFilter();
    // The device ends the add with the lock held: the filter runs, or the card refused it.
    void settle(bool started) { phase_ = started ? phase::active : phase::stopped; }
    // True from the add on (while the card starts the filter too) until it is stopped.
    bool active() const { return phase_.load() != phase::stopped; }
    // True once a stop has ended the deliveries: no callback or write runs any more.
    bool finished() const { return finished_.load(); }
    filter_handle handle() { return this; }
    // True on a thread that runs a filter's callback: a stop of all filters from there must
    // not wait for other stops, which may be waiting for that very callback to return.
    static bool in_callback();

  protected:
    // Checks the arguments and starts the card filter; 0 or 2.
    std::uint32_t start(card_filter_type type, std::uint16_t pid, const std::uint8_t* filter_data,
                        const std::uint8_t* filter_mask, std::uint8_t filter_length);
    void on_data_arrival(const std::uint8_t* data, std::int32_t length) override;
    // Hands a delivery to the caller's callback, if any.
    void call_back(const std::uint8_t* data, std::int32_t length);
    // What the filter does with the deliveries once stopped.
    virtual void finish() {}
    virtual const char* class_name() const { return "TTFilter"; }

    enum class phase { starting, active, stopped };

    dvb_device_techotrend& device_;
    FilterCallback callback_ = nullptr;
    void* context_ = nullptr;
    std::atomic<phase> phase_{phase::starting};
    std::atomic<bool> finished_{false};
    card_filter_id id_ = 0;  // written by the add before settle, read by the stop after it
};

// A filter that writes every delivery (whole packets, or sections) to a file or a stream
// before handing it to the callback. A write that fails stops the filter.
class dvb_device_techotrend::TTFileFilter final : public dvb_device_techotrend::TTFilter {
  public:
    using TTFilter::TTFilter;

    // Writes to a file it creates: 0, 3 for a kind other than packets or sections, 2 when
    // the file cannot be created or the card refuses.
    std::uint32_t add_filter(int kind, std::uint16_t pid, const char* file_name,
                             const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                             std::uint8_t filter_length, FilterCallback callback, void* context);
    // Writes to the caller's stream.
    std::uint32_t add_stream(int kind, std::uint16_t pid, std::ostream& stream,
                             const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                             std::uint8_t filter_length, FilterCallback callback, void* context);
    // True when a write failed (the filter then stopped itself).
    bool write_failed() const { return write_failed_.load(); }

  private:
    std::uint32_t start_output(int kind, std::uint16_t pid, const std::uint8_t* filter_data,
                               const std::uint8_t* filter_mask, std::uint8_t filter_length);
    void on_data_arrival(const std::uint8_t* data, std::int32_t length) override;
    void finish() override;
    const char* class_name() const override { return "TTFileFilter"; }

    std::unique_ptr<std::ofstream> file_;
    std::ostream* out_ = nullptr;
    std::string name_;
    std::atomic<bool> write_failed_{false};
};

}  // namespace kestrel
