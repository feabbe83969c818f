#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "device/card.h"
#include "device/filter_registry.h"

namespace kestrel::testing {

// A card for tests: every answer is set by the test, every call that reaches the hardware
// is written down in order, its clock moves only when someone sleeps on it or the test
// advances it, and fed data reach the filters on a delivery thread of its own.
class fake_card final : public card {
  public:
    // What the card answers; change before the calls that should see it.
    struct answers {
        std::uint16_t count = 1;
        std::string name = "Fake DVB-S card";
        bool opens = true;
        std::int32_t boot = 0;
        std::int32_t version = 0;
        std::int32_t init_frontend = 0;
        std::int32_t enable_data = 0;
        std::int32_t frontend_type = frontend_dvb_s;
        std::uint32_t capabilities = 0;
        std::int32_t state_error = 0;
        signal_state state{true, 80, 0.0};
        signal_statistics statistics;
        // The systems offers() names; an automatic system is always offered.
        std::vector<lib13818::DeliverySystem> systems{
            lib13818::DeliverySystem::dvb_s, lib13818::DeliverySystem::dvb_s2,
            lib13818::DeliverySystem::dvb_c, lib13818::DeliverySystem::dvb_t,
            lib13818::DeliverySystem::dvb_t2};
        std::int32_t set_channel = 0;
        std::int32_t get_channel = 0;
        std::int32_t bandwidth_error = 0;
        std::uint32_t bandwidth_first = 1;
        std::uint32_t bandwidth_second = 3;
        std::int32_t start_filter = 0;
        // Runs inside start_filter, on the adding thread, before the card starts the filter:
        // what other threads do while a filter is being added.
        std::function<void()> during_start;
    };

    fake_card();
    ~fake_card() override;

    answers& set() { return answers_; }
    // What reached the card, one line each, in order: "diseqc E0 10 38 F9 burst FF",
    // "sleep 120", "set_channel", "start_filter", "stop_filter".
    std::vector<std::string> calls() const;
    void clear_calls();
    // The channel set last; get_channel gives it back.
    ChannelRecord channel() const;

    // Hands bytes to every filter of the PID that takes them (sections by their filter
    // bytes), on the delivery thread, after what was fed before.
    void feed(std::uint16_t pid, std::vector<std::uint8_t> bytes);
    // Tells the device, after what was fed before, that the pass of the filters started
    // until now is over.
    void feed_end_of_pass();
    // Returns when everything fed has been delivered.
    void drain();
    // Moves the clock on, ringing the alarm when it passes.
    void advance(std::uint64_t ms);
    std::size_t filter_count() const { return registry_.snapshot().size(); }

    std::uint16_t count() override { return answers_.count; }
    std::int32_t describe(std::uint16_t index, card_description& out) override;
    bool open() override { return answers_.opens; }
    std::int32_t boot(const std::string&) override { return answers_.boot; }
    std::int32_t read_version() override { return answers_.version; }
    std::int32_t init_frontend() override { return answers_.init_frontend; }
    std::int32_t enable_data(bool) override { return answers_.enable_data; }
    std::int32_t frontend_type() override { return answers_.frontend_type; }
    std::uint32_t capabilities() override { return answers_.capabilities; }
    std::int32_t read_state(signal_state& out) override;
    std::int32_t read_statistics(signal_statistics& out) override;
    bool offers(lib13818::DeliverySystem system) override;
    std::int32_t send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) override;
    std::int32_t set_channel(const ChannelRecord& record) override;
    std::int32_t get_channel(ChannelRecord& record) override;
    std::int32_t bandwidth_range(std::uint32_t& first, std::uint32_t& second) override;
    std::int32_t start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) override;
    void stop_filter(card_filter_id id) override;
    void begin_delivery() override {}
    delivery_faults faults() override { return {}; }
    std::uint64_t now_ms() override;
    void sleep_ms(std::uint32_t ms) override;
    void set_alarm(std::uint64_t deadline_ms) override;
    void set_listener(card_listener* listener) override;

  private:
    struct delivery {
        std::uint16_t pid;
        std::vector<std::uint8_t> bytes;
        bool end_of_pass;
        std::uint64_t starts;  // of the end of pass
    };

    void note(std::string call);
    void deliver_loop();

    answers answers_;
    filter_registry registry_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> calls_;
    ChannelRecord channel_{};
    std::uint64_t now_ = 0;
    std::uint64_t alarm_ = 0;
    std::uint64_t starts_ = 0;
    card_listener* listener_ = nullptr;
    std::deque<delivery> queue_;
    bool delivering_ = false;
    bool stopping_ = false;
    std::thread thread_;
};

}  // namespace kestrel::testing
