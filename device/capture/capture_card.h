#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "device/capture/capture_options.h"
#include "device/capture/capture_playback.h"
#include "device/capture/diseqc_switch.h"
#include "device/capture/manifest.h"
#include "device/capture/stream_clock.h"
#include "device/card.h"
#include "device/filter_registry.h"
#include "device/tuner_params.h"
#include "ts/section_assembler.h"

namespace kestrel {

// A card that replays transport stream captures as if it received them: one capture that
// is always locked, or a manifest of transponders that lock by the tuning and the DiSEqC
// switch position (see lock_rule.h).
//
// One delivery thread plays the locked transponder's capture from where it stands, looping
// at its end, while any filter is active; it passes over packets no filter wants after a
// look at their header, assembles sections per PID and hands sections and packets to the
// filters (the whole stream's packets in one call per stretch played). A started filter is held until begin_delivery, which begins a new pass for every
// filter it releases, so that filters started together get the same packets from the same
// one on. Its clock is the stream clock (stream_clock.h) plus every sleep: a sleep only
// advances it. The packet that brings the clock to the alarm is the last one played until
// the alarm is set again (the device does so once the time-out's routine has run). Once it has played exactly
// a whole capture's length since the pass began (at once when nothing is locked), it reports the end of pass,
// tagged with the count of starts the pass covers, to the listener and holds until filters are released again
// or the tuning changes. With `realtime` it paces the replay to the stream clock; otherwise it runs flat out.
class capture_card final : public card {
  public:
    // Makes the card for the options: loads the manifest (or takes the single capture) and
    // opens every capture. Null and a one-line reason naming the file (and line) when it
    // cannot.
    static std::unique_ptr<capture_card> create(const capture_options& options, std::string& error);

    capture_card(const std::string& name, capture_manifest manifest,
                 std::vector<std::unique_ptr<capture_playback>> captures, bool realtime);
    ~capture_card() override;
    capture_card(const capture_card&) = delete;
    capture_card& operator=(const capture_card&) = delete;

    std::uint16_t count() override { return 1; }
    std::int32_t describe(std::uint16_t index, card_description& out) override;
    bool open() override;
    std::int32_t boot(const std::string&) override { return 0; }
    std::int32_t read_version() override { return 0; }
    std::int32_t init_frontend() override { return 0; }
    std::int32_t enable_data(bool) override { return 0; }
    std::int32_t frontend_type() override { return manifest_.type; }
    std::uint32_t capabilities() override { return capability::auto_fec | capability::auto_inversion; }
    std::int32_t read_state(signal_state& out) override;
    // A capture has no signal to measure: no statistics.
    std::int32_t read_statistics(signal_statistics& out) override;
    bool offers(lib13818::DeliverySystem system) override;
    std::int32_t send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) override;
    std::int32_t set_channel(const ChannelRecord& record) override;
    std::int32_t get_channel(ChannelRecord& record) override;
    std::int32_t bandwidth_range(std::uint32_t& first, std::uint32_t& second) override;
    std::int32_t start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) override;
    void stop_filter(card_filter_id id) override;
    void begin_delivery() override;
    delivery_faults faults() override { return {}; }
    std::uint64_t now_ms() override;
    void sleep_ms(std::uint32_t ms) override;
    void set_alarm(std::uint64_t deadline_ms) override;
    void set_listener(card_listener* listener) override { listener_ = listener; }

    // The transponder now received, as an index into the manifest, or -1.
    int locked_transponder();
    // The tuning (of the manifest's frontend type) that receives the manifest's first
    // transponder.
    TUNERPARM first_transponder_tuning() const;

  private:
    struct queued_diseqc {
        std::vector<std::uint8_t> message;
        std::uint8_t burst;
    };
    static constexpr std::uint16_t no_reference_pid = 0xFFFF;

    // What the delivery thread does with one PID.
    struct pid_route {
        std::vector<filter_registry::entry> sections;
        std::vector<card_filter_id> packets;
        ts::section_assembler assembler;
        bool wanted = false;
    };
    // The delivery thread's own state.
    struct delivery_state {
        std::uint64_t seen_changes = ~std::uint64_t{0};
        std::uint64_t pass_starts = 0;  // the filter starts the pass covers
        int playing = -1;
        std::uint64_t pass_bytes = 0;
        int pass_loops = 0;
        bool pass_reported = true;
        bool anchored = false;
        std::chrono::steady_clock::time_point anchor_wall;
        std::uint64_t anchor_ticks = 0;
    };

    void changed();  // filters or tuning changed: the delivery thread looks again
    void deliver_loop();
    // Takes the filters and the tuning as they now stand.
    void take_changes();
    void play_step();
    void pace();
    // False when the packet rang the alarm: the step ends after it.
    bool on_packet(const std::uint8_t* p);
    void on_section(const pid_route& route, std::span<const std::uint8_t> section);
    // Hands the packets gathered for the whole-stream filters on in one call each.
    void deliver_whole_stream();
    void report_end_of_pass();
    bool alarm_due() const;
    // True when it rang the alarm (and holds the delivery until the next set_alarm).
    bool fire_alarm_if_due();
    std::uint64_t now_ticks() const;

    const std::string name_;
    const capture_manifest manifest_;
    const std::vector<std::unique_ptr<capture_playback>> captures_;
    const bool realtime_;

    filter_registry registry_;
    std::atomic<card_listener*> listener_{nullptr};
    std::atomic<std::uint64_t> changes_{0};
    std::atomic<std::uint64_t> played_ticks_{0};
    std::atomic<std::uint64_t> slept_ticks_{0};
    std::atomic<std::uint64_t> alarm_ms_{0};

    std::mutex mutex_;  // guards what follows
    std::condition_variable wake_;
    bool stopping_ = false;
    std::size_t released_ = 0;           // filters delivered to
    std::vector<card_filter_id> held_;   // filters started and not yet released
    std::uint64_t starts_ = 0;           // filters started since the card was made
    std::uint64_t released_starts_ = 0;  // starts_ at the last release: the pass's count
    ChannelRecord channel_{};
    diseqc_switch switch_;
    std::vector<queued_diseqc> queued_;  // sent with the next set_channel
    int locked_ = -1;
    // The alarm rang: nothing is played until set_alarm is called again, so that the time-out
    // acts on the stream at its deadline however fast the replay runs.
    bool alarm_hold_ = false;

    // The delivery thread's alone.
    delivery_state state_;
    stream_clock clock_;
    std::array<std::unique_ptr<pid_route>, 8192> routes_;
    std::vector<std::uint16_t> routed_pids_;
    std::vector<card_filter_id> whole_stream_;   // packet filters of every packet
    std::vector<std::uint8_t> whole_chunk_;      // their packets of this step, not yet delivered
    std::vector<std::uint16_t> reference_pids_;  // per capture: its clock's PCR PID, once seen
    std::thread thread_;
};

}  // namespace kestrel
