#include "device/capture/stream_clock.h"

#include <gtest/gtest.h>

#include "ts/packet.h"

namespace kestrel {
namespace {

constexpr std::uint64_t ms = stream_clock::ticks_per_ms;

// Plays `packets` packets with a PCR every tenth, the PCRs rising 1 ms per packet from `pcr`.
std::uint64_t play(stream_clock& clock, std::uint64_t pcr, int packets, std::uint64_t step = ms) {
    for (int i = 0; i < packets; ++i) {
        const bool carries = i % 10 == 0;
        clock.packet(carries ? std::optional<std::uint64_t>((pcr + i * step) % ts::pcr_modulus)
                             : std::nullopt);
    }
    return clock.ticks();
}

TEST(StreamClock, RunsAtEightMegabitsWithoutPcr) {
    stream_clock clock;
    for (int i = 0; i < 5319; ++i)  // 5319 packets of 188 bytes: one second at 8 Mbit/s
        clock.packet();
    EXPECT_NEAR(static_cast<double>(clock.ticks()), static_cast<double>(stream_clock::hz),
                0.001 * stream_clock::hz);
}

TEST(StreamClock, FollowsThePcrAndStaysMonotonicAcrossLoopsJumpsAndTheWrap) {
    stream_clock clock;
    const std::uint64_t first = play(clock, 5000 * ms, 1001);
    // From the first PCR on the clock runs with the PCRs: 1000 ms over 1000 packets.
    EXPECT_NEAR(static_cast<double>(first), 1000.0 * ms, 2.0 * ms);

    // The capture starts again: its PCRs go back to 5000 ms, the clock goes on.
    clock.restart();
    const std::uint64_t looped = play(clock, 5000 * ms, 1001);
    EXPECT_NEAR(static_cast<double>(looped - first), 1001.0 * ms, 2.0 * ms);

    // A jump back without announcement, and one of hours forward: both bridged.
    std::uint64_t before = clock.ticks();
    play(clock, 100 * ms, 11);
    EXPECT_GT(clock.ticks(), before);
    EXPECT_LT(clock.ticks() - before, 20 * ms);
    before = clock.ticks();
    play(clock, 3600'000 * ms, 11);
    EXPECT_LT(clock.ticks() - before, 20 * ms);

    // Across the 33-bit wrap the PCRs still count as the small steps they are.
    before = clock.ticks();
    play(clock, ts::pcr_modulus - 500 * ms, 1001);
    EXPECT_NEAR(static_cast<double>(clock.ticks() - before), 1001.0 * ms, 2.0 * ms);

    // An announced discontinuity is bridged too, whatever the PCR says.
    before = clock.ticks();
    clock.packet(std::nullopt, true);
    clock.packet(42);
    EXPECT_GT(clock.ticks(), before);
    EXPECT_LT(clock.ticks() - before, 3 * ms);
}

}  // namespace
}  // namespace kestrel
