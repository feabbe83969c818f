#include "streaming/recording.h"

#include <algorithm>
#include <cstdio>

namespace kestrel::streaming {

recording::recording(dvb_device& device, completion_notice notice)
    : device_(device), notice_(std::move(notice)) {}

recording::~recording() {
    end_worker();
}

void recording::start() {
    worker_ = std::thread([this] {
        work();
        {
            std::lock_guard lock(cancel_lock_);
            over_ = true;
            // A cancel may have armed a time-out that no wait took: it must not end the next.
            if (cancelled_) device_.cancel_timeout();
        }
        finished_ = true;
        if (notice_) notice_();
    });
}

void recording::cancel() {
    std::lock_guard lock(cancel_lock_);
    if (over_) return;
    cancelled_ = true;
    stop_for_cancel();
}

void recording::stop_for_cancel() {
    device_.stop_filter();
}

void recording::join() {
    if (worker_.joinable()) worker_.join();
}

void recording::end_worker() {
    if (!worker_.joinable()) return;
    cancel();
    worker_.join();
}

std::string output_name(const std::string& base, int pid) {
    char suffix[16];
    std::snprintf(suffix, sizeof suffix, "_%04X", static_cast<unsigned>(pid));
    const std::size_t slash = base.find_last_of('/');
    const std::size_t name_start = slash == std::string::npos ? 0 : slash + 1;
    const std::size_t dot = base.find_last_of('.');
    if (dot == std::string::npos || dot < name_start) return base + suffix;
    return base.substr(0, dot) + suffix + base.substr(dot);
}

namespace {

std::string pid_text(int pid) {
    char text[32];
    std::snprintf(text, sizeof text, pid < 0 ? "%d" : "0x%04X", pid);
    return text;
}

}  // namespace

pid_plan plan_pids(std::span<const int> entries) {
    pid_plan plan;
    for (const int pid : entries) {
        if (pid == empty_pid) continue;
        if (!recordable_pid(pid))
            plan.refused.push_back("PID " + pid_text(pid) + " out of range (" + recordable_pids + ")");
        else if (std::find(plan.pids.begin(), plan.pids.end(), pid) != plan.pids.end())
            plan.refused.push_back("PID " + pid_text(pid) + " given twice: recorded once");
        else if (plan.pids.size() == max_pids)
            plan.refused.push_back("more than 32 PIDs: " + pid_text(pid) + " not recorded");
        else
            plan.pids.push_back(pid);
    }
    return plan;
}

std::string rate_text(std::uint64_t rate) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu kb/s", static_cast<unsigned long>(rate));
    return text;
}

}  // namespace kestrel::streaming
