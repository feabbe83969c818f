#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "device/capture/capture_card.h"
#include "device/capture/capture_spec.h"
#include "device/dvb_device_techotrend.h"
#include "lib13818/core/crc32.h"
#include "tools/demo/demo_network.h"
#include "ts/section_extractor.h"

namespace kestrel::demo {
namespace {

TEST(DemoNetwork, CarriesEveryTableWithValidSections) {
    const network& sat = satellites().front();
    const std::vector<std::uint8_t> bytes = capture(sat, sat.transponders.front());
    ts::section_extractor extractor;
    for (std::uint16_t pid = 0; pid < 0x20; ++pid)
        extractor.select_pid(pid);
    extractor.select_pid(0x100);
    extractor.select_pid(0x120);
    extractor.start(ts::format_188);
    std::map<std::uint8_t, std::size_t> largest;
    extractor.feed(bytes, true, [&](std::uint16_t, std::span<const std::uint8_t> s) {
        // Short-form sections without CRC: TDT and RST.
        if (s[0] != 0x70 && s[0] != 0x71) {
            EXPECT_EQ(lib13818::crc32(s.data(), s.size()), 0u) << int(s[0]);
        }
        largest[s[0]] = std::max(largest[s[0]], s.size());
    });
    std::set<std::uint8_t> ids;
    for (const auto& [id, size] : largest)
        ids.insert(id);
    EXPECT_EQ(ids, (std::set<std::uint8_t>{0x00, 0x01, 0x02, 0x40, 0x41, 0x42, 0x46, 0x4A, 0x4E, 0x4F, 0x50,
                                           0x60, 0x70, 0x71, 0x73}));
    EXPECT_GT(largest[0x50], 1024u);
    EXPECT_LE(largest[0x50], 4096u);
    EXPECT_LE(largest[0x42], 1024u);
}

// The demo as the build generated it: every transport stream of the satellites locks where
// the manifest and the satellite list put it, and nothing else does. (The NIT walks over the
// cable and terrestrial networks find each of theirs.)
TEST(DemoNetwork, LocksOnEachTransponderAndNothingElse) {
    const std::string manifest = KESTREL_DATA_DIR "/demo/demo.manifest";
    if (!std::filesystem::exists(manifest)) GTEST_SKIP() << "the build has not generated " << manifest;
    std::string error;
    auto card = capture_card::create({manifest}, error);
    ASSERT_NE(card, nullptr) << error;
    dvb_device_techotrend device(std::move(card));
    ASSERT_EQ(device.init(), result::ok);
    device.set_lnb_config({diseqc_mode::committed, 9750000, 10600000, 11700000, true});
    for (const network& sat : satellites())
        for (const transponder& tp : sat.transponders) {
            TUNERPARM t;
            t.type = frontend_dvb_s;
            t.frequency = tp.frequency_khz / 1e6;
            t.word_a = tp.polarisation == 'V' ? 1 : 0;
            t.word_c = tp.symbol_rate;
            t.word_d = static_cast<std::uint32_t>(sat.position);
            t.delivery.system =
                tp.second_generation ? lib13818::DeliverySystem::dvb_s2 : lib13818::DeliverySystem::dvb_s;
            t.delivery.stream_id = tp.stream;
            const auto changed = [&](auto change) {
                TUNERPARM other = t;
                change(other);
                return device.set_tuner(other);
            };
            EXPECT_EQ(device.set_tuner(t), result::ok) << tp.file;
            EXPECT_EQ(changed([](TUNERPARM& o) { o.word_a = 1 - o.word_a; }), result::failed) << tp.file;
            EXPECT_EQ(changed([](TUNERPARM& o) { o.word_d = 1 - o.word_d; }), result::failed) << tp.file;
            EXPECT_EQ(changed([](TUNERPARM& o) { o.frequency += 0.005; }), result::failed) << tp.file;
            EXPECT_EQ(changed([](TUNERPARM& o) { o.delivery.stream_id += 5; }),
                      tp.stream < 0 ? 0u : result::failed)
                << tp.file;
        }
}

TEST(DemoNetwork, SpecsNameTheCardOrSayWhyNot) {
    const std::string demo_manifest = std::string(KESTREL_DATA_DIR "/") + demo_manifest_file;
    std::string error;
    EXPECT_EQ(open_capture_spec("linux:0", demo_manifest, error), nullptr);
    EXPECT_EQ(error, "");
    EXPECT_EQ(open_capture_spec("capture:/nonexistent.ts", demo_manifest, error), nullptr);
    EXPECT_EQ(error, "cannot open /nonexistent.ts: No such file or directory");
    EXPECT_EQ(open_capture_spec("demo?slow", demo_manifest, error), nullptr);
    EXPECT_EQ(error, "unknown option 'slow' (realtime, dvb-c, dvb-t)");
    if (!std::filesystem::exists(demo_manifest)) GTEST_SKIP() << "no demo network generated";
    for (const char* spec : {"demo?realtime", "demo?dvb-t", "demo?dvb-c&realtime"})
        EXPECT_NE(open_capture_spec(spec, demo_manifest, error), nullptr) << spec << ": " << error;
}

}  // namespace
}  // namespace kestrel::demo
