// The capture card driven through the device object, as the demultiplexer and the tuning use it.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <thread>
#include <vector>

#include "device/capture/capture_card.h"
#include "device/capture/tests/capture_fixture.h"
#include "device/dvb_device_techotrend.h"

namespace kestrel {
namespace {

using testing::bytes;
using testing::make_section;

// What a filter received, on the card's delivery thread.
struct received {
    std::mutex mutex;
    std::vector<bytes> sections;
    std::vector<std::uint64_t> clock_ms;
    dvb_device* device = nullptr;

    static void callback(void* context, std::int32_t length, const std::uint8_t* data) {
        auto* self = static_cast<received*>(context);
        std::lock_guard lock(self->mutex);
        self->sections.emplace_back(data, data + length);
        if (self->device) self->clock_ms.push_back(self->device->clock_ms());
    }
    std::set<std::uint8_t> table_ids() {
        std::lock_guard lock(mutex);
        std::set<std::uint8_t> ids;
        for (const bytes& s : sections)
            ids.insert(s[0]);
        return ids;
    }
};

class CaptureCard : public testing::capture_folder {
  protected:
    // A device over a capture card for the SPEC path, initialised.
    std::unique_ptr<dvb_device_techotrend> device_for(const capture_options& options) {
        std::string error;
        auto card = capture_card::create(options, error);
        EXPECT_EQ(error, "");
        auto device = std::make_unique<dvb_device_techotrend>(std::move(card));
        EXPECT_EQ(device->init(), result::ok);
        device->set_lnb_config({diseqc_mode::committed, 9750000, 10600000, 11700000, true});
        return device;
    }

    std::uint32_t add(dvb_device& device, std::uint16_t pid, std::initializer_list<std::uint8_t> data,
                      std::initializer_list<std::uint8_t> mask, received& into) {
        filter_handle handle = nullptr;
        return device.add_filter(filter_kind::sections, pid, 4096, std::data(data), std::data(mask),
                                 static_cast<std::uint8_t>(data.size()), &received::callback, &into, handle);
    }
};

TEST_F(CaptureCard, FiltersSectionsByTableIdMaskAndExtension) {
    std::vector<bytes> sections;
    for (std::uint8_t id : {0x4E, 0x4F, 0x50, 0x51, 0x5F, 0x60})
        sections.push_back(make_section(id, 300));
    const std::string path = write("eit.ts", mux({{0x12, sections, 100}}));
    auto device = device_for({path});

    received schedule, present, by_extension;
    ASSERT_EQ(add(*device, 0x12, {0x50}, {0xF0}, schedule), result::ok);
    ASSERT_EQ(add(*device, 0x12, {0x4E}, {0xFF}, present), result::ok);
    // Filter byte 1 meets section byte 3: table_id_extension 0x1234 is in every section.
    ASSERT_EQ(add(*device, 0x12, {0x60, 0x12}, {0xFF, 0xFF}, by_extension), result::ok);
    // No time-out armed: the end of pass stops every filter.
    ASSERT_EQ(device->wait_filters(), result::ok);

    EXPECT_EQ(schedule.table_ids(), (std::set<std::uint8_t>{0x50, 0x51, 0x5F}));
    EXPECT_EQ(present.table_ids(), std::set<std::uint8_t>{0x4E});
    EXPECT_EQ(by_extension.table_ids(), std::set<std::uint8_t>{0x60});
    // The carousel comes ten times a second and the last filter started saw a whole second
    // (the earlier ones perhaps more), wherever in the capture its pass started.
    EXPECT_GE(by_extension.sections.size(), 9u);
    EXPECT_GE(present.sections.size(), 9u);
    EXPECT_EQ(present.sections.front(), sections[0]);
}

TEST_F(CaptureCard, CollectionEndsAtEndOfPassWhenATableIsMissing) {
    const std::string path = write("pat.ts", mux({{0x00, {make_section(0x00, 20)}, 100}}, true, 2000));
    auto device = device_for({path});
    received sdt;
    ASSERT_EQ(add(*device, 0x11, {0x42}, {0xFF}, sdt), result::ok);
    std::atomic<bool> timed_out{false};
    ASSERT_EQ(device->arm_timeout(30000,
                                  [&] {
                                      timed_out = true;
                                      device->stop_filter();
                                  }),
              result::ok);
    ASSERT_EQ(device->wait_filters(), result::ok);
    // The time-out's routine ran at the end of pass, after two seconds of stream, not thirty.
    EXPECT_TRUE(timed_out);
    EXPECT_TRUE(sdt.sections.empty());
    EXPECT_GE(device->clock_ms(), 1900u);
    EXPECT_LT(device->clock_ms(), 2100u);
}

// The card's own events, as the device would get them.
struct alarm_listener : card_listener, filter_sink {
    std::mutex mutex;
    std::condition_variable done;
    std::vector<std::uint64_t> rang_at;
    std::vector<std::uint64_t> pass_starts;  // of each end of pass

