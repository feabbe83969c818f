#pragma once

// The card seam: the small interface the device object drives a DVB card through.
//
// Two kinds of card implement it: the Linux DVB card (device/linux/) and the capture card,
// which replays transport stream captures. The device object (dvb_device_techotrend) makes
// every decision about tuning, DiSEqC bytes, result codes and logging; a card only carries
// the calls out and reports what the hardware (or the capture) says.
//
// Conventions of every card:
// - Operations returning std::int32_t give 0 for success, else an error number of the card
//   (the Linux card returns errno); the device logs that number.
// - Operations are called from the device's callers' threads (user interface, scan worker)
//   and may run concurrently with the card's own delivery thread; a card guards its state.
// - A card has exactly one delivery thread. It calls filter sinks and the listener, never
//   while holding a lock that start_filter, stop_filter, now_ms or set_alarm take, so that
//   a sink or the listener may call back into the card.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "device/signal_statistics.h"
#include "lib13818/delivery/delivery.h"

namespace kestrel {

// The frontend's channel record: seven words whose meaning depends on the frontend type.
//   word   DVB-S                      DVB-C                    DVB-T
//   0      frequency, kHz             frequency, kHz           frequency, kHz
//   1      inversion (0 off, 1 on, 2 automatic, for all three types)
//   2      symbol rate, symbols/s     symbol rate, symbols/s   0
//   3      LOF, kHz                   modulation 0..4          bandwidth code
//                                     (16, 32, 64, 128, 256-QAM)
//   4      22 kHz tone (1 on)         bandwidth code           0
//   5      LNB voltage 13, 18 or 0    0                        0
//   6      0                          0                        0
// Bandwidth codes: 1 = 7 MHz, 2 = 8 MHz, 3 = automatic.
// `delivery` carries the delivery system and the parameters the words have no place for
// (DVB-S2 modulation, roll-off, stream; DVB-T2 PLP; DVB-T code rates, ...). A field left
// automatic leaves the word for the same thing in force; one that is named overrides it. A
// system left automatic is the card's own for its frontend type (see offers()).
struct ChannelRecord {
    std::array<std::uint32_t, 7> word{};
    lib13818::Delivery delivery{};

