#include "device/linux/linux_card.h"

#include <fcntl.h>
#include <linux/dvb/dmx.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <iterator>
#include <optional>

#include "device/linux/delivery_systems.h"
#include "device/linux/demux_reads.h"
#include "device/linux/frontend_statistics.h"
#include "log/event_log.h"

namespace kestrel {

namespace {

constexpr int max_adapters = 16;
constexpr int poll_interval_ms = 50;  // new filters join the poll within this time
constexpr std::uint64_t lock_check_interval_ms = 500;
// A read of a section filter gives at most one section of at most 4096 bytes; a packet
// filter's reads are made large so that a whole transport stream needs few of them.
constexpr std::size_t section_read_size = 4096;
constexpr std::size_t packet_read_size = 188 * 256;
// The driver's buffers: the default 8 KiB runs over in a burst of long EIT sections, and a
// whole transport stream needs room for the time the delivery thread is busy elsewhere.
constexpr unsigned long section_buffer_size = 256 * 1024;
constexpr unsigned long packet_buffer_size = 4 * 1024 * 1024;

// The waits of the DiSEqC sequence.
constexpr std::uint32_t diseqc_settle_ms = 15;
constexpr std::uint32_t diseqc_repeat_gap_ms = 100;
constexpr std::uint8_t diseqc_repeat_framing = 0xE1;
constexpr std::size_t diseqc_max_message = 6;

std::string adapter_path(int adapter, const char* node) {
    return "/dev/dvb/adapter" + std::to_string(adapter) + "/" + node;
}

// Some ioctls take their argument by value.
void* by_value(unsigned long value) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(value));
}

// What DTV_API_VERSION gives when the driver does not answer: the API before the
// scrambling index.
constexpr std::uint32_t oldest_api = 0x0500;

}  // namespace

std::vector<int> linux_card::find_adapters(linux_kernel& kernel) {
    system_calls calls(kernel);
    std::vector<int> found;
    for (int n = 0; n < max_adapters; ++n) {
        const std::string path = adapter_path(n, "frontend0");
        const call_result r = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK);
        if (r.ok()) {
            calls.close(static_cast<int>(r.value));
            found.push_back(n);
        } else if (r.error != ENOENT && r.error != ENODEV && r.error != ENXIO && r.error != ENOTDIR) {
            found.push_back(n);  // there, but busy or not ours to open
        }
    }
    return found;
}

std::int32_t linux_card::describe_frontend(linux_kernel& kernel, int adapter, frontend_description& out) {
    system_calls calls(kernel);
    const std::string path = adapter_path(adapter, "frontend0");
    const call_result r = calls.open(path.c_str(), O_RDONLY | O_NONBLOCK);
    if (!r.ok()) return r.error;
    file_descriptor fd(calls, static_cast<int>(r.value));
    dvb_frontend_info info{};
    const call_result got = calls.ioctl(fd.get(), FE_GET_INFO, &info, "FE_GET_INFO");
    if (!got.ok()) return got.error;
    out.name = info.name;
    out.systems = read_delivery_systems(calls, fd.get(), info);
    return 0;
}

linux_card::linux_card(linux_kernel& kernel, int adapter, lib13818::DeliverySystem system)
    : kernel_(kernel),
      calls_(kernel),
      adapter_(adapter),
      adapters_(find_adapters(kernel)),
      wanted_system_(system),
      read_buffer_(std::max(section_read_size, packet_read_size)) {}

linux_card::~linux_card() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    if (delivery_.joinable()) delivery_.join();
}

std::int32_t linux_card::failed(const call_result& r) {
    event_log(1, "%s: %s", r.call, std::strerror(r.error));
    return r.error;
}

std::int32_t linux_card::call(int fd, unsigned long request, void* argument, const char* name) {
    const call_result r = calls_.ioctl(fd, request, argument, name);
    return r.ok() ? 0 : failed(r);
}

std::uint16_t linux_card::count() {
    return static_cast<std::uint16_t>(adapters_.size());
}

