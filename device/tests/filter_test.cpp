#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <memory>
#include <sstream>
#include <thread>
#include <vector>

#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "device/tests/deliveries.h"
#include "device/tests/event_capture.h"

namespace kestrel {
namespace {

using testing::event_capture;
using testing::fake_card;

const std::uint8_t pat_id[] = {0x00};
const std::uint8_t full_mask[] = {0xFF};

std::vector<std::uint8_t> section(std::uint8_t table_id, std::uint8_t tag = 0) {
    return {table_id, 0xB0, 0x05, 0x00, 0x01, tag, 0x00, 0x00};
}

struct Filters : ::testing::Test {
    fake_card* card = nullptr;
    std::unique_ptr<dvb_device_techotrend> device;
    event_capture log;
    testing::deliveries got;

    void SetUp() override {
        auto owned = std::make_unique<fake_card>();
        card = owned.get();
        device = std::make_unique<dvb_device_techotrend>(std::move(owned));
        ASSERT_EQ(device->init(), result::ok);
    }
    filter_handle add_pat() {
        filter_handle h = nullptr;
        EXPECT_EQ(
            device->add_filter(2, 0, 1024, pat_id, full_mask, 1, &testing::deliveries::callback, &got, h),
            result::ok);
        return h;
    }
    // Records PID 0x200 into `out` on another thread, once its filter runs on the card.
    std::future<std::uint32_t> record(std::ostream& out, FilterCallback callback = nullptr,
                                      void* context = nullptr) {
        auto recording = std::async(std::launch::async, [this, &out, callback, context] {
            filter_handle h = nullptr;
            return device->add_stream_filter(0, 0x200, 1024, out, nullptr, nullptr, 0, callback, context, h);
        });
        while (card->filter_count() == 0)
            std::this_thread::yield();
        return recording;
    }
};

TEST_F(Filters, KindsAndArgumentsAreChecked) {
    filter_handle untouched = reinterpret_cast<filter_handle>(0x1234);
    EXPECT_EQ(device->add_filter(0, 0, 1024, pat_id, full_mask, 1, nullptr, nullptr, untouched),
              result::failed);
    EXPECT_EQ(untouched, reinterpret_cast<filter_handle>(0x1234));
    EXPECT_EQ(
        device->add_file_filter(1, 0, 1024, "/tmp/x", pat_id, full_mask, 1, nullptr, nullptr, untouched),
        result::failed);
    EXPECT_EQ(device->add_filter(2, 0x2000, 1024, pat_id, full_mask, 1, nullptr, nullptr, untouched),
              result::failed);
    EXPECT_TRUE(log.has("PID out of range: 0x2000", 1)) << log.all();
    const std::uint8_t long_filter[17] = {};
    EXPECT_EQ(device->add_filter(2, 0, 1024, long_filter, long_filter, 17, nullptr, nullptr, untouched),
              result::failed);
    EXPECT_TRUE(log.has("Filter too long: 17", 1));
    card->set().start_filter = 22;
    EXPECT_EQ(device->add_filter(2, 0, 1024, pat_id, full_mask, 1, nullptr, nullptr, untouched),
              result::failed);
    EXPECT_TRUE(log.has("Failed to set filter: 22", 1));
    EXPECT_EQ(untouched, reinterpret_cast<filter_handle>(0x1234));
    EXPECT_EQ(card->filter_count(), 0u);
}

TEST_F(Filters, MatchingSectionsReachTheCallbackUntilStopped) {
    const filter_handle h = add_pat();
    card->feed(0, section(0x00, 1));
    card->feed(0, section(0x02));  // another table on the PID
    card->feed(1, section(0x00));  // another PID
    card->drain();
    ASSERT_EQ(got.count(), 1u);
    EXPECT_EQ(got.got[0], section(0x00, 1));

    EXPECT_EQ(device->stop_filter(h), result::ok);
    char line[80];
    std::snprintf(line, sizeof line, "dvb_device_techotrend::TTFilter::StopFilter(%#lx) active=1",
                  static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(h)));
    EXPECT_TRUE(log.has(line, 3)) << log.all();
    card->feed(0, section(0x00, 2));
    card->drain();
    EXPECT_EQ(got.count(), 1u);
    // A second stop finds it stopped and does not reset the card filter again.
    card->clear_calls();
    device->stop_filter(h);
    line[std::strlen(line) - 1] = '0';
    EXPECT_TRUE(log.has(line, 3));
    EXPECT_TRUE(card->calls().empty());
    // An unknown handle is ignored.
    EXPECT_EQ(device->stop_filter(reinterpret_cast<filter_handle>(0x10)), result::ok);
    EXPECT_EQ(device->wait_filters(), result::ok);
    EXPECT_EQ(device->stop_filter(), result::ok);
    EXPECT_EQ(card->filter_count(), 0u);
}

TEST_F(Filters, FileFilterWritesDeliveriesBeforeTheCallback) {
    const auto path =
        std::filesystem::temp_directory_path() / ("kestrel-file-filter-" + std::to_string(getpid()));
    filter_handle h = nullptr;
    ASSERT_EQ(device->add_file_filter(0, 0x100, 1024, path.c_str(), nullptr, nullptr, 0,
                                      &testing::deliveries::callback, &got, h),
              result::ok);
    const std::vector<std::uint8_t> packet(188, 0x47);
    card->feed(0x100, packet);
    card->feed(0x100, packet);
    card->drain();
    device->stop_filter(h);
    card->feed(0x100, packet);
    card->drain();
    EXPECT_EQ(std::filesystem::file_size(path), 2 * 188u);
    EXPECT_EQ(got.count(), 2u);
    device->stop_filter();
    std::filesystem::remove(path);
    EXPECT_EQ(device->add_file_filter(0, 0x100, 1024, "/nonexistent/dir/x.ts", nullptr, nullptr, 0, nullptr,
                                      nullptr, h),
              result::failed);
    EXPECT_TRUE(log.has("Failed to create file /nonexistent/dir/x.ts", 1));
}

TEST_F(Filters, PacketFilterHandsChunksToTheCallbackUntilStopped) {
    filter_handle h = nullptr;
    EXPECT_EQ(device->add_packet_filter(0x2001, &testing::deliveries::callback, &got, h), result::failed);
    EXPECT_TRUE(log.has("PID out of range: 0x2001", 1)) << log.all();
    ASSERT_EQ(device->add_packet_filter(whole_stream_pid, &testing::deliveries::callback, &got, h), result::ok);
    const std::vector<std::uint8_t> chunk(3 * 188, 0x47);
    card->feed(whole_stream_pid, chunk);
    card->drain();
    device->stop_filter(h);
    card->feed(whole_stream_pid, chunk);
    card->drain();
    ASSERT_EQ(got.count(), 1u);
    EXPECT_EQ(got.got[0], chunk);
    // A stop of all filters takes the packet filters too.
    ASSERT_EQ(device->add_packet_filter(0x100, &testing::deliveries::callback, &got, h), result::ok);
    device->stop_filter();
    EXPECT_EQ(card->filter_count(), 0u);
}

TEST_F(Filters, StreamFilterRecordsUntilStoppedFromAnotherThread) {
    std::ostringstream out;
    auto recording = record(out, &testing::deliveries::callback, &got);
    card->feed(0x200, std::vector<std::uint8_t>(188, 1));
    card->drain();
    EXPECT_EQ(recording.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    device->stop_filter();
    EXPECT_EQ(recording.get(), result::ok);
    EXPECT_EQ(out.str().size(), 188u);
    EXPECT_EQ(got.count(), 1u);
}

TEST_F(Filters, StreamFilterReturnsOnlyWhenNoDeliveryWritesAnyMore) {
    // A stream whose write holds until released: the caller of the recording may free the
    // stream the moment the recording returns, so it must not return under a running write.
    struct held_buffer : std::streambuf {
        std::promise<void> entered;
        std::shared_future<void> released;
        std::streamsize xsputn(const char*, std::streamsize n) override {
            entered.set_value();
            released.wait();
            return n;
        }
    } buffer;
    std::promise<void> release;
    buffer.released = release.get_future().share();
    std::ostream out(&buffer);
    auto recording = record(out);
    card->feed(0x200, std::vector<std::uint8_t>(188, 1));
    buffer.entered.get_future().wait();
    auto stopping = std::async(std::launch::async, [&] { return device->stop_filter(); });
    // Wake the recording's wait (an expiring time-out) while the stop waits for the write.
    for (int i = 0; i < 10 && recording.wait_for(std::chrono::milliseconds(5)) != std::future_status::ready;
         ++i) {
        device->arm_timeout(1, [] {});
        card->advance(1);
    }
    EXPECT_EQ(recording.wait_for(std::chrono::milliseconds(0)), std::future_status::timeout);
    release.set_value();
    EXPECT_EQ(stopping.get(), result::ok);
    EXPECT_EQ(recording.get(), result::ok);
}

TEST_F(Filters, StopAllFromAnotherThreadStopsTheFilterBeingAdded) {
    std::future<std::uint32_t> stopping;
    card->set().during_start = [&] {
        stopping = std::async(std::launch::async, [&] { return device->stop_filter(); });
        // The stop may wait for this start to be over; it must not be lost meanwhile.
        stopping.wait_for(std::chrono::milliseconds(50));
    };
    add_pat();
    EXPECT_EQ(stopping.get(), result::ok);
    ASSERT_EQ(card->filter_count(), 0u);
    card->feed(0, section(0x00));
    EXPECT_EQ(device->wait_filters(), result::ok);
    card->drain();
    EXPECT_EQ(got.count(), 0u);
}

TEST_F(Filters, StreamFilterEndsAtEndOfPass) {
    std::ostringstream out;
    auto recording = record(out);
    card->feed(0x200, std::vector<std::uint8_t>(188, 1));
    card->feed_end_of_pass();
    EXPECT_EQ(recording.get(), result::ok);
    EXPECT_EQ(out.str().size(), 188u);
}

TEST_F(Filters, StopAllWaitsForARunningCallback) {
    struct blocking {
        std::promise<void> entered;
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> finished{false};
        static void callback(void* context, std::int32_t, const std::uint8_t*) {
            auto* self = static_cast<blocking*>(context);
            self->entered.set_value();
            self->released.wait();
            self->finished = true;
        }
    } b;
    filter_handle h = nullptr;
    ASSERT_EQ(device->add_filter(2, 0, 1024, pat_id, full_mask, 1, &blocking::callback, &b, h), result::ok);
    card->feed(0, section(0x00));
    b.entered.get_future().wait();
    auto stopping = std::async(std::launch::async, [&] { return device->stop_filter(); });
    EXPECT_EQ(stopping.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    b.release.set_value();
    EXPECT_EQ(stopping.get(), result::ok);
    EXPECT_TRUE(b.finished);
    EXPECT_EQ(card->filter_count(), 0u);
}

TEST_F(Filters, CallbackMayStopItsOwnFilterAndAll) {
    struct self_stopping {
        dvb_device_techotrend* device;
        filter_handle handle = nullptr;
        bool all = false;
        static void callback(void* context, std::int32_t, const std::uint8_t*) {
            auto* self = static_cast<self_stopping*>(context);
            if (self->all)
                self->device->stop_filter();
            else
                self->device->stop_filter(self->handle);
        }
    } one{device.get()}, all{device.get(), nullptr, true};
    ASSERT_EQ(
        device->add_filter(2, 0, 1024, pat_id, full_mask, 1, &self_stopping::callback, &one, one.handle),
        result::ok);
    card->feed(0, section(0x00));
    EXPECT_EQ(device->wait_filters(), result::ok);
    ASSERT_EQ(
        device->add_filter(2, 0, 1024, pat_id, full_mask, 1, &self_stopping::callback, &all, all.handle),
        result::ok);
    card->feed(0, section(0x00));
    EXPECT_EQ(device->wait_filters(), result::ok);
    card->drain();
    EXPECT_EQ(card->filter_count(), 0u);
}

}  // namespace
}  // namespace kestrel