    friend bool operator==(const ChannelRecord&, const ChannelRecord&) = default;
};

// Names of the channel record words where their meaning is shared.
namespace channel_word {
inline constexpr std::size_t frequency = 0;
inline constexpr std::size_t inversion = 1;
inline constexpr std::size_t symbol_rate = 2;
inline constexpr std::size_t lof = 3;              // DVB-S
inline constexpr std::size_t tone = 4;             // DVB-S
inline constexpr std::size_t voltage = 5;          // DVB-S
inline constexpr std::size_t modulation = 3;       // DVB-C
inline constexpr std::size_t cable_bandwidth = 4;  // DVB-C
inline constexpr std::size_t bandwidth = 3;        // DVB-T
}  // namespace channel_word

// Frontend types as card and device report them.
enum frontend_type : std::int32_t {
    frontend_none = 0,
    frontend_dvb_s = 1,
    frontend_dvb_c = 2,
    frontend_dvb_t = 3
};

// "DVB-S", "DVB-C", "DVB-T" or "unknown".
inline const char* frontend_type_name(std::int32_t type) {
    return type == frontend_dvb_s   ? "DVB-S"
           : type == frontend_dvb_c ? "DVB-C"
           : type == frontend_dvb_t ? "DVB-T"
                                    : "unknown";
}

// The frontend type that tunes a delivery system; frontend_none for automatic.
inline std::int32_t frontend_type_of(lib13818::DeliverySystem system) {
    if (lib13818::is_satellite(system)) return frontend_dvb_s;
    if (lib13818::is_terrestrial(system)) return frontend_dvb_t;
    return system == lib13818::DeliverySystem::dvb_c ? frontend_dvb_c : frontend_none;
}

// Bits of the frontend capability word.
namespace capability {
inline constexpr std::uint32_t auto_fec = 0x00001;
inline constexpr std::uint32_t auto_inversion = 0x00010;
inline constexpr std::uint32_t channel_scan = 0x00100;
inline constexpr std::uint32_t auto_bandwidth = 0x01000;
inline constexpr std::uint32_t antenna_power = 0x10000;
}  // namespace capability

// The DiSEqC burst argument: satellite A, satellite B, or no burst at all.
namespace diseqc_burst {
inline constexpr std::uint8_t mini_a = 0;
inline constexpr std::uint8_t mini_b = 1;
inline constexpr std::uint8_t none = 0xFF;
}  // namespace diseqc_burst

// What the frontend says about the signal.
struct signal_state {
    bool locked = false;
    std::uint16_t level_percent = 0;  // 0..100
    double bit_error_rate = 0.0;      // errored bits / total bits
};

// What went wrong on the way in, counted since the card was made: the driver's buffer
// running over (data lost) and the frontend losing lock while filters were set.
struct delivery_faults {
    std::uint64_t overflows = 0;
    std::uint64_t lock_losses = 0;
};

// How a card names one of the cards it offers: its name, where it is, and a detail
// (bus, delivery system or capture file) the event log records beside it.
struct card_description {
    std::string name;
    std::string location;
    std::string detail;
};

// One filter set on the card.
//   sections: every whole section (table_id to the end of section_length, at most 4096
//             bytes) of the PID whose first bytes match: for i < length,
//             (section[i'] & mask[i]) == (data[i] & mask[i]), where i' = 0 for i = 0 and
//             i + 2 otherwise (byte 0 is the table_id; bytes 1 and 2, the length, are
//             skipped, as the Linux demux does). The section's CRC is not checked.
//   packets:  every whole 188-byte transport packet of the PID, or of the whole transport
//             stream for whole_stream_pid; the filter bytes are not used.
enum class card_filter_type { packets, sections };

inline constexpr std::size_t max_filter_bytes = 16;
// The PID of a packet filter that takes every packet, as the Linux demux names it.
inline constexpr std::uint16_t whole_stream_pid = 0x2000;

struct card_filter {
    card_filter_type type = card_filter_type::sections;
    std::uint16_t pid = 0x1FFF;  // at most 0x1FFF, or whole_stream_pid for packets; the device refuses others
    std::uint8_t length = 0;     // number of filter bytes in use, at most max_filter_bytes
    std::array<std::uint8_t, max_filter_bytes> data{};
    std::array<std::uint8_t, max_filter_bytes> mask{};
};

// Receives a filter's data on the card's delivery thread. A section filter gets one whole
// section per call; a packet filter one or more whole transport packets per call. The
// bytes are valid only during the call.
class filter_sink {
  public:
    virtual void on_data_arrival(const std::uint8_t* data, std::int32_t length) = 0;

  protected:
    ~filter_sink() = default;
};

// Receives the card's clock and end-of-pass events, on the card's delivery thread or on a
// thread inside sleep_ms (a capture card's clock advances while the device sleeps).
class card_listener {
  public:
    // The card's clock has reached the deadline last given to set_alarm; now_ms is the time.
    virtual void clock_reached(std::uint64_t now_ms) = 0;
    // A capture card has delivered every byte of its file since its pass began: nothing new
    // can arrive until a filter is started again. `starts` names the pass: the card's count
    // of filters started (see start_filter) when the pass began, at the begin_delivery that
    // let them deliver. A filter whose start is not
    // in that count may have missed data, so a report whose count is below the listener's
    // own count of starts is stale (the pass ended while a newer filter was being added)
    // and must not end that filter's wait. Live cards never call it.
    virtual void end_of_pass(std::uint64_t starts) = 0;

  protected:
    ~card_listener() = default;
};

using card_filter_id = std::uint32_t;  // 0 is never a valid id

class card {
  public:
    virtual ~card() = default;

    // Enumeration: how many cards of this kind can be chosen, and what each is called.
    // Neither needs the card to be open.
    virtual std::uint16_t count() = 0;
    virtual std::int32_t describe(std::uint16_t index, card_description& out) = 0;