std::int32_t linux_card::describe(std::uint16_t index, card_description& out) {
    if (index >= adapters_.size()) return ENODEV;
    const int adapter = adapters_[index];
    out.location = adapter_path(adapter, "");
    out.location.pop_back();
    frontend_description frontend;
    if (const std::int32_t r = describe_frontend(kernel_, adapter, frontend); r != 0) {
        out.name = "adapter " + std::to_string(adapter);
        out.detail = std::strerror(r);
        return r;
    }
    out.name = frontend.name;
    out.detail = delivery_system_names(frontend.systems);
    return 0;
}

bool linux_card::open() {
    const std::string path = adapter_path(adapter_, "frontend0");
    const call_result r = calls_.open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (!r.ok()) {
        event_log(1, "%s %s: %s", r.call, path.c_str(), std::strerror(r.error));
        return false;
    }
    frontend_ = file_descriptor(calls_, static_cast<int>(r.value));
    std::lock_guard lock(mutex_);
    ensure_delivery_thread();
    return true;
}

// The driver loads the firmware itself: the card is booted once its frontend is open.
std::int32_t linux_card::boot(const std::string&) {
    return frontend_.valid() ? 0 : ENODEV;
}
std::int32_t linux_card::read_version() {
    return 0;
}
std::int32_t linux_card::init_frontend() {
    if (const std::int32_t r = call(frontend_.get(), FE_GET_INFO, &info_, "FE_GET_INFO"); r != 0) return r;
    systems_ = read_delivery_systems(calls_, frontend_.get(), info_);
    const std::optional<std::uint32_t> system = default_system(systems_, wanted_system_);
    if (!system) {
        event_log(1, "Frontend offers no %s (%s)",
                  wanted_system_ == lib13818::DeliverySystem::automatic ? "DVB-S, DVB-C or DVB-T"
                                                                        : lib13818::name(wanted_system_),
                  delivery_system_names(systems_).c_str());
        return ENODEV;
    }
    type_ = frontend_type_of_system(*system);
    facts_.system = *system;
    facts_.caps = info_.caps;
    dtv_property version = property(DTV_API_VERSION);
    dtv_properties list{1, &version};
    facts_.api_version = calls_.ioctl(frontend_.get(), FE_GET_PROPERTY, &list, "FE_GET_PROPERTY").ok()
                             ? version.u.data
                             : oldest_api;
    return 0;
}
std::int32_t linux_card::enable_data(bool) {
    return 0;
}
std::int32_t linux_card::frontend_type() {
    return type_;
}

std::uint32_t linux_card::capabilities() {
    std::uint32_t caps = 0;
    if (info_.caps & FE_CAN_FEC_AUTO) caps |= capability::auto_fec;
    if (info_.caps & FE_CAN_INVERSION_AUTO) caps |= capability::auto_inversion;
    if (info_.caps & FE_CAN_BANDWIDTH_AUTO) caps |= capability::auto_bandwidth;
    return caps;
}

std::int32_t linux_card::read_state(signal_state& out) {
    fe_status_t status{};
    if (const std::int32_t r = call(frontend_.get(), FE_READ_STATUS, &status, "FE_READ_STATUS"); r != 0)
        return r;
    out.locked = (status & FE_HAS_LOCK) != 0;
    read_level_and_error_rate(calls_, frontend_.get(), out);
    return 0;
}

std::int32_t linux_card::read_statistics(signal_statistics& out) {
    fe_status_t status{};
    if (const std::int32_t r = call(frontend_.get(), FE_READ_STATUS, &status, "FE_READ_STATUS"); r != 0)
        return r;
    read_frontend_statistics(calls_, frontend_.get(), (status & FE_HAS_LOCK) != 0, out);
    return 0;
}

bool linux_card::offers(lib13818::DeliverySystem system) {
    if (system == lib13818::DeliverySystem::automatic) return true;
    const std::uint32_t kernel = kernel_value(system);
    return frontend_type_of_system(kernel) == type_ &&
           std::find(systems_.begin(), systems_.end(), kernel) != systems_.end();
}

std::int32_t linux_card::send_diseqc(std::span<const std::uint8_t> message, std::uint8_t burst) {
    if (message.size() > diseqc_max_message) return EINVAL;
    std::lock_guard lock(tune_mutex_);
    queued_.push_back({{message.begin(), message.end()}, burst});
    return 0;
}

