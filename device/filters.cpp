#include <memory>
#include <utility>

#include "device/dvb_device_techotrend.h"
#include "device/log_address.h"
#include "device/tt_filter.h"
#include "log/event_log.h"

namespace kestrel {

std::uint32_t dvb_device_techotrend::add_filter(int kind, std::uint16_t pid, int buffer_size,
                                                const std::uint8_t* filter_data,
                                                const std::uint8_t* filter_mask, std::uint8_t filter_length,
                                                FilterCallback callback, void* context, filter_handle& out) {
    if (!card_ready()) return result::not_initialized;
    auto filter = std::make_shared<TTFilter>(*this);
    return start_filter(section_filters_, filter, out, [&] {
        return filter->add_filter(kind, pid, buffer_size, filter_data, filter_mask, filter_length, callback,
                                  context);
    });
}

std::uint32_t dvb_device_techotrend::add_packet_filter(std::uint16_t pid, FilterCallback callback,
                                                       void* context, filter_handle& out) {
    if (!card_ready()) return result::not_initialized;
    auto filter = std::make_shared<TTFilter>(*this);
    return start_filter(section_filters_, filter, out,
                        [&] { return filter->add_packets(pid, callback, context); });
}

std::uint32_t dvb_device_techotrend::add_file_filter(int kind, std::uint16_t pid, int, const char* file_name,
                                                     const std::uint8_t* filter_data,
                                                     const std::uint8_t* filter_mask,
                                                     std::uint8_t filter_length, FilterCallback callback,
                                                     void* context, filter_handle& out) {
    if (!card_ready()) return result::not_initialized;
    auto filter = std::make_shared<TTFileFilter>(*this);
    return start_filter(file_filters_, filter, out, [&] {
        return filter->add_filter(kind, pid, file_name, filter_data, filter_mask, filter_length, callback,
                                  context);
    });
}

std::uint32_t dvb_device_techotrend::add_stream_filter(int kind, std::uint16_t pid, int buffer_size,
                                                       std::ostream& stream, const std::uint8_t* filter_data,
                                                       const std::uint8_t* filter_mask,
                                                       std::uint8_t filter_length, FilterCallback callback,
                                                       void* context, filter_handle& out) {
    event_log(3, "dvb_device_techotrend::add_stream_filter(%d,%#x,%d,%#lx,%#lx,%d,%#lx,%#lx)", kind, pid,
              buffer_size, log_address(filter_data), log_address(filter_mask), filter_length,
              log_address(callback), log_address(context));
    if (!card_ready()) return result::not_initialized;
    auto filter = std::make_shared<TTFileFilter>(*this);
    const std::uint32_t started = start_filter(file_filters_, filter, out, [&] {
        return filter->add_stream(kind, pid, stream, filter_data, filter_mask, filter_length, callback,
                                  context);
    });
    if (started != result::ok) return started;
    // Not merely stopped but finished: the caller may free the stream once this returns.
    wait_until([&] { return filter->finished(); });
    return filter->write_failed() ? result::failed : result::ok;
}

std::uint32_t dvb_device_techotrend::start_filter(filter_set& set, std::shared_ptr<TTFilter> filter,
                                                  filter_handle& out,
                                                  const std::function<std::uint32_t()>& start) {
    const filter_handle handle = filter->handle();
    {
        // In the set before the card starts it: a stop of all filters from another thread
        // meanwhile stops this one too, once its start is over. Counted as started from
        // here, so that an end of pass that began before it cannot end its wait.
        std::lock_guard lock(lock_);
        set.emplace(handle, filter);
        ++starts_;
    }
    const bool started = start() == result::ok;
    {
        std::lock_guard lock(lock_);
        filter->settle(started);
        if (started) ++started_;
        if (!started) {
            set.erase(handle);  // unless a stop of all filters took it already
            --starts_;          // the card counts only the filters it started
        }
    }
    wake_.notify_all();
    if (!started) return result::failed;
    out = handle;
    return result::ok;
}

std::uint32_t dvb_device_techotrend::stop_filter(filter_handle handle) {
    event_log(3, "dvb_device_techotrend::stop_filter(%#lx)", log_address(handle));
    if (!card_ready()) return result::not_initialized;
    std::shared_ptr<TTFilter> filter;
    {
        std::lock_guard lock(lock_);
        if (auto it = section_filters_.find(handle); it != section_filters_.end())
            filter = it->second;
        else if (auto file = file_filters_.find(handle); file != file_filters_.end())
            filter = file->second;
    }
    // Outside the lock: stopping waits for a running callback, which may call the device.
    if (filter) filter->StopFilter();
    return result::ok;
}

std::uint32_t dvb_device_techotrend::stop_filter() {
    if (!card_ready()) return result::not_initialized;
    event_log(3, "dvb_device_techotrend::stop_filter()");
    filter_set sections, files;
    {
        std::lock_guard lock(lock_);
        sections.swap(section_filters_);
        files.swap(file_filters_);
        ++stop_alls_;  // with the sets taken: a filter added after this count escapes this stop
        ++stops_running_;
    }
    // Each stop waits for a callback running on the delivery thread, so no filter is
    // deleted under its own callback; the sets are empty meanwhile, so a callback that
    // stops filters itself finds nothing and does not wait for this thread.
    for (auto& entry : sections)
        entry.second->StopFilter();
    sections.clear();
    for (auto& entry : files)
        entry.second->StopFilter();
    files.clear();
    {
        // The filters another thread's stop took may still be delivering; once this returns,
        // the caller may free what they deliver to. A callback does not wait: the other stop
        // may be waiting for it.
        std::unique_lock lock(lock_);
        --stops_running_;
        if (!TTFilter::in_callback()) wake_.wait(lock, [&] { return stops_running_ == 0; });
    }
    wake_.notify_all();
    log_new_faults();
    return result::ok;
}

delivery_faults dvb_device_techotrend::faults() {
    return card_ ? card_->faults() : delivery_faults{};
}

void dvb_device_techotrend::log_new_faults() {
    const delivery_faults now = faults();
    delivery_faults before;
    {
        std::lock_guard lock(lock_);
        before = std::exchange(logged_faults_, now);
    }
    if (now.overflows > before.overflows)
        event_log(1, "Demux buffer overflows while the filters ran: %llu, data lost",
                  static_cast<unsigned long long>(now.overflows - before.overflows));
    if (now.lock_losses > before.lock_losses)
        event_log(1, "Frontend lost lock while the filters ran: %llu times",
                  static_cast<unsigned long long>(now.lock_losses - before.lock_losses));
}

bool dvb_device_techotrend::any_active_locked() const {
    for (const auto& entry : section_filters_)
        if (entry.second->active()) return true;
    for (const auto& entry : file_filters_)
        if (entry.second->active()) return true;
    return false;
}

std::uint32_t dvb_device_techotrend::wait_filters() {
    if (!card_ready()) return result::not_initialized;
    wait_until([this] { return !any_active_locked(); });
    return result::ok;
}

bool dvb_device_techotrend::pass_over_locked() const {
    return pass_starts_ && *pass_starts_ >= starts_;
}

void dvb_device_techotrend::wait_until(const std::function<bool()>& done) {
    std::unique_lock lock(lock_);
    for (;;) {
        if (done()) return;
        if (released_ != started_) {
            // The filters started together meet the same packets: a capture card plays them
            // one pass from the same packet on.
            released_ = started_;
            lock.unlock();
            card_->begin_delivery();
            lock.lock();
            continue;
        }
        if (timeout_.routine && (timeout_.due || pass_over_locked())) {
            // The routine runs here, on the waiting thread, as a timer's would in an
            // alertable wait.
            auto routine = std::move(timeout_.routine);
            timeout_ = {};
            lock.unlock();
            routine();
            lock.lock();
            // Only now: a capture card holds its delivery from the alarm until it is set
            // again, so that the routine acts at the deadline. A routine may arm anew.
            if (!timeout_.routine) {
                lock.unlock();
                card_->set_alarm(0);
                lock.lock();
            }
            continue;
        }
        if (pass_over_locked()) {
            // Nothing more can arrive and nobody armed a time-out: end the wait ourselves.
            pass_starts_.reset();
            lock.unlock();
            stop_filter();
            lock.lock();
            continue;
        }
        wake_.wait(lock);
    }
}

std::uint32_t dvb_device_techotrend::arm_timeout(std::uint32_t ms, std::function<void()> routine) {
    if (!card_ready() || !routine) return result::not_initialized;
    const std::uint64_t deadline = card_->now_ms() + ms;
    {
        std::lock_guard lock(lock_);
        // A time-out of 0 ms is due at once: on a clock still at 0 its alarm (0) would be
        // "no alarm" and never ring.
        timeout_ = {deadline, std::move(routine), ms == 0};
    }
    card_->set_alarm(deadline);
    return result::ok;
}

void dvb_device_techotrend::cancel_timeout() {
    {
        std::lock_guard lock(lock_);
        timeout_ = {};
    }
    if (card_) card_->set_alarm(0);
}

void dvb_device_techotrend::filter_stopped() {
    { std::lock_guard lock(lock_); }
    wake_.notify_all();
}

void dvb_device_techotrend::clock_reached(std::uint64_t now_ms) {
    {
        std::lock_guard lock(lock_);
        if (timeout_.routine && now_ms >= timeout_.deadline) timeout_.due = true;
    }
    wake_.notify_all();
}

void dvb_device_techotrend::end_of_pass(std::uint64_t starts) {
    {
        std::lock_guard lock(lock_);
        pass_starts_ = starts;
    }
    wake_.notify_all();
}

}  // namespace kestrel
