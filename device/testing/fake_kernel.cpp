#include "device/testing/fake_kernel.h"

#include <sys/ioctl.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>

namespace kestrel::testing {

namespace {

std::string hex_bytes(const std::uint8_t* bytes, std::size_t n) {
    std::string text;
    char hex[4];
    for (std::size_t i = 0; i < n; ++i) {
        std::snprintf(hex, sizeof hex, i == 0 ? "%02X" : " %02X", bytes[i]);
        text += hex;
    }
    return text;
}

fe_type type_of_system(std::uint32_t system) {
    switch (system) {
        case SYS_DVBS:
        case SYS_DVBS2:
            return FE_QPSK;
        case SYS_DVBC_ANNEX_A:
        case SYS_DVBC_ANNEX_C:
            return FE_QAM;
        case SYS_ATSC:
            return FE_ATSC;
        default:
            return FE_OFDM;
    }
}

// What DTV_CLEAR leaves in a property the tuning did not set.
std::uint32_t cleared_value(std::uint32_t command) {
    switch (command) {
        case DTV_STREAM_ID:
            return NO_STREAM_ID_FILTER;
        case DTV_INNER_FEC:
        case DTV_CODE_RATE_HP:
        case DTV_CODE_RATE_LP:
            return FEC_AUTO;
        case DTV_MODULATION:
            return QAM_AUTO;
        case DTV_ROLLOFF:
            return ROLLOFF_AUTO;
        case DTV_PILOT:
            return PILOT_AUTO;
        case DTV_GUARD_INTERVAL:
            return GUARD_INTERVAL_AUTO;
        case DTV_TRANSMISSION_MODE:
            return TRANSMISSION_MODE_AUTO;
        case DTV_HIERARCHY:
            return HIERARCHY_AUTO;
        default:
            return 0;
    }
}

unsigned long by_value(void* argument) {
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(argument));
}

}  // namespace

fake_kernel::fake_kernel() {
    std::strcpy(info.name, "Fake Frontend");
    info.type = FE_QPSK;
}

std::vector<std::string> fake_kernel::events() const {
    std::lock_guard lock(mutex_);
    return events_;
}

void fake_kernel::clear_events() {
    std::lock_guard lock(mutex_);
    events_.clear();
}

std::map<std::uint32_t, std::uint32_t> fake_kernel::tuned() const {
    std::lock_guard lock(mutex_);
    std::map<std::uint32_t, std::uint32_t> values;
    for (const auto& p : tuned_)
        values[p.cmd] = p.u.data;
    return values;
}

std::vector<std::uint32_t> fake_kernel::tuned_commands() const {
    std::lock_guard lock(mutex_);
    std::vector<std::uint32_t> commands;
    for (const auto& p : tuned_)
        commands.push_back(p.cmd);
    return commands;
}

dmx_sct_filter_params fake_kernel::section_filter() const {
    std::lock_guard lock(mutex_);
    return section_filter_;
}

dmx_pes_filter_params fake_kernel::packet_filter() const {
    std::lock_guard lock(mutex_);
    return packet_filter_;
}

unsigned long fake_kernel::buffer_size() const {
    std::lock_guard lock(mutex_);
    return buffer_size_;
}

void fake_kernel::fail(unsigned long request, int error, int times) {
    std::lock_guard lock(mutex_);
    failures_[request] = {error, times};
}

bool fake_kernel::failing(unsigned long request) {
    const auto it = failures_.find(request);
    if (it == failures_.end() || it->second.second == 0) return false;
    --it->second.second;
    errno = it->second.first;
    return true;
}

std::vector<std::uint32_t> fake_kernel::offered_systems() const {
    if (!delivery_systems.empty()) return delivery_systems;
    switch (info.type) {
        case FE_QPSK:
            return {SYS_DVBS};
        case FE_QAM:
            return {SYS_DVBC_ANNEX_A};
        case FE_OFDM:
            return {SYS_DVBT};
        default:
            return {SYS_ATSC};
    }
}

void fake_kernel::note(std::string event) {
    events_.push_back(std::move(event));
}