std::int32_t linux_card::set_channel(const ChannelRecord& record) {
    std::vector<diseqc_step> steps;
    {
        std::lock_guard lock(tune_mutex_);
        steps.swap(queued_);
        last_record_ = record;
    }
    frontend_facts frontend = facts_;
    frontend.system = system_to_tune(record.delivery.system);
    if (frontend.system == SYS_UNDEFINED) return EINVAL;
    std::vector<dtv_property> properties = tuning_properties(record, frontend);
    if (properties.empty()) return EINVAL;
    if (type_ == frontend_dvb_s)
        if (const std::int32_t r = send_diseqc_sequence(record, steps); r != 0) return r;
    return set_properties(std::move(properties));
}

std::uint32_t linux_card::system_to_tune(lib13818::DeliverySystem system) {
    if (system == lib13818::DeliverySystem::automatic) return facts_.system;
    if (offers(system)) return kernel_value(system);
    std::vector<std::uint32_t> own;
    std::copy_if(systems_.begin(), systems_.end(), std::back_inserter(own),
                 [&](std::uint32_t s) { return frontend_type_of_system(s) == type_; });
    event_log(1, "Frontend %s cannot tune %s (its %s systems: %s)", info_.name, lib13818::name(system),
              frontend_type_name(type_), delivery_system_names(own).c_str());
    return SYS_UNDEFINED;
}

// The LNB's supply, then the switch: voltage, tone off, the messages, the burst, the tone.
// Without supply there is nobody to talk to, so nothing but the voltage is sent.
std::int32_t linux_card::send_diseqc_sequence(const ChannelRecord& record,
                                              const std::vector<diseqc_step>& steps) {
    const int fe = frontend_.get();
    const std::uint32_t volts = record.word[channel_word::voltage];
    const auto voltage = volts == 13 ? SEC_VOLTAGE_13 : volts == 18 ? SEC_VOLTAGE_18 : SEC_VOLTAGE_OFF;
    if (const std::int32_t r = call(fe, FE_SET_VOLTAGE, by_value(voltage), "FE_SET_VOLTAGE"); r != 0)
        return r;
    if (voltage == SEC_VOLTAGE_OFF) return 0;
    if (const std::int32_t r = call(fe, FE_SET_TONE, by_value(SEC_TONE_OFF), "FE_SET_TONE"); r != 0) return r;
    calls_.sleep_ms(diseqc_settle_ms);

    std::uint8_t burst = diseqc_burst::none;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (steps[i].burst != diseqc_burst::none) burst = steps[i].burst;
        if (steps[i].message.empty()) continue;
        dvb_diseqc_master_cmd command{};
        std::copy(steps[i].message.begin(), steps[i].message.end(), command.msg);
        command.msg_len = static_cast<std::uint8_t>(steps[i].message.size());
        if (const std::int32_t r = call(fe, FE_DISEQC_SEND_MASTER_CMD, &command, "FE_DISEQC_SEND_MASTER_CMD");
            r != 0)
            return r;
        const bool repeat_follows = i + 1 < steps.size() && !steps[i + 1].message.empty() &&
                                    steps[i + 1].message[0] == diseqc_repeat_framing;
        calls_.sleep_ms(repeat_follows ? diseqc_repeat_gap_ms : diseqc_settle_ms);
    }
    if (burst != diseqc_burst::none) {
        const auto mini = burst == diseqc_burst::mini_a ? SEC_MINI_A : SEC_MINI_B;
        if (const std::int32_t r = call(fe, FE_DISEQC_SEND_BURST, by_value(mini), "FE_DISEQC_SEND_BURST");
            r != 0)
            return r;
        calls_.sleep_ms(diseqc_settle_ms);
    }
    const auto tone = record.word[channel_word::tone] != 0 ? SEC_TONE_ON : SEC_TONE_OFF;
    return call(fe, FE_SET_TONE, by_value(tone), "FE_SET_TONE");
}

std::int32_t linux_card::set_properties(std::vector<dtv_property> properties) {
    dtv_properties list{static_cast<std::uint32_t>(properties.size()), properties.data()};
    return call(frontend_.get(), FE_SET_PROPERTY, &list, "FE_SET_PROPERTY");
}

