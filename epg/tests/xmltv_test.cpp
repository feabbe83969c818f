// The XMLTV file: element order and texts of a hand-made guide, and the files of the demo
// network and of real captures as tv_validate_file checks them against the DTD.

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "epg/collection.h"
#include "epg/tests/guide_sections.h"
#include "epg/xmltv_writer.h"

namespace kestrel::epg::testing {
namespace {

const utc_time at18{2026, 3, 14, 18, 0, 0};
const std::string dtd = "/usr/share/xmltv/xmltv.dtd";

bytes joined(std::vector<bytes> parts) {
    bytes out;
    for (const bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

TEST(Xmltv, ProgrammeChildrenInDtdOrderWithCleanTexts) {
    const bytes details = joined(
        {encode::extended_event_descriptor(0, 0, "eng", {{"Chef", "Kite"}}, "Long story."),
         encode::component_descriptor(0x01, 0x0B, 1, "eng", ""),
         encode::component_descriptor(0x02, 0x03, 2, "eng", ""),
         encode::component_descriptor(0x03, 0x01, 3, "deu", ""), encode::content_descriptor({{0x14, 0}})});
    bytes untitled = encode::short_event_descriptor("eng", "", "no title");
    const guide g = build(
        {eit({0x50, 0, 0, 0, 0x50},
             {{1, at18, 30, 1, false,
               joined({encode::short_event_descriptor("eng", "Fish & <Chips>\nTonight", "Short"), details})},
              {2, {2026, 3, 14, 18, 30, 0}, 30, 1, false, untitled}}),
         sdt("One")});
    std::ostringstream out;
    EXPECT_EQ(write_xmltv(out, g, "kestrel/test"), 1u);
    EXPECT_EQ(out.str(),
              "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
              "<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
              "<tv generator-info-name=\"kestrel/test\">\n"
              "  <channel id=\"17.1.12032.dvb.guide\">\n"
              "    <display-name>One</display-name>\n"
              "    <url system=\"dvb\">dvb://2f00.1.11</url>\n"
              "  </channel>\n"
              "  <programme start=\"20260314180000 +0000\" stop=\"20260314183000 +0000\" "
              "channel=\"17.1.12032.dvb.guide\">\n"
              "    <title lang=\"eng\">Fish &amp; &lt;Chips&gt; Tonight</title>\n"
              "    <sub-title lang=\"eng\">Short</sub-title>\n"
              "    <desc lang=\"eng\">Long story.\nChef: Kite</desc>\n"
              "    <category lang=\"en\">comedy</category>\n"
              "    <language>eng</language>\n"
              "    <video>\n      <aspect>16:9</aspect>\n      <quality>HDTV</quality>\n    </video>\n"
              "    <audio>\n      <stereo>stereo</stereo>\n    </audio>\n"
              "    <subtitles type=\"teletext\"><language>deu</language></subtitles>\n"
              "  </programme>\n"
              "</tv>\n");
}

// Writes the guide of a capture as XMLTV and has tv_validate_file check it; the number of
// programmes written.
std::size_t validated_programmes(const std::string& capture) {
    if (!std::filesystem::exists(capture)) {
        ADD_FAILURE() << capture << " missing";
        return 0;
    }
    section_store store;
    EXPECT_EQ(read_capture(capture, store), "");
    const guide g = build_guide(store, {});
    const std::string path =
        ::testing::TempDir() + "/guide-" + std::filesystem::path(capture).stem().string() + ".xml";
    std::size_t programmes = 0;
    EXPECT_EQ(write_xmltv_file(path, g, "kestrel/test", programmes), "");
    const std::string command = "tv_validate_file --dtd-file " + dtd + " '" + path + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(command.c_str()), 0) << "tv_validate_file refused " << path;
    return programmes;
}

TEST(Xmltv, DemoNetworkAndCapturesPassTheValidator) {
    if (std::system("command -v tv_validate_file >/dev/null") != 0 || !std::filesystem::exists(dtd))
        GTEST_SKIP() << "tv_validate_file (xmltv-util) is not installed";
    // 8 events of 2 services on each of the six streams of the first satellite
    EXPECT_EQ(validated_programmes(std::string(KESTREL_DATA_DIR) + "/demo/sat-a-12322-h.ts"), 96u);
    const std::string captures = std::string(KESTREL_SHARED_DIR) + "/captures/";
    if (!std::filesystem::exists(captures))
        GTEST_SKIP() << captures << " is absent: the real captures are not checked";
    for (const char* name : {"test-030.ts", "test-101.ts"})
        EXPECT_GT(validated_programmes(captures + name), 0u) << name;
}

}  // namespace
}  // namespace kestrel::epg::testing
