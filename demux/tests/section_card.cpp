#include "demux/tests/section_card.h"

#include <algorithm>

namespace kestrel::testing {

namespace {

// The filter bytes of the card seam: byte 0 against the table_id, the others from byte 3 on.
bool matches(const card_filter& filter, const stream_section& section) {
    if (filter.pid != section.pid || filter.type != card_filter_type::sections) return false;
    for (std::size_t i = 0; i < filter.length; ++i) {
        const std::size_t at = i == 0 ? 0 : i + 2;
        if (at >= section.bytes.size() || ((section.bytes[at] ^ filter.data[i]) & filter.mask[i]) != 0)
            return false;
    }
    return true;
}

}  // namespace

section_card::section_card(std::vector<stream_section> stream, bool paced)
    : stream_(std::move(stream)), paced_(paced), thread_([this] { deliver(); }) {}

section_card::~section_card() {
    {
        std::lock_guard lock(mutex_);
        quit_ = true;
    }
    wake_.notify_all();
    thread_.join();
}

std::int32_t section_card::describe(std::uint16_t, card_description& out) {
    out = {"section card", "test", "sections"};
    return 0;
}

std::int32_t section_card::read_state(signal_state& out) {
    out = {true, 80, 0.0};
    return 0;
}

std::int32_t section_card::start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) {
    id = registry_.add(filter, sink);
    {
        std::lock_guard lock(mutex_);
        delivered_since_start_ = 0;
        pass_told_ = false;
        real_start_ = std::chrono::steady_clock::now();
        stream_start_ = now_;
    }
    wake_.notify_all();
    return 0;
}

std::uint64_t section_card::now_ms() {
    std::lock_guard lock(mutex_);
    return now_;
}

void section_card::sleep_ms(std::uint32_t ms) {
    {
        std::lock_guard lock(mutex_);
        now_ += ms;
    }
    wake_.notify_all();
}

void section_card::set_alarm(std::uint64_t deadline_ms) {
    {
        std::lock_guard lock(mutex_);
        alarm_ = deadline_ms;
    }
    wake_.notify_all();
}

void section_card::stop_filter(card_filter_id id) {
    registry_.remove(id);
    wake_.notify_all();
}

void section_card::set_listener(card_listener* listener) {
    std::lock_guard lock(mutex_);
    listener_ = listener;
}

void section_card::deliver() {
    std::unique_lock lock(mutex_);
    for (;;) {
        wake_.wait(lock, [&] { return quit_ || alarm_due() || (!registry_.empty() && !pass_told_); });
        if (quit_) return;
        card_listener* listener = listener_;
        if (alarm_due()) {
            alarm_ = 0;
            const std::uint64_t now = now_;
            lock.unlock();
            if (listener != nullptr) listener->clock_reached(now);
            lock.lock();
            continue;
        }
        if (delivered_since_start_ >= stream_.size()) {
            pass_told_ = true;
            lock.unlock();
            if (listener != nullptr) listener->end_of_pass();
            lock.lock();
            continue;
        }
        const stream_section& section = stream_[next_];
        const std::uint64_t due = loop_start_ + section.time_ms;
        const auto real_due = real_start_ + std::chrono::milliseconds(due - std::min(due, stream_start_));
        if (paced_ && wake_.wait_until(lock, real_due, [&] { return quit_ || registry_.empty(); })) continue;
        now_ = std::max(now_, due);
        ++delivered_since_start_;
        if (++next_ == stream_.size()) {
            next_ = 0;
            loop_start_ = now_ + 1;
        }
        lock.unlock();
        for (const auto& entry : registry_.snapshot())
            if (matches(entry.filter, section))
                registry_.deliver(entry.id, section.bytes.data(),
                                  static_cast<std::int32_t>(section.bytes.size()));
        lock.lock();
    }
}

}  // namespace kestrel::testing