std::int32_t linux_card::get_channel(ChannelRecord& record) {
    std::vector<dtv_property> values = read_back_properties(facts_);
    dtv_properties list{static_cast<std::uint32_t>(values.size()), values.data()};
    if (const std::int32_t r = call(frontend_.get(), FE_GET_PROPERTY, &list, "FE_GET_PROPERTY"); r != 0)
        return r;
    ChannelRecord last;
    {
        std::lock_guard lock(tune_mutex_);
        last = last_record_;
    }
    if (type_ == frontend_none) return ENODEV;
    record = channel_from(values, last, type_, facts_);
    return 0;
}

// Linux frontends take 7 and 8 MHz and automatic alike.
std::int32_t linux_card::bandwidth_range(std::uint32_t& first, std::uint32_t& second) {
    first = 1;
    second = 3;
    return 0;
}

std::int32_t linux_card::start_filter(const card_filter& filter, filter_sink& sink, card_filter_id& id) {
    const std::string path = adapter_path(adapter_, "demux0");
    const call_result opened = calls_.open(path.c_str(), O_RDWR | O_NONBLOCK);
    if (!opened.ok()) return failed(opened);
    file_descriptor fd(calls_, static_cast<int>(opened.value));
    // Before the filter starts, or the driver refuses it; without it the default buffer serves.
    const bool sections = filter.type == card_filter_type::sections;
    call(fd.get(), DMX_SET_BUFFER_SIZE, by_value(sections ? section_buffer_size : packet_buffer_size),
         "DMX_SET_BUFFER_SIZE");
    std::int32_t r = 0;
    if (sections) {
        // No DMX_CHECK_CRC: the program reports CRC errors itself.
        dmx_sct_filter_params params{};
        params.pid = filter.pid;
        std::copy_n(filter.data.begin(), filter.length, params.filter.filter);
        std::copy_n(filter.mask.begin(), filter.length, params.filter.mask);
        params.flags = DMX_IMMEDIATE_START;
        r = call(fd.get(), DMX_SET_FILTER, &params, "DMX_SET_FILTER");
    } else {
        dmx_pes_filter_params params{};
        params.pid = filter.pid;
        params.input = DMX_IN_FRONTEND;
        params.output = DMX_OUT_TSDEMUX_TAP;
        params.pes_type = DMX_PES_OTHER;
        params.flags = DMX_IMMEDIATE_START;
        r = call(fd.get(), DMX_SET_PES_FILTER, &params, "DMX_SET_PES_FILTER");
    }
    if (r != 0) return r;
    id = registry_.add(filter, sink);
    {
        std::lock_guard lock(mutex_);
        filters_.emplace(id, open_filter{std::move(fd), filter.type, filter.pid});
        ensure_delivery_thread();
    }
    changed_.notify_all();
    return 0;
}

void linux_card::stop_filter(card_filter_id id) {
    registry_.remove(id);
    {
        std::lock_guard lock(mutex_);
        const auto it = filters_.find(id);
        if (it == filters_.end()) return;
        calls_.ioctl(it->second.fd.get(), DMX_STOP, nullptr, "DMX_STOP");
        // The delivery thread may still hold the descriptor in its poll: it closes it.
        closing_.push_back(std::move(it->second.fd));
        filters_.erase(it);
    }
    changed_.notify_all();
}

std::uint64_t linux_card::now_ms() {
    return calls_.now_ms();
}
void linux_card::sleep_ms(std::uint32_t ms) {
    calls_.sleep_ms(ms);
}

void linux_card::set_alarm(std::uint64_t deadline_ms) {
    {
        std::lock_guard lock(mutex_);
        alarm_ = deadline_ms;
        ensure_delivery_thread();
    }
    changed_.notify_all();
}

void linux_card::set_listener(card_listener* listener) {
    listener_ = listener;
}

void linux_card::ensure_delivery_thread() {
    if (!delivery_.joinable()) delivery_ = std::thread([this] { deliver_loop(); });
}

