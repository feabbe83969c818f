#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <memory>

#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"

namespace kestrel {
namespace {

using testing::fake_card;

const std::uint8_t pat_id[] = {0x00};
const std::uint8_t full_mask[] = {0xFF};

struct Timeout : ::testing::Test {
    fake_card* card = nullptr;
    std::unique_ptr<dvb_device_techotrend> device;
    std::atomic<std::thread::id> routine_thread{};

    void SetUp() override {
        auto owned = std::make_unique<fake_card>();
        card = owned.get();
        device = std::make_unique<dvb_device_techotrend>(std::move(owned));
        ASSERT_EQ(device->init(), result::ok);
        filter_handle h = nullptr;
        ASSERT_EQ(device->add_filter(2, 0, 1024, pat_id, full_mask, 1, nullptr, nullptr, h), result::ok);
    }
    void arm(std::uint32_t ms) {
        ASSERT_EQ(device->arm_timeout(ms,
                                      [this] {
                                          routine_thread = std::this_thread::get_id();
                                          device->stop_filter();
                                      }),
                  result::ok);
    }
};

TEST_F(Timeout, ExpiryRunsTheRoutineOnTheWaitingThread) {
    arm(30000);
    auto waiting = std::async(std::launch::async, [&] {
        device->wait_filters();
        return std::this_thread::get_id();
    });
    card->advance(29999);
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    card->advance(1);
    const std::thread::id waiter = waiting.get();
    EXPECT_EQ(waiter, routine_thread.load());
    EXPECT_EQ(card->filter_count(), 0u);
}

TEST_F(Timeout, CancelledTimeoutNeverRuns) {
    arm(100);
    device->cancel_timeout();
    card->advance(1000);
    auto waiting = std::async(std::launch::async, [&] { return device->wait_filters(); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    device->stop_filter();  // Cancel from another thread ends the wait
    EXPECT_EQ(waiting.get(), result::ok);
    EXPECT_EQ(routine_thread.load(), std::thread::id{});
}

TEST_F(Timeout, EndOfPassRunsTheArmedRoutineAtOnce) {
    arm(30000);
    card->feed_end_of_pass();
    EXPECT_EQ(device->wait_filters(), result::ok);
    EXPECT_EQ(routine_thread.load(), std::this_thread::get_id());
    EXPECT_EQ(card->now_ms(), 0u);
}

TEST_F(Timeout, EndOfPassWithoutTimeoutStopsEveryFilter) {
    card->feed_end_of_pass();
    EXPECT_EQ(device->wait_filters(), result::ok);
    EXPECT_EQ(card->filter_count(), 0u);
}

TEST_F(Timeout, EndOfPassBeforeANewFilterDoesNotEndItsWait) {
    card->feed_end_of_pass();
    card->drain();
    filter_handle h = nullptr;
    ASSERT_EQ(device->add_filter(2, 0, 1024, pat_id, full_mask, 1, nullptr, nullptr, h), result::ok);
    auto waiting = std::async(std::launch::async, [&] { return device->wait_filters(); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    card->feed_end_of_pass();
    EXPECT_EQ(waiting.get(), result::ok);
}

TEST_F(Timeout, EndOfAnEarlierPassReportedWhileAFilterStartsDoesNotEndItsWait) {
    // The delivery thread finishes the pass of the filters before while the next one is added.
    card->set().during_start = [this] {
        card->feed_end_of_pass();
        card->drain();
    };
    filter_handle h = nullptr;
    ASSERT_EQ(device->add_filter(2, 0, 1024, pat_id, full_mask, 1, nullptr, nullptr, h), result::ok);
    card->set().during_start = nullptr;
    arm(30000);
    auto waiting = std::async(std::launch::async, [&] { return device->wait_filters(); });
    EXPECT_EQ(waiting.wait_for(std::chrono::milliseconds(20)), std::future_status::timeout);
    card->feed_end_of_pass();
    EXPECT_EQ(waiting.get(), result::ok);
    EXPECT_NE(routine_thread.load(), std::thread::id{});
}

}  // namespace
}  // namespace kestrel
