#pragma once

#include <linux/dvb/dmx.h>
#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <mutex>
#include <set>
#include <string>
#include <vector>

#include "device/linux/linux_kernel.h"

namespace kestrel::testing {

// A kernel with DVB adapters that exist only in memory: it writes down every frontend
// call and sleep in order, answers with a scripted lock, keeps the demux filters set on it,
// lets the test feed data (or errors) to them, and fails calls on request.
class fake_kernel final : public linux_kernel {
  public:
    std::set<int> adapters{0};
    // Adapter -> the errno opening its nodes fails with (EACCES: a user outside the group video).
    std::map<int, int> open_errors;
    dvb_frontend_info info{};
    // DTV_ENUM_DELSYS; empty: the one system of info.type. As in dvb-core, FE_GET_INFO's type
    // follows the delivery system tuned last, and a tuning to a system not offered fails.
    std::vector<std::uint32_t> delivery_systems;
    bool locked = true;
    std::uint16_t strength = 0xC000;     // FE_READ_SIGNAL_STRENGTH
    std::uint32_t ber = 0;               // FE_READ_BER
    std::uint32_t api_version = 0x050B;  // DTV_API_VERSION, 5.11
    // DTV_STAT_... by command; a statistic not given here reads as not available (len 0).
    std::map<std::uint32_t, dtv_stats> statistics;

    fake_kernel();

    // "FE_SET_VOLTAGE 13", "FE_SET_TONE off", "sleep 15", "FE_DISEQC_SEND_MASTER_CMD E0 10 38 F9",
    // "FE_DISEQC_SEND_BURST A", "FE_SET_PROPERTY", "FE_READ_STATUS", in the order made.
    std::vector<std::string> events() const;
    void clear_events();
    // The property list of the last FE_SET_PROPERTY as command -> value. As in dvb-core,
    // every property the list did not set reads back as DTV_CLEAR left it (automatic).
    std::map<std::uint32_t, std::uint32_t> tuned() const;
    std::vector<std::uint32_t> tuned_commands() const;
    dmx_sct_filter_params section_filter() const;
    dmx_pes_filter_params packet_filter() const;
    // The DMX_SET_BUFFER_SIZE of the last filter set; like the real demux, the fake refuses
    // it (EBUSY) once the descriptor's filter runs.
    unsigned long buffer_size() const;

    // The next `times` calls of the ioctl (or of open, request 0) fail with `error`.
    void fail(unsigned long request, int error, int times = 1);
    // Queues bytes (or a read error) on the demux filter of the PID.
    void feed(std::uint16_t pid, std::vector<std::uint8_t> bytes);
    void feed_error(std::uint16_t pid, int error);
    // Returns when every fed chunk has been read.
    void drain();

    int open(const char* path, int flags) override;
    int close(int fd) override;
    int ioctl(int fd, unsigned long request, void* argument) override;
    int poll(pollfd* fds, nfds_t count, int timeout_ms) override;
    ssize_t read(int fd, void* buffer, std::size_t size) override;
    std::uint64_t now_ms() override;
    void sleep_ms(std::uint32_t ms) override;

  private:
    struct chunk {
        std::vector<std::uint8_t> bytes;
        int error;
    };
    struct descriptor {
        bool demux;
        int pid = -1;
        bool running = false;
        std::deque<chunk> queue;
    };

    bool failing(unsigned long request);
    std::vector<std::uint32_t> offered_systems() const;
    void note(std::string event);
    void queue_chunk(std::uint16_t pid, chunk c);

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<std::string> events_;
    std::map<unsigned long, std::pair<int, int>> failures_;  // request -> error, times
    std::map<int, descriptor> fds_;
    int next_fd_ = 10;
    std::uint64_t now_ = 0;
    std::vector<dtv_property> tuned_;
    std::uint32_t tuned_system_ = SYS_UNDEFINED;
    dmx_sct_filter_params section_filter_{};
    dmx_pes_filter_params packet_filter_{};
    unsigned long buffer_size_ = 0;
};

}  // namespace kestrel::testing