void linux_card::ring_alarm_if_due() {
    std::uint64_t now = 0;
    {
        std::lock_guard lock(mutex_);
        if (alarm_ == 0) return;
        now = calls_.now_ms();
        if (now < alarm_) return;
        alarm_ = 0;
    }
    if (card_listener* listener = listener_.load()) listener->clock_reached(now);
}

void linux_card::deliver_loop() {
    std::vector<pollfd> fds;
    std::vector<polled> polling;
    for (;;) {
        ring_alarm_if_due();
        int timeout = poll_interval_ms;
        {
            std::unique_lock lock(mutex_);
            closing_.clear();
            if (stopping_) return;
            if (alarm_ != 0) {
                const std::uint64_t now = calls_.now_ms();
                timeout = static_cast<int>(std::min<std::uint64_t>(alarm_ > now ? alarm_ - now : 0, timeout));
            }
            if (filters_.empty()) {
                // The next filters begin afresh: their lock is seen anew, no packet is pending.
                was_locked_.reset();
                next_lock_check_ = 0;
                partial_packets_.clear();
                if (alarm_ == 0)
                    changed_.wait(lock);
                else
                    changed_.wait_for(lock, std::chrono::milliseconds(timeout));
                continue;
            }
            fds.clear();
            polling.clear();
            for (const auto& [id, f] : filters_) {
                fds.push_back({f.fd.get(), POLLIN, 0});
                polling.push_back({id, f.type, f.pid});
            }
        }
        watch_lock();
        const call_result r = calls_.poll(fds.data(), fds.size(), timeout);
        if (!r.ok()) {
            failed(r);
            std::unique_lock lock(mutex_);
            changed_.wait_for(lock, std::chrono::milliseconds(poll_interval_ms));
            continue;
        }
        if (r.value > 0) deliver_ready(fds, polling);
    }
}

void linux_card::deliver_ready(const std::vector<pollfd>& fds, const std::vector<polled>& filters) {
    for (std::size_t i = 0; i < fds.size(); ++i) {
        if ((fds[i].revents & (POLLIN | POLLPRI | POLLERR)) == 0) continue;
        const polled& filter = filters[i];
        const std::size_t size =
            filter.type == card_filter_type::sections ? section_read_size : packet_read_size;
        const call_result r = calls_.read(fds[i].fd, read_buffer_.data(), size);
        if (r.ok()) {
            deliver_read(filter, read_buffer_.data(), static_cast<std::size_t>(r.value));
        } else if (r.error == EOVERFLOW) {
            // The driver's buffer ran over and was emptied: what was lost is lost, what
            // follows still counts, and a partial packet before the loss belongs to nothing.
            ++overflows_;
            partial_packets_.erase(filter.id);
            event_log(2, "Demux buffer overflow on PID %#x: data lost", filter.pid);
        } else if (r.error != EAGAIN) {
            failed(r);
        }
    }
}

void linux_card::deliver_read(const polled& filter, const std::uint8_t* data, std::size_t size) {
    const auto deliver = [&](const std::uint8_t* bytes, std::size_t n) {
        registry_.deliver(filter.id, bytes, static_cast<std::int32_t>(n));
    };
    if (filter.type == card_filter_type::packets) {
        deliver_packets(partial_packets_[filter.id], {data, size}, deliver);
        return;
    }
    if (const std::size_t dropped = deliver_sections({data, size}, deliver); dropped > 0)
        event_log(2, "Partial section on PID %#x: %zu bytes dropped", filter.pid, dropped);
}

void linux_card::watch_lock() {
    const std::uint64_t now = calls_.now_ms();
    if (now < next_lock_check_) return;
    next_lock_check_ = now + lock_check_interval_ms;
    fe_status_t status{};
    if (!calls_.ioctl(frontend_.get(), FE_READ_STATUS, &status, "FE_READ_STATUS").ok()) return;
    const bool locked = (status & FE_HAS_LOCK) != 0;
    if (was_locked_ && *was_locked_ != locked) {
        if (!locked) ++lock_losses_;
        event_log(locked ? 2 : 1,
                  locked ? "Frontend locked again" : "Frontend lost lock: no data until it locks again");
    }
    was_locked_ = locked;
}

delivery_faults linux_card::faults() {
    return {overflows_.load(), lock_losses_.load()};
}

}  // namespace kestrel
