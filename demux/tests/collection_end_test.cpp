#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <thread>

#include "demux/nokia_dvb2000_demux2.h"
#include "demux/tests/demux_fixture.h"
#include "lib13818/tables/cat.h"

namespace kestrel::testing {
namespace {

using CollectionEndTest = DemuxTest;

constexpr std::uint8_t nit_actual = 0x40, full = 0xFF;

TEST_F(CollectionEndTest, NothingOnTheWantedPidsEndsTheCollectionWithNothing) {
    // Without data the time-out's routine runs at the end of the pass, or after 30 s of
    // stream time, never 30 s of real time.
    for (const auto& stream :
         {std::vector<stream_section>{}, std::vector<stream_section>{{0x20, nit(0x40, 1, 0, 0), 60'000}}}) {
        nokia_dvb2000_demux2 demux(device(stream));
        lib13818::Cat cat;
        NitMap nits;
        demux.add_psi_handler(1, 1, &cat, nullptr, nullptr);
        demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, nullptr, nullptr);
        demux.run();
        EXPECT_FALSE(cat.parsed);
        EXPECT_TRUE(nits.empty());
    }
    EXPECT_EQ(traced("nokia_dvb2000_demux2::timerproc()"), 2);
    EXPECT_EQ(traced("nokia_dvb2000_demux2::_timerproc()"), 2);
}

TEST_F(CollectionEndTest, TimeOutDeliversWhatCollectorsStoredButNothingOfIncompleteTables) {
    auto stream = on_pid(0x10, {nit(0x40, 9, 0, 5), nit(0x40, 9, 1, 5), nit(0x40, 9, 2, 5)});
    for (auto& s : on_pid(0, {pat(7, 0, 2), pat(7, 1, 2)}))
        stream.push_back(std::move(s));
    nokia_dvb2000_demux2 demux(device(stream));
    NitMap nits;
    PatList pats;
    demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, nullptr, nullptr);
    demux.add_handler(0, 0, &pats, 1024, 10, nullptr, nullptr);
    demux.run();

    EXPECT_EQ(traced("nokia_dvb2000_demux2::timerproc()"), 1);
    EXPECT_EQ(nits[9].size(), 3u);
    EXPECT_TRUE(pats.empty());
}

// Tells the test thread when the first section reached the caller's callback.
struct first_delivery {
    std::mutex lock;
    std::condition_variable arrived;
    bool seen = false;

    static void callback(void* context, std::int32_t, const std::uint8_t*) {
        auto& self = *static_cast<first_delivery*>(context);
        {
            std::lock_guard guard(self.lock);
            self.seen = true;
        }
        self.arrived.notify_all();
    }
    void wait() {
        std::unique_lock guard(lock);
        arrived.wait(guard, [&] { return seen; });
    }
};

TEST_F(CollectionEndTest, StoppingAllFiltersFromAnotherThreadEndsTheCollectionAtOnce) {
    // Replayed in real time, the next section would come a minute later.
    auto stream = on_pid(0x10, {nit(0x40, 9, 0, 5)});
    stream.push_back({0x10, nit(0x40, 9, 1, 5), 60'000});
    dvb_device& card = device(stream, true);
    nokia_dvb2000_demux2 demux(card);
    NitMap nits;
    first_delivery delivery;
    demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, &first_delivery::callback, &delivery);
    std::thread collection([&] { demux.run(); });
    delivery.wait();
    // The filter may still be being added: the stop must reach it all the same.
    card.stop_filter();
    collection.join();

    EXPECT_LT(card.clock_ms(), 30'000u);
    EXPECT_EQ(traced("nokia_dvb2000_demux2::timerproc()"), 0);
    EXPECT_EQ(nits[9].size(), 1u);
}

TEST_F(CollectionEndTest, CancelWhileTheHandlersAddTheirFiltersEndsTheCollectionAtOnce) {
    fake_card* card = nullptr;
    dvb_device& cancelled = fake_device(card);
    nokia_dvb2000_demux2 demux(cancelled);
    lib13818::Cat cat;
    NitMap nits;
    demux.add_psi_handler(1, 1, &cat, nullptr, nullptr);
    demux.add_psi_handler(0x10, &nit_actual, &full, &nits, 1, nullptr, nullptr);
    // Cancel comes while the first handler's filter is being added; the second is added after.
    std::future<std::uint32_t> cancel;
    const std::uint64_t stops = cancelled.stop_all_count();
    card->set().during_start = [&] {
        if (cancel.valid()) return;
        cancel = std::async(std::launch::async, [&] { return cancelled.stop_filter(); });
        while (cancelled.stop_all_count() == stops)
            std::this_thread::yield();
    };
    auto collection = std::async(std::launch::async, [&] { demux.run(); });
    // The card's clock stands still: only the Cancel can end the collection.
    const bool ended = collection.wait_for(std::chrono::seconds(20)) == std::future_status::ready;
    EXPECT_EQ(card->filter_count(), 0u);
    if (!ended) card->advance(nokia_dvb2000_demux2::timeout_ms);  // fail, not hang
    collection.get();
    EXPECT_EQ(cancel.get(), result::ok);

    EXPECT_TRUE(ended);
    EXPECT_EQ(traced("nokia_dvb2000_demux2::timerproc()"), 0);
    EXPECT_FALSE(cat.parsed);
    EXPECT_TRUE(nits.empty());
}

}  // namespace
}  // namespace kestrel::testing