void fake_kernel::queue_chunk(std::uint16_t pid, chunk c) {
    {
        std::lock_guard lock(mutex_);
        for (auto& [fd, d] : fds_)
            if (d.demux && d.pid == pid) d.queue.push_back(c);
    }
    changed_.notify_all();
}

void fake_kernel::feed(std::uint16_t pid, std::vector<std::uint8_t> bytes) {
    queue_chunk(pid, {std::move(bytes), 0});
}
void fake_kernel::feed_error(std::uint16_t pid, int error) {
    queue_chunk(pid, {{}, error});
}

void fake_kernel::drain() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] {
        return std::all_of(fds_.begin(), fds_.end(),
                           [](const auto& entry) { return entry.second.queue.empty(); });
    });
}

int fake_kernel::open(const char* path, int) {
    std::lock_guard lock(mutex_);
    if (failing(0)) return -1;
    int adapter = -1;
    char node[16] = {};
    if (std::sscanf(path, "/dev/dvb/adapter%d/%15s", &adapter, node) != 2 || !adapters.contains(adapter)) {
        errno = ENOENT;
        return -1;
    }
    if (const auto refused = open_errors.find(adapter); refused != open_errors.end()) {
        errno = refused->second;
        return -1;
    }
    const int fd = next_fd_++;
    fds_[fd].demux = std::strcmp(node, "demux0") == 0;
    return fd;
}

int fake_kernel::close(int fd) {
    std::lock_guard lock(mutex_);
    if (fds_.erase(fd) == 0) {
        errno = EBADF;
        return -1;
    }
    changed_.notify_all();
    return 0;
}

