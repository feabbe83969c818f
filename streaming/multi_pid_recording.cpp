#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "device/log_address.h"
#include "log/trace_log.h"
#include "streaming/recording.h"

namespace kestrel::streaming {

// One PID of the recording: its file, its device file filter and its byte counter.
class multi_pid_recording::Stream {
  public:
    Stream(int pid, const std::string& base_name, multi_pid_recording& owner,
           std::atomic<std::uint64_t>& bytes)
        : pid_(pid), base_name_(base_name), owner_(owner), bytes_(bytes) {
        global_trace().log(2, "CMulPIDStreamingRawDlg::Stream::Stream(%u,%s,%#lx)",
                           static_cast<unsigned>(pid), base_name.c_str(), log_address(&owner));
    }
    ~Stream() { global_trace().log(2, "CMulPIDStreamingRawDlg::Stream::~Stream()"); }
    Stream(const Stream&) = delete;
    Stream& operator=(const Stream&) = delete;

    void Init(dvb_device& device) {
        global_trace().log(2, "CMulPIDStreamingRawDlg::Stream::Init(%#lx)", log_address(this));
        file_ = output_name(base_name_, pid_);
        active_ = true;
        // Created here first, so that a file that cannot be created is said with its reason.
        std::FILE* probe = std::fopen(file_.c_str(), "wb");
        if (probe == nullptr) return fail("cannot create " + file_ + ": " + std::strerror(errno));
        std::fclose(probe);
        const std::uint32_t r =
            device.add_file_filter(filter_kind::packets, static_cast<std::uint16_t>(pid_), 1024,
                                   file_.c_str(), nullptr, nullptr, 0, &callback, this, handle_);
        if (r != result::ok)
            return fail("the device refused the filter (result " + std::to_string(r) + ": " +
                        result_meaning(r) + ")");
        has_file_ = true;
    }

    // Once every filter is stopped and deleted: the file is closed and holds what came.
    void Deinit() {
        global_trace().log(2, "CMulPIDStreamingRawDlg::Stream::Deinit()");
        if (!has_file_) return;
        std::error_code ec;
        const std::uintmax_t size = std::filesystem::file_size(file_, ec);
        const std::uint64_t delivered = bytes_.load();
        if (ec || size != delivered)
            fail("writing " + file_ + " failed: " + std::to_string(ec ? 0 : size) + " of " +
                 std::to_string(delivered) + " bytes in the file");
    }

    pid_outcome outcome() const { return {pid_, has_file_ ? file_ : std::string(), bytes_.load(), error_}; }

  private:
    static void callback(void* context, std::int32_t length, const std::uint8_t*) {
        auto* self = static_cast<Stream*>(context);
        const auto n = static_cast<std::uint64_t>(length);
        self->bytes_.fetch_add(n, std::memory_order_relaxed);
        self->owner_.bytes_.fetch_add(n, std::memory_order_relaxed);
    }

    // The PID goes without a file; the others record on.
    void fail(const std::string& why) {
        global_trace().log(1, "CMulPIDStreamingRawDlg::Stream PID %#x: %s", static_cast<unsigned>(pid_),
                           why.c_str());
        active_ = false;
        error_ = why;
    }

    int pid_;
    bool active_ = false;
    bool has_file_ = false;  // its filter started: the file holds what came, or says it failed
    std::string base_name_;
    std::string file_;
    filter_handle handle_ = nullptr;
    multi_pid_recording& owner_;
    std::atomic<std::uint64_t>& bytes_;
    std::string error_;
};

multi_pid_recording::multi_pid_recording(dvb_device& device, std::string base_name, std::span<const int> pids,
                                         completion_notice notice)
    : recording(device, std::move(notice)), base_name_(std::move(base_name)), plan_(plan_pids(pids)) {}

multi_pid_recording::~multi_pid_recording() {
    end_worker();
}

void multi_pid_recording::work() {
    global_trace().log(2, "CMulPIDStreamingRawDlg::_thread()");
    global_trace().log(2, "calling init_streaminfo()");
    // A cancel while the filters are being started may miss those started after it; it
    // ends the recording all the same, without a wait.
    const std::uint64_t stops_before = device_.stop_all_count();
    init_streaminfo();
    global_trace().log(2, "preparing parameters");
    if (!cancelled() && device_.stop_all_count() == stops_before) device_.wait_filters();
    // Once more, so that no callback runs into a stream that goes below.
    device_.stop_filter();
    for (const auto& stream : streams_) {
        stream->Deinit();
        outcomes_.push_back(stream->outcome());
    }
    for (const std::string& refused : plan_.refused)
        outcomes_.push_back({empty_pid, "", 0, refused});
    streams_.clear();
}

void multi_pid_recording::init_streaminfo() {
    global_trace().log(2, "CMulPIDStreamingRawDlg::init_streaminfo()");
    streams_.reserve(max_pids);
    for (std::size_t i = 0; i < plan_.pids.size(); ++i) {
        streams_.push_back(std::make_unique<Stream>(plan_.pids[i], base_name_, *this, pid_bytes_[i]));
        streams_.back()->Init(device_);
    }
}

}  // namespace kestrel::streaming