    // Life cycle, in the order the device's init calls it. open() gives true when the card
    // could be opened; boot (with the directory of the card's boot files, which cards
    // without firmware ignore), read_version, init_frontend and enable_data give 0 on
    // success. frontend_type and capabilities are valid after init_frontend.
    virtual bool open() = 0;
    virtual std::int32_t boot(const std::string& boot_directory) = 0;
    virtual std::int32_t read_version() = 0;
    virtual std::int32_t init_frontend() = 0;
    virtual std::int32_t enable_data(bool on) = 0;
    virtual std::int32_t frontend_type() = 0;  // 1..3 as frontend_type; anything else: unusable
    virtual std::uint32_t capabilities() = 0;  // capability bits

    // Signal: lock, level and bit error rate at this moment.
    virtual std::int32_t read_state(signal_state& out) = 0;
    // The frontend's statistics at this moment (signal_statistics.h): what it cannot give
    // stays empty.
    virtual std::int32_t read_statistics(signal_statistics& out) = 0;
    // True when the frontend tunes `system` as its frontend type (a DVB-S card DVB-S2, a
    // DVB-T card DVB-T2, ...); an automatic system is always offered.
    virtual bool offers(lib13818::DeliverySystem system) = 0;

    // DiSEqC: queues one message (3..6 bytes, or none) and a burst (diseqc_burst); the card
    // sends what it queued at the next set_channel, before it tunes, in the order given.
    virtual std::int32_t send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) = 0;
    // Tunes to the record (layout above); returns without waiting for lock. A system the
    // frontend does not offer fails with an error number and a line in the event log naming
    // the system and what the frontend offers.
    virtual std::int32_t set_channel(const ChannelRecord& record) = 0;
    // What the frontend is tuned to, in the same layout, with the delivery system and the
    // stream it delivers.
    virtual std::int32_t get_channel(ChannelRecord& record) = 0;
    // The range of bandwidth codes the frontend supports.
    virtual std::int32_t bandwidth_range(std::uint32_t& first, std::uint32_t& second) = 0;

    // Filters. start_filter gives the new filter's id in `id`; from then on the delivery
    // thread hands the filter's data to `sink`, which must outlive the filter. On a live card
    // data may reach the sink before start_filter returns; a capture card holds the filter
    // until begin_delivery. start_filter never waits for the delivery thread (a stop of all
    // filters may wait for a start in progress). Every successful start adds one to the
    // card's count of starts, from 0 when the card is made.
    // stop_filter ends the deliveries: when it returns, no call to the sink is running and
    // none will start, except that a sink may stop its own (or any) filter from inside
    // on_data_arrival, where stop_filter returns at once and the running call finishes.
    // Stopping an unknown or stopped id does nothing.
    virtual std::int32_t start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) = 0;
    virtual void stop_filter(card_filter_id id) = 0;
    // A capture card begins one new pass here for the filters it holds, all of them from the
    // packet it stands at, so that filters started together see the same packets; with none
    // held it does nothing. The device calls it when it waits on its filters. A live card
    // delivers from the start and does nothing here.
    virtual void begin_delivery() = 0;
    // The faults of the deliveries so far; a capture card has none.
    virtual delivery_faults faults() = 0;

    // The card's clock in milliseconds: monotonic wall time on a live card, the stream
    // clock on a capture card. sleep_ms waits on that clock: a real sleep on a live card, a
    // mere advance of the stream clock on a capture card.
    virtual std::uint64_t now_ms() = 0;
    virtual void sleep_ms(std::uint32_t ms) = 0;
    // One alarm: the card calls the listener's clock_reached once its clock is at or past
    // deadline_ms (promptly, from its own thread, when it already is). A new call replaces
    // the alarm; 0 clears it.
    virtual void set_alarm(std::uint64_t deadline_ms) = 0;

    // Where clock and end-of-pass events go; nullptr stops them. Set by the device before
    // open() and cleared before the card is destroyed.
    virtual void set_listener(card_listener* listener) = 0;
};

}  // namespace kestrel
