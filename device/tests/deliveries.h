#pragma once

#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <vector>

namespace kestrel::testing {

// A filter callback's context that keeps every delivery, so that a test can wait for the
// delivery thread and look at what came.
struct deliveries {
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<std::vector<std::uint8_t>> got;

    static void callback(void* context, std::int32_t length, const std::uint8_t* data) {
        auto* self = static_cast<deliveries*>(context);
        {
            std::lock_guard lock(self->mutex);
            self->got.emplace_back(data, data + length);
        }
        self->changed.notify_all();
    }
    std::size_t count() {
        std::lock_guard lock(mutex);
        return got.size();
    }
    void wait_for(std::size_t n) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return got.size() >= n; });
    }
};

}  // namespace kestrel::testing
