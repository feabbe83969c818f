#include "device/capture/manifest.h"

#include <gtest/gtest.h>

#include "device/capture/capture_card.h"
#include "device/capture/tests/capture_fixture.h"

namespace kestrel {
namespace {

TEST(Manifest, ReadsSatelliteAndCableTransponders) {
    capture_manifest m;
    ASSERT_EQ(parse_manifest("# demo\n"
                             "0 12322000 H 27800000 sat a/tp 1.ts   # first\n"
                             "\n"
                             "1 11778000 r 27500000 ../b.ts\r\n"
                             "3 10714000 V 22000000 c.ts",
                             "demo.manifest", "/data/demo", m),
              "demo.manifest:4: polarisation must be H, V, L or R");
    ASSERT_EQ(parse_manifest("# demo\n"
                             "0 12322000 H 27800000 sat a/tp 1.ts   # first\n"
                             "1 11778000 R 27500000 ../b.ts\r\n",
                             "demo.manifest", "/data/demo", m),
              "");
    EXPECT_EQ(m.type, frontend_dvb_s);
    ASSERT_EQ(m.transponders.size(), 2u);
    const capture_transponder& first = m.transponders[0];
    EXPECT_EQ(first.position, 0);
    EXPECT_EQ(first.frequency_khz, 12322000u);
    EXPECT_EQ(first.polarisation, 'H');
    EXPECT_EQ(first.symbol_rate, 27800000u);
    EXPECT_EQ(first.path, "/data/demo/sat a/tp 1.ts");
    EXPECT_EQ(first.line, 2);
    EXPECT_EQ(m.transponders[1].path, "/data/b.ts");

    ASSERT_EQ(parse_manifest("frontend dvb-c\n- 346000 - 6900000 cable.ts\n", "c.manifest", "/x", m), "");
    EXPECT_EQ(m.type, frontend_dvb_c);
    EXPECT_EQ(m.transponders[0].position, -1);
    EXPECT_EQ(m.transponders[0].polarisation, 0);
}

TEST(Manifest, ReadsTheSystemAndStreamOfALine) {
    capture_manifest m;
    ASSERT_EQ(parse_manifest("frontend dvb-t\n"
                             "- 474000 - 0 t.ts\n"
                             "- 474000 - 0 system=dvb-t2 stream=1 plp 1.ts\n"
                             "- 474000 - 0 stream=0 system=DVB-T2 plp0.ts\n",
                             "t.manifest", "/x", m),
              "");
    ASSERT_EQ(m.transponders.size(), 3u);
    EXPECT_EQ(m.transponders[0].system, lib13818::DeliverySystem::automatic);
    EXPECT_EQ(m.transponders[0].stream_id, -1);
    EXPECT_EQ(m.transponders[1].system, lib13818::DeliverySystem::dvb_t2);
    EXPECT_EQ(m.transponders[1].stream_id, 1);
    EXPECT_EQ(m.transponders[1].path, "/x/plp 1.ts");
    EXPECT_EQ(m.transponders[2].stream_id, 0);
}

TEST(Manifest, NamesTheLineThatDoesNotParse) {
    const std::pair<const char*, const char*> cases[] = {
        {"4 12322000 H 27800000 a.ts", "m:1: position must be 0, 1, 2 or 3"},
        {"0 12.322 H 27800000 a.ts", "m:1: frequency must be a number of kHz"},
        {"0 12322000 X 27800000 a.ts", "m:1: polarisation must be H, V, L or R"},
        {"0 12322000 H fast a.ts", "m:1: symbol rate must be a number of symbols per second"},
        {"#\n0 12322000 H 27800000", "m:2: expected POSITION FREQUENCY_KHZ POLARISATION SYMBOL_RATE FILE"},
        {"frontend dvb-x", "m:1: expected frontend dvb-s, dvb-c or dvb-t"},
        {"0 12322000 H 27800000 a.ts\nfrontend dvb-s",
         "m:2: the frontend line must come once, before the transponders"},
        {"frontend dvb-t\n0 474000 H 0 t.ts",
         "m:2: cable and terrestrial transponders give '-' for position and polarisation"},
        {"# nothing\n", "m: no transponder in the manifest"},
        {"0 12322000 H 27800000 system=dvb-t2 a.ts",
         "m:1: dvb-t2 is not a system of this manifest's frontend"},
        {"frontend dvb-c\n- 346000 - 6900000 system=dvb-t a.ts",
         "m:2: dvb-t is not a system of this manifest's frontend"},
        {"0 12322000 H 27800000 system=auto a.ts",
         "m:1: system must be dvb-s, dvb-s2, dvb-t, dvb-t2 or dvb-c, not 'auto'"},
        {"0 12322000 H 27800000 system=dvb-s2 stream=256 a.ts", "m:1: stream must be a number from 0 to 255"},
        {"0 12322000 H 27800000 stream=1 a.ts", "m:1: stream is for dvb-s2 and dvb-t2 lines"},
    };
    for (const auto& [text, error] : cases) {
        capture_manifest m;
        EXPECT_EQ(parse_manifest(text, "m", "/", m), error) << text;
        EXPECT_TRUE(m.transponders.empty());
    }
}

using CaptureCardOpening = testing::capture_folder;

TEST_F(CaptureCardOpening, RefusesMissingFilesAndFilesWithoutTransportStream) {
    write("good.ts", mux({}, true, 100));
    write("junk.ts", std::string(4096, 'x'));
    std::string error;

    const std::string missing =
        write("missing.manifest", "0 12322000 H 27800000 good.ts\n1 12322000 H 27800000 gone.ts\n");
    EXPECT_EQ(capture_card::create({missing}, error), nullptr);
    EXPECT_EQ(error,
              missing + ":2: cannot open " + (folder_ / "gone.ts").string() + ": No such file or directory");

    const std::string junk = write("junk.manifest", "0 12322000 H 27800000 junk.ts\n");
    EXPECT_EQ(capture_card::create({junk}, error), nullptr);
    EXPECT_EQ(error, junk + ":1: " + (folder_ / "junk.ts").string() + ": no transport stream found");

    EXPECT_EQ(capture_card::create({(folder_ / "junk.ts").string()}, error), nullptr);
    EXPECT_EQ(error, (folder_ / "junk.ts").string() + ": no transport stream found");

    EXPECT_EQ(capture_card::create({(folder_ / "none.manifest").string()}, error), nullptr);
    EXPECT_EQ(error, "cannot open " + (folder_ / "none.manifest").string() + ": No such file or directory");

    const std::string manifest = write("ok.manifest", "0 12322000 H 27800000 good.ts\n");
    EXPECT_EQ(capture_card::create({manifest, false, frontend_dvb_c}, error), nullptr);
    EXPECT_NE(error.find("a manifest names its frontend"), std::string::npos);
}

TEST(CaptureOptions, ReadsRealtimeAndFrontend) {
    capture_options o;
    ASSERT_EQ(parse_capture_options("a.ts?dvb-t&realtime", o), "");
    EXPECT_EQ(o.path, "a.ts");
    EXPECT_TRUE(o.realtime);
    EXPECT_EQ(o.frontend, frontend_dvb_t);
    EXPECT_EQ(parse_capture_options("a.ts?fast", o), "unknown option 'fast' (realtime, dvb-c, dvb-t)");
    EXPECT_EQ(parse_capture_options("a.ts?dvb-c&dvb-t", o), "only one of ?dvb-c and ?dvb-t");
    EXPECT_EQ(parse_capture_options("", o), "no capture file or manifest named");
}

}  // namespace
}  // namespace kestrel
