#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "device/card.h"
#include "device/filter_registry.h"

namespace kestrel::testing {

// One section of a replayed stream and the stream time at which it arrives.
struct stream_section {
    std::uint16_t pid = 0;
    std::vector<std::uint8_t> bytes;
    std::uint64_t time_ms = 0;
};

// A card that replays sections the way the capture card replays a file: in order on its
// delivery thread, looping while a filter is active, its clock following the stream time,
// and the end of pass told once every section was delivered since a filter last started.
// Paced, it waits in real time for each section's stream time.
class section_card final : public card {
  public:
    explicit section_card(std::vector<stream_section> stream, bool paced = false);
    ~section_card() override;

    std::uint16_t count() override { return 1; }
    std::int32_t describe(std::uint16_t, card_description& out) override;
    bool open() override { return true; }
    std::int32_t boot(const std::string&) override { return 0; }
    std::int32_t read_version() override { return 0; }
    std::int32_t init_frontend() override { return 0; }
    std::int32_t enable_data(bool) override { return 0; }
    std::int32_t frontend_type() override { return frontend_dvb_s; }
    std::uint32_t capabilities() override { return 0; }
    std::int32_t read_state(signal_state& out) override;
    std::int32_t send_diseqc(std::span<const std::uint8_t>, std::uint8_t) override { return 0; }
    std::int32_t set_channel(const ChannelRecord&) override { return 0; }
    std::int32_t get_channel(ChannelRecord&) override { return 0; }
    std::int32_t bandwidth_range(std::uint32_t&, std::uint32_t&) override { return 0; }
    std::int32_t start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) override;
    void stop_filter(card_filter_id id) override;
    std::uint64_t now_ms() override;
    void sleep_ms(std::uint32_t ms) override;
    void set_alarm(std::uint64_t deadline_ms) override;
    void set_listener(card_listener* listener) override;

  private:
    void deliver();
    bool alarm_due() const { return alarm_ != 0 && now_ >= alarm_; }

    const std::vector<stream_section> stream_;
    const bool paced_;
    filter_registry registry_;
    std::mutex mutex_;
    std::condition_variable wake_;
    card_listener* listener_ = nullptr;
    std::size_t next_ = 0;
    std::size_t delivered_since_start_ = 0;
    bool pass_told_ = false;
    std::uint64_t now_ = 0;
    std::uint64_t loop_start_ = 0;  // stream time at which the current loop began
    std::uint64_t alarm_ = 0;
    std::chrono::steady_clock::time_point real_start_;  // when a filter last started
    std::uint64_t stream_start_ = 0;                    // the stream time then
    bool quit_ = false;
    std::thread thread_;
};

}  // namespace kestrel::testing