    void clock_reached(std::uint64_t now_ms) override {
        std::lock_guard lock(mutex);
        rang_at.push_back(now_ms);
    }
    void end_of_pass(std::uint64_t starts) override {
        std::lock_guard lock(mutex);
        pass_starts.push_back(starts);
        done.notify_all();
    }
    void on_data_arrival(const std::uint8_t*, std::int32_t) override {}
    std::size_t rings() {
        std::lock_guard lock(mutex);
        return rang_at.size();
    }
    // The count of starts of the n-th end of pass, once it came.
    std::uint64_t wait_for_pass(std::size_t n) {
        std::unique_lock lock(mutex);
        done.wait(lock, [&] { return pass_starts.size() >= n; });
        return pass_starts[n - 1];
    }
};

// The capture card of the capture at path, open, its events going to the listener.
std::unique_ptr<capture_card> open_card(const std::string& path, alarm_listener& listener) {
    std::string error;
    auto card = capture_card::create({path}, error);
    EXPECT_EQ(error, "");
    card->set_listener(&listener);
    EXPECT_TRUE(card->open());
    return card;
}

TEST_F(CaptureCard, AlarmRingsOnceWhenTheStreamClockReachesIt) {
    alarm_listener listener;
    auto card =
        open_card(write("pat.ts", mux({{0x00, {make_section(0x00, 20)}, 100}}, true, 2000)), listener);
    card->set_alarm(500);
    card_filter filter;
    filter.pid = 0x00;
    card_filter_id id = 0;
    ASSERT_EQ(card->start_filter(filter, listener, id), 0);
    card->begin_delivery();
    // The card plays nothing from its alarm on until the alarm is set again.
    while (listener.rings() == 0)
        std::this_thread::yield();
    const std::uint64_t held_at = card->now_ms();
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    EXPECT_EQ(card->now_ms(), held_at);
    card->set_alarm(0);
    listener.wait_for_pass(1);
    card->stop_filter(id);
    // A sleep past a new alarm rings it on the sleeping thread.
    card->set_alarm(card->now_ms() + 750);
    card->sleep_ms(750);
    card->set_listener(nullptr);
    std::lock_guard lock(listener.mutex);
    ASSERT_EQ(listener.rang_at.size(), 2u);
    EXPECT_GE(listener.rang_at[0], 500u);
    EXPECT_LT(listener.rang_at[0], 505u);
    EXPECT_GE(listener.rang_at[1], 2750u);
}

TEST_F(CaptureCard, EndOfPassNamesTheFilterStartsItCovers) {
    alarm_listener listener;
    auto card =
        open_card(write("pat.ts", mux({{0x00, {make_section(0x00, 20)}, 100}}, true, 1000)), listener);
    card_filter filter;
    card_filter_id first = 0, second = 0;
    ASSERT_EQ(card->start_filter(filter, listener, first), 0);
    card->begin_delivery();
    EXPECT_EQ(listener.wait_for_pass(1), 1u);
    ASSERT_EQ(card->start_filter(filter, listener, second), 0);
    card->begin_delivery();
    EXPECT_EQ(listener.wait_for_pass(2), 2u);
    card->stop_filter(first);
    card->stop_filter(second);
    card->set_listener(nullptr);
}

TEST_F(CaptureCard, StreamClockRisesAcrossTheLoopPoint) {
    const std::string path = write("pat.ts", mux({{0x00, {make_section(0x00, 20)}, 100}}, true, 1000));
    auto device = device_for({path});
    received pat;
    pat.device = device.get();
    // Three passes: each stops at the end of pass and the next goes on from there.
    for (int pass = 0; pass < 3; ++pass) {
        ASSERT_EQ(add(*device, 0x00, {0x00}, {0xFF}, pat), result::ok);
        ASSERT_EQ(device->wait_filters(), result::ok);
    }
    ASSERT_EQ(pat.clock_ms.size(), 30u);
    for (std::size_t i = 1; i < pat.clock_ms.size(); ++i)
        EXPECT_GE(pat.clock_ms[i], pat.clock_ms[i - 1] + 90) << i;
    EXPECT_NEAR(static_cast<double>(device->clock_ms()), 3000.0, 30.0);
    // Sleeps advance the clock and deliver nothing.
    const std::uint64_t before = device->clock_ms();
    std::uint32_t locked = device->set_tuner(12.322, 0, 0, 27800000, 0);
    EXPECT_EQ(locked, result::ok);  // a single capture is always locked
    EXPECT_GE(device->clock_ms(), before + 770);
    EXPECT_EQ(pat.clock_ms.size(), 30u);
}

TEST_F(CaptureCard, LocksOnlyWhereTheManifestSaysAndPlaysThatCapture) {
    write("a.ts", mux({{0x00, {make_section(0x00, 20, 1)}, 100}}));
    write("b.ts", mux({{0x00, {make_section(0x00, 20, 2)}, 100}}));
    const std::string manifest = write("sat.manifest",
                                       "0 12322000 H 27800000 a.ts\n"
                                       "1 11778000 V 27500000 b.ts\n");
    auto device = device_for({manifest});
    EXPECT_EQ(device->set_tuner(12.322, 0, 0, 27800000, 0), result::ok);
    EXPECT_TRUE(device->is_locked());
    EXPECT_EQ(device->get_signal_level(), 80u);
    EXPECT_EQ(device->get_signal_quality(), 100u);
    EXPECT_EQ(device->set_tuner(12.322, 1, 0, 27800000, 0), result::failed);  // vertical
    EXPECT_FALSE(device->is_locked());
    EXPECT_EQ(device->set_tuner(12.322, 0, 0, 27800000, 1), result::failed);  // other satellite
    EXPECT_EQ(device->set_tuner(11.7795, 1, 0, 27500000, 1), result::ok);

    received pat;
    ASSERT_EQ(add(*device, 0x00, {0x00}, {0xFF}, pat), result::ok);
    ASSERT_EQ(device->wait_filters(), result::ok);
    ASSERT_FALSE(pat.sections.empty());
    EXPECT_EQ(pat.sections.front()[6], 2);  // section_number marks b.ts

    // Mode 0 sends only a reset: position 1 cannot be reached.
    device->set_lnb_config({diseqc_mode::none, 9750000, 10600000, 11700000, true});
    EXPECT_EQ(device->set_tuner(11.778, 1, 0, 27500000, 1), result::failed);
    // With the LNB off there is no signal at all.
    device->set_lnb_config({diseqc_mode::committed, 9750000, 10600000, 11700000, false});
    EXPECT_EQ(device->set_tuner(12.322, 0, 0, 27800000, 0), result::failed);

    // Unlocked, a collection ends at once instead of waiting for its time-out.
    received none;
    ASSERT_EQ(add(*device, 0x00, {0x00}, {0xFF}, none), result::ok);
    ASSERT_EQ(device->wait_filters(), result::ok);
    EXPECT_TRUE(none.sections.empty());
}

TEST_F(CaptureCard, ReadsBackTheSystemAndStreamItDelivers) {
    write("a.ts", mux({}));
    const std::string manifest = write("s2.manifest",
                                       "0 12322000 H 27800000 a.ts\n"
                                       "0 11362000 H 27500000 system=dvb-s2 stream=4 a.ts\n"
                                       "0 11362000 H 27500000 system=dvb-s2 stream=9 a.ts\n");
    auto device = device_for({manifest});
    EXPECT_TRUE(device->offers_system(lib13818::DeliverySystem::dvb_s2));
    EXPECT_FALSE(device->offers_system(lib13818::DeliverySystem::dvb_t2));
    TUNERPARM t{1, 11.362, 0, 0, 27500000, 0, 0, 0, {}};
    t.delivery.system = lib13818::DeliverySystem::dvb_s2;
    ASSERT_EQ(device->set_tuner(t), result::ok);
    TUNERPARM back;
    ASSERT_EQ(device->get_tuner(back), result::ok);
    EXPECT_EQ(back.delivery.system, lib13818::DeliverySystem::dvb_s2);
    EXPECT_EQ(back.delivery.stream_id, 4);  // the lowest, as no stream was named
    ASSERT_EQ(device->set_tuner(12.322, 0, 0, 27800000, 0), result::ok);
    ASSERT_EQ(device->get_tuner(back), result::ok);
    EXPECT_EQ(back.delivery.system, lib13818::DeliverySystem::dvb_s);
    EXPECT_EQ(back.delivery.stream_id, -1);
}

TEST_F(CaptureCard, PacketFiltersGetWholePacketsOf192ByteCaptures) {
    ts::stream_builder builder(ts::format_192);
    ts::mux_plan plan;
    plan.duration_ms = 200;
    plan.carousels = {{0x00, {make_section(0x00, 20)}, 100}};
    plan.elementary_pids = {0x101};
    builder.add_mux(plan);
    const std::string path = write("m2ts.ts", builder.take());
    auto device = device_for({path});

    std::vector<std::uint8_t> recorded;
    std::ostringstream stream;
    filter_handle handle = nullptr;
    ASSERT_EQ(device->add_stream_filter(filter_kind::packets, 0x101, 1024, stream, nullptr, nullptr, 0,
                                        nullptr, nullptr, handle),
              result::ok);
    const std::string data = stream.str();
    ASSERT_FALSE(data.empty());
    ASSERT_EQ(data.size() % 188, 0u);
    for (std::size_t i = 0; i < data.size(); i += 188) {
        EXPECT_EQ(static_cast<std::uint8_t>(data[i]), 0x47);
        EXPECT_EQ(ts::packet_pid(reinterpret_cast<const std::uint8_t*>(data.data() + i)), 0x101);
    }

    // The whole stream's PID: every packet of one pass, as received.
    std::ostringstream whole;
    ASSERT_EQ(device->add_stream_filter(filter_kind::packets, whole_stream_pid, 1024, whole, nullptr, nullptr,
                                        0, nullptr, nullptr, handle),
              result::ok);
    EXPECT_EQ(whole.str().size(), std::filesystem::file_size(path) / 192 * 188);
    std::ostringstream sections;
    EXPECT_EQ(device->add_stream_filter(filter_kind::sections, whole_stream_pid, 1024, sections, nullptr,
                                        nullptr, 0, nullptr, nullptr, handle),
              result::failed);
}

// The whole stream's packet filter: every packet of one pass, in order, several per call,
// and at a time-out's deadline the packets up to it have all arrived.
TEST_F(CaptureCard, PacketFilterGetsTheWholeStreamInChunksUpToTheDeadline) {
    const bytes stream = mux({{0x00, {make_section(0x00, 20)}, 100}}, true, 2000);
    const std::string path = write("pat.ts", stream);
    const std::size_t packets = stream.size() / 188;
    struct {
        std::size_t whole_pass = 0;
        std::size_t at_deadline = 0;
    } cases;
    for (const bool timed : {false, true}) {
        auto device = device_for({path});
        received got;
        filter_handle handle = nullptr;
        ASSERT_EQ(device->add_packet_filter(whole_stream_pid, &received::callback, &got, handle), result::ok);
        if (timed)
            device->arm_timeout(500, [&] {
                std::lock_guard lock(got.mutex);
                std::size_t n = 0;
                for (const bytes& chunk : got.sections)
                    n += chunk.size();
                cases.at_deadline = n / 188;
                device->stop_filter();
            });
        ASSERT_EQ(device->wait_filters(), result::ok);
        bytes all;
        for (const bytes& chunk : got.sections) {
            EXPECT_EQ(chunk.size() % 188, 0u);
            all.insert(all.end(), chunk.begin(), chunk.end());
        }
        ASSERT_LT(got.sections.size(), all.size() / 188);
        ASSERT_TRUE(std::equal(all.begin(), all.end(), stream.begin()));
        if (!timed) cases.whole_pass = all.size() / 188;
    }
    EXPECT_EQ(cases.whole_pass, packets);
    EXPECT_NEAR(static_cast<double>(cases.at_deadline), packets / 4.0, packets / 100.0 + 1);
}

}  // namespace
}  // namespace kestrel
