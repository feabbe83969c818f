#include "device/tt_filter.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "device/log_address.h"
#include "log/event_log.h"

namespace kestrel {

dvb_device_techotrend::TTFilter::~TTFilter() {
    // Normally stopped already; a filter never outlives its card filter.
    if (phase_.exchange(phase::stopped) == phase::active) device_.card_->stop_filter(id_);
}

std::uint32_t dvb_device_techotrend::TTFilter::add_filter(int kind, std::uint16_t pid, int buffer_size,
                                                          const std::uint8_t* filter_data,
                                                          const std::uint8_t* filter_mask,
                                                          std::uint8_t filter_length, FilterCallback callback,
                                                          void* context) {
    event_log(3, "dvb_device_techotrend::TTFilter::add_filter(%d,%#x,%d,%#lx,%#lx,%d,%#lx,%#lx)", kind, pid,
              buffer_size, log_address(filter_data), log_address(filter_mask), filter_length,
              log_address(callback), log_address(context));
    if (kind != filter_kind::sections) return result::not_supported;
    callback_ = callback;
    context_ = context;
    return start(card_filter_type::sections, pid, filter_data, filter_mask, filter_length);
}

std::uint32_t dvb_device_techotrend::TTFilter::add_packets(std::uint16_t pid, FilterCallback callback,
                                                           void* context) {
    event_log(3, "dvb_device_techotrend::TTFilter::add_packets(%#x,%#lx,%#lx)", pid, log_address(callback),
              log_address(context));
    callback_ = callback;
    context_ = context;
    return start(card_filter_type::packets, pid, nullptr, nullptr, 0);
}

namespace {

// A PID beyond 13 bits (but the whole stream's, for packets), more filter bytes than the
// demux compares, or bytes missing would make the card filter something else than the
// caller asked for.
bool filter_arguments_valid(card_filter_type type, std::uint16_t pid, const std::uint8_t* filter_data,
                            const std::uint8_t* filter_mask, std::uint8_t filter_length) {
    if (pid > 0x1FFF && !(type == card_filter_type::packets && pid == whole_stream_pid)) {
        event_log(1, "PID out of range: %#x", pid);
        return false;
    }
    if (filter_length > max_filter_bytes) {
        event_log(1, "Filter too long: %d", filter_length);
        return false;
    }
    if (filter_length > 0 && (filter_data == nullptr || filter_mask == nullptr)) {
        event_log(1, "Filter bytes missing: %d", filter_length);
        return false;
    }
    return true;
}

card_filter_type type_of_kind(int kind) {
    return kind == filter_kind::packets ? card_filter_type::packets : card_filter_type::sections;
}

}  // namespace

std::uint32_t dvb_device_techotrend::TTFilter::start(card_filter_type type, std::uint16_t pid,
                                                     const std::uint8_t* filter_data,
                                                     const std::uint8_t* filter_mask,
                                                     std::uint8_t filter_length) {
    if (!filter_arguments_valid(type, pid, filter_data, filter_mask, filter_length)) return result::failed;
    card_filter filter;
    filter.type = type;
    filter.pid = pid;
    filter.length = filter_length;
    std::copy_n(filter_data, filter_length, filter.data.begin());
    std::copy_n(filter_mask, filter_length, filter.mask.begin());
    // Deliveries pass while the card starts the filter, so that the first one is not lost.
    const std::int32_t r = device_.card_->start_filter(filter, *this, id_);
    if (r != 0) {
        event_log(1, "Failed to set filter: %d", r);
        return result::failed;
    }
    return result::ok;
}

void dvb_device_techotrend::TTFilter::on_data_arrival(const std::uint8_t* data, std::int32_t length) {
    // Nothing of the filter is touched after the callback: it may delete the filter.
    if (!active()) return;
    call_back(data, length);
}

namespace {

thread_local int callbacks_running = 0;

}  // namespace

bool dvb_device_techotrend::TTFilter::in_callback() {
    return callbacks_running > 0;
}

void dvb_device_techotrend::TTFilter::call_back(const std::uint8_t* data, std::int32_t length) {
    if (callback_ == nullptr) return;
    ++callbacks_running;
    callback_(context_, length, data);
    --callbacks_running;
}

void dvb_device_techotrend::TTFilter::StopFilter() {
    {
        // The card id is known, and the card filter can be stopped, once the add is over;
        // card starts never wait for the delivery thread, so this wait ends soon.
        std::unique_lock lock(device_.lock_);
        device_.wake_.wait(lock, [&] { return phase_.load() != phase::starting; });
    }
    const bool was_active = phase_.exchange(phase::stopped) == phase::active;
    event_log(3, "dvb_device_techotrend::%s::StopFilter(%#lx) active=%d", class_name(), log_address(this),
              was_active ? 1 : 0);
    if (!was_active) return;
    device_.card_->stop_filter(id_);
    finish();
    finished_ = true;
    device_.filter_stopped();
}

std::uint32_t dvb_device_techotrend::TTFileFilter::add_filter(
    int kind, std::uint16_t pid, const char* file_name, const std::uint8_t* filter_data,
    const std::uint8_t* filter_mask, std::uint8_t filter_length, FilterCallback callback, void* context) {
    event_log(3, "dvb_device_techotrend::TTFileFilter::add_filter(%d,%#x,%s,%#lx,%#lx,%d,%#lx,%#lx)", kind,
              pid, file_name != nullptr ? file_name : "(null)", log_address(filter_data),
              log_address(filter_mask), filter_length, log_address(callback), log_address(context));
    callback_ = callback;
    context_ = context;
    if (kind != filter_kind::packets && kind != filter_kind::sections) return result::not_supported;
    if (file_name == nullptr ||
        !filter_arguments_valid(type_of_kind(kind), pid, filter_data, filter_mask, filter_length))
        return result::failed;
    name_ = file_name;
    file_ = std::make_unique<std::ofstream>(name_, std::ios::binary | std::ios::trunc);
    if (!*file_) {
        event_log(1, "Failed to create file %s", file_name);
        return result::failed;
    }
    const std::uint32_t r = start_output(kind, pid, filter_data, filter_mask, filter_length);
    if (r != result::ok) {
        // Nothing will ever be written: leave no empty file behind.
        file_.reset();
        std::error_code ignored;
        std::filesystem::remove(name_, ignored);
    }
    return r;
}

std::uint32_t dvb_device_techotrend::TTFileFilter::add_stream(
    int kind, std::uint16_t pid, std::ostream& stream, const std::uint8_t* filter_data,
    const std::uint8_t* filter_mask, std::uint8_t filter_length, FilterCallback callback, void* context) {
    callback_ = callback;
    context_ = context;
    if (kind != filter_kind::packets && kind != filter_kind::sections) return result::not_supported;
    name_ = "stream";
    out_ = &stream;
    return start_output(kind, pid, filter_data, filter_mask, filter_length);
}

std::uint32_t dvb_device_techotrend::TTFileFilter::start_output(int kind, std::uint16_t pid,
                                                                const std::uint8_t* filter_data,
                                                                const std::uint8_t* filter_mask,
                                                                std::uint8_t filter_length) {
    if (out_ == nullptr) out_ = file_.get();
    return start(type_of_kind(kind), pid, filter_data, filter_mask, filter_length);
}

void dvb_device_techotrend::TTFileFilter::on_data_arrival(const std::uint8_t* data, std::int32_t length) {
    if (!active()) return;
    out_->write(reinterpret_cast<const char*>(data), length);
    if (!*out_) {
        // A recording that cannot be written must not carry on as if it could.
        if (!write_failed_.exchange(true)) event_log(1, "Failed to write %s", name_.c_str());
        StopFilter();
        return;
    }
    call_back(data, length);
}

void dvb_device_techotrend::TTFileFilter::finish() {
    out_->flush();
    if (!*out_ && !write_failed_.exchange(true)) event_log(1, "Failed to write %s", name_.c_str());
}

}  // namespace kestrel