int fake_kernel::ioctl(int fd, unsigned long request, void* argument) {
    std::lock_guard lock(mutex_);
    if (failing(request)) return -1;
    switch (request) {
        case FE_GET_INFO: {
            auto* out = static_cast<dvb_frontend_info*>(argument);
            *out = info;
            if (tuned_system_ != SYS_UNDEFINED) out->type = type_of_system(tuned_system_);
            return 0;
        }
        case FE_READ_STATUS:
            note("FE_READ_STATUS");
            *static_cast<fe_status_t*>(argument) = locked ? FE_HAS_LOCK : fe_status_t{};
            return 0;
        case FE_READ_SIGNAL_STRENGTH:
            *static_cast<std::uint16_t*>(argument) = strength;
            return 0;
        case FE_READ_BER:
            *static_cast<std::uint32_t*>(argument) = ber;
            return 0;
        case FE_SET_VOLTAGE: {
            const auto v = by_value(argument);
            note(std::string("FE_SET_VOLTAGE ") + (v == SEC_VOLTAGE_13   ? "13"
                                                   : v == SEC_VOLTAGE_18 ? "18"
                                                                         : "off"));
            return 0;
        }
        case FE_SET_TONE:
            note(std::string("FE_SET_TONE ") + (by_value(argument) == SEC_TONE_ON ? "on" : "off"));
            return 0;
        case FE_DISEQC_SEND_MASTER_CMD: {
            const auto* cmd = static_cast<dvb_diseqc_master_cmd*>(argument);
            note("FE_DISEQC_SEND_MASTER_CMD " + hex_bytes(cmd->msg, cmd->msg_len));
            return 0;
        }
        case FE_DISEQC_SEND_BURST:
            note(std::string("FE_DISEQC_SEND_BURST ") + (by_value(argument) == SEC_MINI_A ? "A" : "B"));
            return 0;
        case FE_SET_PROPERTY: {
            const auto* list = static_cast<dtv_properties*>(argument);
            const std::vector<std::uint32_t> offered = offered_systems();
            for (std::uint32_t i = 0; i < list->num; ++i) {
                const dtv_property& p = list->props[i];
                // An API before 5.11 ends its commands before the scrambling index.
                if (p.cmd == DTV_SCRAMBLING_SEQUENCE_INDEX && api_version < 0x050B) {
                    errno = EINVAL;
                    return -1;
                }
                if (p.cmd != DTV_DELIVERY_SYSTEM) continue;
                if (std::find(offered.begin(), offered.end(), p.u.data) == offered.end()) {
                    errno = EINVAL;
                    return -1;
                }
                tuned_system_ = p.u.data;
            }
            tuned_.assign(list->props, list->props + list->num);
            note("FE_SET_PROPERTY");
            return 0;
        }
        case FE_GET_PROPERTY: {
            // Statistics as the test gives them; tuned values read back.
            auto* list = static_cast<dtv_properties*>(argument);
            for (std::uint32_t i = 0; i < list->num; ++i) {
                dtv_property& p = list->props[i];
                const auto it = std::find_if(tuned_.begin(), tuned_.end(),
                                             [&](const dtv_property& t) { return t.cmd == p.cmd; });
                if (p.cmd == DTV_ENUM_DELSYS) {
                    const std::vector<std::uint32_t> offered = offered_systems();
                    p.u.buffer.len = static_cast<std::uint32_t>(offered.size());
                    std::copy(offered.begin(), offered.end(), p.u.buffer.data);
                } else if (p.cmd == DTV_API_VERSION) {
                    p.u.data = api_version;
                } else if (p.cmd >= DTV_STAT_SIGNAL_STRENGTH && p.cmd <= DTV_STAT_TOTAL_BLOCK_COUNT) {
                    const auto stat = statistics.find(p.cmd);
                    p.u.st.len = stat == statistics.end() ? 0 : 1;
                    if (stat != statistics.end()) p.u.st.stat[0] = stat->second;
                } else {
                    p.u.data = it == tuned_.end() ? cleared_value(p.cmd) : it->u.data;
                }
            }
            return 0;
        }
        case DMX_SET_BUFFER_SIZE:
            if (fds_[fd].running) {
                errno = EBUSY;
                return -1;
            }
            buffer_size_ = by_value(argument);
            return 0;
        case DMX_SET_FILTER:
            section_filter_ = *static_cast<dmx_sct_filter_params*>(argument);
            fds_[fd].pid = section_filter_.pid;
            fds_[fd].running = true;
            return 0;
        case DMX_SET_PES_FILTER:
            packet_filter_ = *static_cast<dmx_pes_filter_params*>(argument);
            fds_[fd].pid = packet_filter_.pid;
            fds_[fd].running = true;
            return 0;
        case DMX_STOP:
            fds_[fd].pid = -1;
            fds_[fd].running = false;
            return 0;
        default:
            errno = ENOTTY;
            return -1;
    }
}

int fake_kernel::poll(pollfd* fds, nfds_t count, int timeout_ms) {
    std::unique_lock lock(mutex_);
    auto ready = [&] {
        int n = 0;
        for (nfds_t i = 0; i < count; ++i) {
            const auto it = fds_.find(fds[i].fd);
            fds[i].revents = it != fds_.end() && !it->second.queue.empty() ? POLLIN : 0;
            n += fds[i].revents != 0;
        }
        return n;
    };
    changed_.wait_for(lock, std::chrono::milliseconds(timeout_ms), [&] { return ready() > 0; });
    return ready();
}

ssize_t fake_kernel::read(int fd, void* buffer, std::size_t size) {
    std::lock_guard lock(mutex_);
    const auto it = fds_.find(fd);
    if (it == fds_.end() || it->second.queue.empty()) {
        errno = it == fds_.end() ? EBADF : EAGAIN;
        return -1;
    }
    chunk c = std::move(it->second.queue.front());
    it->second.queue.pop_front();
    changed_.notify_all();
    if (c.error != 0) {
        errno = c.error;
        return -1;
    }
    const std::size_t n = std::min(size, c.bytes.size());
    std::memcpy(buffer, c.bytes.data(), n);
    return static_cast<ssize_t>(n);
}

std::uint64_t fake_kernel::now_ms() {
    std::lock_guard lock(mutex_);
    return now_;
}

void fake_kernel::sleep_ms(std::uint32_t ms) {
    std::lock_guard lock(mutex_);
    now_ += ms;
    note("sleep " + std::to_string(ms));
}

}  // namespace kestrel::testing
