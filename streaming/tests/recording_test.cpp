// The recording engine over a scripted card (counters, Cancel, failures) and over a fresh
// capture card (the files hold exactly the capture's packets of each PID; kestrel-cli
// record's tests check one PID and the failures that end in exit codes).

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <future>
#include <map>
#include <thread>

#include "device/capture/capture_card.h"
#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "streaming/recording.h"

namespace kestrel::streaming {
namespace {

using testing::fake_card;
using bytes = std::vector<std::uint8_t>;

TEST(OutputName, InsertsThePidBeforeTheFileNamesLastDot) {
    EXPECT_EQ(output_name("/x/a.b/rec", 0x0100), "/x/a.b/rec_0100");
    EXPECT_EQ(output_name("/x/a.b/rec.ts", 0x0101), "/x/a.b/rec_0101.ts");
    EXPECT_EQ(output_name("stream.bin", 0x1FFE), "stream_1FFE.bin");
    EXPECT_EQ(output_name("rec", 0), "rec_0000");
}

TEST(PlanPids, SkipsEmptyEntriesAndRefusesDuplicatesBadPidsAndMoreThan32) {
    std::vector<int> entries{0x1FFF, 0x100, 0x2001, 0x100, -1};
    for (int pid = 0; pid < 32; ++pid)
        entries.push_back(0x200 + pid);
    const pid_plan plan = plan_pids(entries);
    ASSERT_EQ(plan.pids.size(), 32u);
    EXPECT_EQ(plan.pids.front(), 0x100);
    EXPECT_EQ(plan.pids.back(), 0x21E);
    EXPECT_EQ(plan.refused, (std::vector<std::string>{
                                "PID 0x2001 out of range (0x0000 to 0x1FFE, or 0x2000 for the whole stream)",
                                "PID 0x0100 given twice: recorded once",
                                "PID -1 out of range (0x0000 to 0x1FFE, or 0x2000 for the whole stream)",
                                "more than 32 PIDs: 0x021F not recorded"}));
}

// n packets of the PID, back to back.
bytes packets(std::uint16_t pid, int n) {
    bytes all;
    for (int i = 0; i < n; ++i) {
        bytes p(188, static_cast<std::uint8_t>(i));
        p[0] = 0x47;
        p[1] = static_cast<std::uint8_t>(pid >> 8);
        p[2] = static_cast<std::uint8_t>(pid);
        p[3] = 0x10;
        all.insert(all.end(), p.begin(), p.end());
    }
    return all;
}

std::string read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Recording : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("kestrel-rec-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
        auto owned = std::make_unique<fake_card>();
        card_ = owned.get();
        device_ = std::make_unique<dvb_device_techotrend>(std::move(owned));
        ASSERT_EQ(device_->init(), result::ok);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // Waits (two seconds at most) until the condition holds.
    template <class Condition>
    static void wait_until(Condition done) {
        for (int i = 0; i < 2000 && !done(); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    static void wait_for_bytes(const recording& r, std::uint64_t n) {
        wait_until([&] { return r.bytes_read() >= n; });
    }
    void wait_for_filter() const {
        wait_until([&] { return card_->filter_count() > 0; });
    }

    std::filesystem::path folder_;
    fake_card* card_ = nullptr;
    std::unique_ptr<dvb_device_techotrend> device_;
};

TEST_F(Recording, AllEntriesEmptyEndsAtOnceWithoutAFilter) {
    const std::vector<int> pids(32, empty_pid);
    std::atomic<int> notices{0};
    multi_pid_recording r(*device_, path("rec.ts"), pids, [&] { ++notices; });
    r.start();
    r.join();
    EXPECT_TRUE(r.finished());
    EXPECT_EQ(notices, 1);
    EXPECT_TRUE(r.outcomes().empty());
    EXPECT_EQ(std::count(card_->calls().begin(), card_->calls().end(), "start_filter"), 0);
}

TEST_F(Recording, CountsEveryDeliveryPerPidAndInAllAndReportsFailuresPerPid) {
    // 0x0101 cannot get its file (a folder stands there) and 0x2001 is no PID; 0x0100 records.
    std::filesystem::create_directory(path("rec_0101.ts"));
    const std::vector<int> pids{0x100, 0x101, 0x2001};
    multi_pid_recording r(*device_, path("rec.ts"), pids);
    r.start();
    wait_for_filter();
    card_->feed(0x100, packets(0x100, 1));
    card_->feed(0x100, packets(0x100, 2));
    wait_for_bytes(r, 564);
    EXPECT_EQ(r.bytes_read(), 564u);
    EXPECT_EQ(r.pid_bytes(0), 564u);
    r.cancel();
    r.join();

    ASSERT_EQ(r.outcomes().size(), 3u);
    const pid_outcome& recorded = r.outcomes()[0];
    EXPECT_EQ(recorded.file, path("rec_0100.ts"));
    EXPECT_EQ(recorded.bytes, 564u);
    EXPECT_EQ(recorded.error, "");
    EXPECT_EQ(read_file(recorded.file).size(), 564u);
    EXPECT_EQ(r.outcomes()[1].file, "");
    EXPECT_EQ(r.outcomes()[1].error, "cannot create " + path("rec_0101.ts") + ": Is a directory");
    EXPECT_EQ(r.outcomes()[2].error,
              "PID 0x2001 out of range (0x0000 to 0x1FFE, or 0x2000 for the whole stream)");
}

TEST_F(Recording, CancelWhileTheFiltersAreBeingStartedEndsAtOnce) {
    const std::vector<int> pids{0x100, 0x101};
    multi_pid_recording r(*device_, path("rec.ts"), pids);
    // The Cancel takes the filters while the first is being started; the second comes after.
    std::future<void> cancel;
    const std::uint64_t stops = device_->stop_all_count();
    card_->set().during_start = [&] {
        if (cancel.valid()) return;
        cancel = std::async(std::launch::async, [&] { r.cancel(); });
        while (device_->stop_all_count() == stops)
            std::this_thread::yield();
    };
    r.start();
    // The card's clock stands still and no pass ends: only the Cancel can end it.
    wait_until([&] { return r.finished(); });
    EXPECT_TRUE(r.finished());
    if (!r.finished()) device_->stop_filter();  // fail, not hang
    r.join();
    cancel.get();
    EXPECT_EQ(card_->filter_count(), 0u);
    EXPECT_EQ(r.outcomes().size(), 2u);
}

TEST_F(Recording, SinglePidCountsBytesAndRatesThemOnTheCardsClock) {
    single_pid_recording r(*device_, path("one.ts"), 0x100);
    r.start();
    wait_for_filter();
    // Within the first millisecond: counted, no rate yet.
    card_->feed(0x100, packets(0x100, 1));
    wait_for_bytes(r, 188);
    EXPECT_EQ(r.rate(), 0u);
    card_->advance(940);
    card_->feed(0x100, packets(0x100, 9));
    wait_for_bytes(r, 1880);
    EXPECT_EQ(r.bytes_read(), 1880u);
    EXPECT_EQ(r.rate(), 2u);
    EXPECT_EQ(rate_text(r.rate()), "2 kb/s");
    r.cancel();
    r.join();
    ASSERT_EQ(r.outcomes().size(), 1u);
    EXPECT_EQ(r.outcomes()[0].error, "");
    EXPECT_EQ(read_file(path("one.ts")).size(), 1880u);
}

TEST_F(Recording, CancelOfASinglePidWithoutPacketsEndsIt) {
    // Cancel at once, perhaps before the filter is started, perhaps while the worker waits.
    for (int round = 0; round < 20; ++round) {
        single_pid_recording r(*device_, path("one.ts"), 0x100);
        r.start();
        if (round % 2 == 1) std::this_thread::sleep_for(std::chrono::milliseconds(2));
        r.cancel();
        r.join();
        ASSERT_EQ(r.outcomes().size(), 1u);
        EXPECT_EQ(r.outcomes()[0].bytes, 0u);
        EXPECT_EQ(r.outcomes()[0].error, "");
    }
    EXPECT_TRUE(std::filesystem::exists(path("one.ts")));
    EXPECT_EQ(card_->filter_count(), 0u);
}

// Every packet of each PID in the capture, in order (a 188-byte capture).
std::map<int, std::string> packets_by_pid(const std::string& capture) {
    const std::string data = read_file(capture);
    std::map<int, std::string> by_pid;
    for (std::size_t at = 0; at + 188 <= data.size(); at += 188)
        by_pid[((data[at + 1] & 0x1F) << 8) | static_cast<std::uint8_t>(data[at + 2])].append(data, at, 188);
    return by_pid;
}

class FreshCaptureCard : public Recording {
  protected:
    void SetUp() override {
        Recording::SetUp();
        capture_ = KESTREL_SHARED_DIR "/captures/test-103.ts";
        if (!std::filesystem::exists(capture_)) GTEST_SKIP() << "capture not found: " << capture_;
        std::string error;
        device_ = std::make_unique<dvb_device_techotrend>(capture_card::create({capture_}, error));
        ASSERT_EQ(error, "");
        ASSERT_EQ(device_->init(), result::ok);
    }
    std::string capture_;
};

TEST_F(FreshCaptureCard, SeveralPidsFilesHoldExactlyThosePidsPackets) {
    const std::vector<int> pids{0x00, 0x10, 0x11, 0x40};
    multi_pid_recording r(*device_, path("rec.ts"), pids);
    r.start();
    r.join();
    auto expected = packets_by_pid(capture_);
    ASSERT_EQ(r.outcomes().size(), pids.size());
    for (const pid_outcome& o : r.outcomes()) {
        EXPECT_EQ(o.error, "");
        EXPECT_EQ(o.bytes, expected[o.pid].size()) << o.pid;
        EXPECT_TRUE(read_file(o.file) == expected[o.pid]) << o.file;
    }
}

}  // namespace
}  // namespace kestrel::streaming
