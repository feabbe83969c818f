#include <cerrno>
#include <cstring>
#include <fstream>
#include <vector>

#include "log/trace_log.h"
#include "streaming/recording.h"

namespace kestrel::streaming {

single_pid_recording::single_pid_recording(dvb_device& device, std::string file_name, int pid,
                                           int buffer_size, completion_notice notice)
    : recording(device, std::move(notice)),
      file_name_(std::move(file_name)),
      pid_(pid),
      buffer_size_(buffer_size) {}

single_pid_recording::~single_pid_recording() {
    end_worker();
}

void single_pid_recording::on_delivery(void* context, std::int32_t length, const std::uint8_t*) {
    auto* self = static_cast<single_pid_recording*>(context);
    const std::uint64_t total =
        self->bytes_.fetch_add(static_cast<std::uint64_t>(length), std::memory_order_relaxed) + length;
    const std::uint64_t elapsed = self->device_.clock_ms() - self->start_ms_.load(std::memory_order_relaxed);
    if (elapsed > 0) self->rate_.store(total / elapsed, std::memory_order_relaxed);
}

void single_pid_recording::stop_for_cancel() {
    // The stop reaches a recording that runs; the time-out's routine, which runs once the
    // worker waits, one whose filter is still being started.
    device_.arm_timeout(0, [this] { device_.stop_filter(); });
    device_.stop_filter();
}

void single_pid_recording::work() {
    pid_outcome outcome{pid_, file_name_, 0, ""};
    const auto report = [&](const std::string& why) {
        global_trace().log(1, "PID %#x: %s", static_cast<unsigned>(pid_), why.c_str());
        outcome.error = why;
    };
    std::vector<char> buffer(static_cast<std::size_t>(buffer_size_ > 0 ? buffer_size_ : 8192));
    std::ofstream out;
    out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
    if (!recordable_pid(pid_)) {
        report(std::string("PID out of range (") + recordable_pids + ")");
        outcome.file.clear();
    } else if (out.open(file_name_, std::ios::binary | std::ios::trunc); !out) {
        report("cannot create " + file_name_ + ": " + std::strerror(errno));
        outcome.file.clear();
    } else if (!cancelled()) {
        start_ms_ = device_.clock_ms();
        filter_handle handle = nullptr;
        const std::uint32_t r =
            device_.add_stream_filter(filter_kind::packets, static_cast<std::uint16_t>(pid_), buffer_size_,
                                      out, nullptr, nullptr, 0, &on_delivery, this, handle);
        if (r != result::ok && out)
            report("the device refused the filter (result " + std::to_string(r) + ": " + result_meaning(r) +
                   ")");
    }
    device_.stop_filter();
    if (out.is_open()) {
        out.close();
        if (!out) report("writing " + file_name_ + " failed");
    }
    outcome.bytes = bytes_.load();
    outcomes_.push_back(outcome);
}

}  // namespace kestrel::streaming
