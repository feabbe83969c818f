#pragma once

// The device interface every part of the program uses to reach the DVB card: tuning,
// signal state, section and file filters, and the time-out on the card's clock.

#include <cstdint>
#include <functional>
#include <iosfwd>
#include <string>

#include "device/card.h"
#include "device/tuner_params.h"

namespace kestrel {

// Result codes of every device operation.
namespace result {
inline constexpr std::uint32_t ok = 0;
inline constexpr std::uint32_t burst_position = 1;   // DiSEqC position out of range for tone burst
inline constexpr std::uint32_t failed = 2;           // card error, no lock, position out of range
inline constexpr std::uint32_t not_supported = 3;    // by this device or frontend type
inline constexpr std::uint32_t mismatch = 4;         // already initialised, tuner type, DiSEqC mode
inline constexpr std::uint32_t not_initialized = 5;  // "card not initialized"
}  // namespace result

// One line saying what a result code means, for command-line output.
const char* result_meaning(std::uint32_t code);

// Filter kinds as callers pass them to the add operations.
namespace filter_kind {
inline constexpr int packets = 0;   // every transport packet of the PID (file and packet filters)
inline constexpr int sections = 2;  // sections of the PID matching the filter bytes
}  // namespace filter_kind

// Called for every delivery of a device filter, on the card's delivery thread: the caller's
// context, the number of bytes and the bytes, valid only during the call.
using FilterCallback = void (*)(void* context, std::int32_t length, const std::uint8_t* data);

// A filter as the device gives it out; valid until stop_filter() stops all filters.
using filter_handle = void*;

class dvb_device {
  public:
    virtual std::uint32_t get_frontend_type() = 0;
    // Kept from the card interface; no caller. True for 1, 2 and 5.
    virtual bool query_option(int value) = 0;
    // 0: automatic FEC; 1: no; 2, 3, 4: yes; 5: automatic bandwidth; 6: automatic inversion.
    virtual bool has_capability(int index) = 0;
    virtual bool is_locked() = 0;
    // Asks for lock every 50 ms of the card's clock until the frontend says locked or `ms`
    // have passed: true when locked. A capture card's clock only advances, so its lock rule
    // answers without a real wait; a live frontend gets the time it needs to lock.
    virtual bool wait_for_lock(std::uint32_t ms) = 0;
    virtual std::uint32_t get_signal_level() = 0;    // percent
    virtual std::uint32_t get_signal_quality() = 0;  // 0, 25, 50, 75 or 100 percent
    // Strength and CNR in decibels and the error counters, as far as the card gives them.
    virtual std::uint32_t read_statistics(signal_statistics& out) = 0;
    // True when the frontend tunes `system` as its frontend type; false without a card.
    virtual bool offers_system(lib13818::DeliverySystem system) = 0;
    virtual ~dvb_device() = default;
    // Opens, boots and initialises the card: 0, 2 or 4.
    virtual std::uint32_t init() = 0;
    virtual std::uint32_t select_device(int index) = 0;
    // Kept from the card interface; no caller. Returns 0 and false.
    virtual std::uint32_t query_number() = 0;
    virtual bool query_flag() = 0;
    // 12 V output: not supported, 3.
    virtual std::uint32_t set_12v(std::uint32_t on) = 0;
    virtual std::uint32_t set_tuner(const TUNERPARM& tuning) = 0;
    // DVB-S: frequency in GHz, polarisation 0..3, FEC (logged only), symbols/s, position 0..3.
    virtual std::uint32_t set_tuner(double frequency, int polarisation, int fec, unsigned long symbol_rate,
                                    unsigned long position) = 0;
    virtual std::uint32_t get_12v(std::uint32_t* on) = 0;
    virtual std::uint32_t get_tuner(TUNERPARM& tuning) = 0;
    // DVB-S read-back: GHz, polarisation 0/1, FEC -1, kilosymbols/s, position.
    virtual std::uint32_t get_tuner(double& frequency, int& polarisation, int& fec,
                                    unsigned long& symbol_rate, unsigned long& position) = 0;
    virtual std::uint32_t add_filter(int kind, std::uint16_t pid, int buffer_size,
                                     const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                                     std::uint8_t filter_length, FilterCallback callback, void* context,
                                     filter_handle& out) = 0;
    // Hands every whole transport packet of the PID (or of the whole stream for
    // whole_stream_pid) to the callback, several packets a call where the card reads them so
    // (a read of the Linux demux, a stretch of a capture). Stopped like the other filters.
    virtual std::uint32_t add_packet_filter(std::uint16_t pid, FilterCallback callback, void* context,
                                            filter_handle& out) = 0;
    // Records the PID into `stream`: blocks, writing every delivery to the stream and calling
    // the callback with it, until the filter is stopped (stop_filter from another thread, a
    // time-out's routine, or a capture's end of pass). `out` is written before it blocks.
    virtual std::uint32_t add_stream_filter(int kind, std::uint16_t pid, int buffer_size,
                                            std::ostream& stream, const std::uint8_t* filter_data,
                                            const std::uint8_t* filter_mask, std::uint8_t filter_length,
                                            FilterCallback callback, void* context, filter_handle& out) = 0;
    virtual std::uint32_t add_file_filter(int kind, std::uint16_t pid, int buffer_size, const char* file_name,
                                          const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                                          std::uint8_t filter_length, FilterCallback callback, void* context,
                                          filter_handle& out) = 0;
    // Stops and deletes every filter; all handles become invalid. Returns once no filter
    // delivers any more, those another thread's stop is stopping too (unless called from a
    // filter's callback, which must not wait for that stop).
    virtual std::uint32_t stop_filter() = 0;
    // Stops one filter; it stays known until stop_filter() deletes all.
    virtual std::uint32_t stop_filter(filter_handle handle) = 0;
    // How many times stop_filter() has taken the filters to stop them, counted at that
    // moment. A stop of all filters from another thread (Cancel) misses filters added after
    // it; a caller that notes the count before adding its filters and finds it changed after
    // knows one came meanwhile.
    virtual std::uint64_t stop_all_count() = 0;
    // Returns when no filter is active. While it waits, an expired time-out's routine runs on
    // the waiting thread; at a capture's end of pass the armed routine runs at once, or, with
    // none armed, every filter is stopped.
    virtual std::uint32_t wait_filters() = 0;

    // A one-shot time-out on the card's clock. Arming replaces an armed one; the routine
    // runs on the thread waiting in wait_filters (or add_stream_filter), never elsewhere.
    virtual std::uint32_t arm_timeout(std::uint32_t ms, std::function<void()> routine) = 0;
    virtual void cancel_timeout() = 0;
    // The card's clock in milliseconds (0 without a card).
    virtual std::uint64_t clock_ms() = 0;
    // What the card lost on the way in since it was opened (driver buffer overruns, lock
    // losses while filters ran). stop_filter() also logs what grew since the last stop of
    // all filters; commands say it at their end, so that no loss goes unsaid.
    virtual delivery_faults faults() = 0;

    // The cards the chosen backend offers (a count of 0 means no card) and their names:
    // get_device_info gives 0 and the name for index 0, -1 for any other index.
    virtual std::uint16_t get_number_of_devices() = 0;
    virtual int get_device_info(int index, std::string& name) = 0;

    // The LNB configuration that DVB-S tuning uses, as the LNB settings keep it.
    virtual LnbConfig lnb_config() = 0;
    virtual void set_lnb_config(const LnbConfig& config) = 0;
};

}  // namespace kestrel
