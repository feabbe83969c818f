#include "device/testing/fake_card.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::testing {

fake_card::fake_card() : thread_([this] { deliver_loop(); }) {}

fake_card::~fake_card() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    thread_.join();
}

std::vector<std::string> fake_card::calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

void fake_card::clear_calls() {
    std::lock_guard lock(mutex_);
    calls_.clear();
}

ChannelRecord fake_card::channel() const {
    std::lock_guard lock(mutex_);
    return channel_;
}

void fake_card::note(std::string call) {
    std::lock_guard lock(mutex_);
    calls_.push_back(std::move(call));
}

std::int32_t fake_card::describe(std::uint16_t index, card_description& out) {
    if (index >= answers_.count) return 19;
    out = {answers_.name, "fake" + std::to_string(index), "DVB-S"};
    return 0;
}

std::int32_t fake_card::read_state(signal_state& out) {
    out = answers_.state;
    return answers_.state_error;
}

std::int32_t fake_card::read_statistics(signal_statistics& out) {
    out = answers_.statistics;
    return answers_.state_error;
}

bool fake_card::offers(lib13818::DeliverySystem system) {
    return system == lib13818::DeliverySystem::automatic ||
           std::find(answers_.systems.begin(), answers_.systems.end(), system) != answers_.systems.end();
}

std::int32_t fake_card::send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) {
    std::string line = "diseqc";
    char hex[4];
    for (std::uint8_t b : message) {
        std::snprintf(hex, sizeof hex, " %02X", b);
        line += hex;
    }
    std::snprintf(hex, sizeof hex, "%02X", burst);
    note(line + " burst " + hex);
    return 0;
}

std::int32_t fake_card::set_channel(const ChannelRecord& record) {
    note("set_channel");
    std::lock_guard lock(mutex_);
    channel_ = record;
    return answers_.set_channel;
}

std::int32_t fake_card::get_channel(ChannelRecord& record) {
    record = channel();
    return answers_.get_channel;
}

std::int32_t fake_card::bandwidth_range(std::uint32_t& first, std::uint32_t& second) {
    first = answers_.bandwidth_first;
    second = answers_.bandwidth_second;
    return answers_.bandwidth_error;
}

std::int32_t fake_card::start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) {
    note("start_filter");
    if (answers_.start_filter != 0) return answers_.start_filter;
    if (answers_.during_start) answers_.during_start();
    id = registry_.add(filter, sink);
    std::lock_guard lock(mutex_);
    ++starts_;
    return 0;
}

void fake_card::stop_filter(card_filter_id id) {
    note("stop_filter");
    registry_.remove(id);
}

std::uint64_t fake_card::now_ms() {
    std::lock_guard lock(mutex_);
    return now_;
}

void fake_card::sleep_ms(std::uint32_t ms) {
    note("sleep " + std::to_string(ms));
    advance(ms);
}

void fake_card::advance(std::uint64_t ms) {
    card_listener* ring = nullptr;
    std::uint64_t now = 0;
    {
        std::lock_guard lock(mutex_);
        now = now_ += ms;
        if (alarm_ != 0 && now >= alarm_) {
            alarm_ = 0;
            ring = listener_;
        }
    }
    if (ring != nullptr) ring->clock_reached(now);
}

void fake_card::set_alarm(std::uint64_t deadline_ms) {
    {
        std::lock_guard lock(mutex_);
        alarm_ = deadline_ms;
    }
    advance(0);  // a deadline already passed rings at once
}

void fake_card::set_listener(card_listener* listener) {
    std::lock_guard lock(mutex_);
    listener_ = listener;
}

void fake_card::feed(std::uint16_t pid, std::vector<std::uint8_t> bytes) {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({pid, std::move(bytes), false, 0});
    }
    changed_.notify_all();
}

void fake_card::feed_end_of_pass() {
    {
        std::lock_guard lock(mutex_);
        queue_.push_back({0, {}, true, starts_});
    }
    changed_.notify_all();
}

void fake_card::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return queue_.empty() && !delivering_; });
}

void fake_card::deliver_loop() {
    for (;;) {
        delivery next;
        card_listener* listener = nullptr;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || !queue_.empty(); });
            if (stopping_) return;
            next = std::move(queue_.front());
            queue_.pop_front();
            delivering_ = true;
            listener = listener_;
        }
        if (next.end_of_pass) {
            if (listener != nullptr) listener->end_of_pass(next.starts);
        } else {
            for (const auto& entry : registry_.snapshot()) {
                if (entry.filter.pid != next.pid) continue;
                if (entry.filter.type == card_filter_type::sections &&
                    !section_matches(entry.filter, next.bytes.data(), next.bytes.size()))
                    continue;
                registry_.deliver(entry.id, next.bytes.data(), static_cast<std::int32_t>(next.bytes.size()));
            }
        }
        {
            std::lock_guard lock(mutex_);
            delivering_ = false;
        }
        changed_.notify_all();
    }
}

}  // namespace kestrel::testing
