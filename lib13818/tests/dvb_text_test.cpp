#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/core/dvb_text.h"
#include "lib13818/core/error.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/selectorless_texts.h"
#include "lib13818/tests/capture_sections.h"

namespace lib13818 {
namespace {

using namespace std::string_view_literals;

std::string decode(std::string_view raw, const std::string& default_charset = "") {
    return dvb_text_decoder(default_charset).to_utf8(raw);
}

TEST(DvbText, DefaultTableCombinesItsDiacriticalMarks) {
    EXPECT_EQ(decode("Caf\xC2"
                     "e cr\xC1"
                     "eme \xC8Uber \xCF"
                     "Capek"),
              "Café crème Über Čapek");
    EXPECT_EQ(decode("S\xE9rie \xA4 5 \xFB"), "SØrie € 5 ß");
    // No precomposed form: the letter and the combining mark.
    EXPECT_EQ(decode("\xC2"
                     "b"),
              "b\u0301");
    // A mark before no letter, and a byte the table leaves unassigned.
    EXPECT_EQ(decode("A\xC2"), "A\uFFFD");
    EXPECT_EQ(decode("A\xC0Z"), "A\uFFFDZ");
    EXPECT_EQ(decode("\x86On\x87 air\x8Anow"), "On air\nnow");
}

TEST(DvbText, SelectorsPickTheirTables) {
    // An event name of the same capture's Italian channel, with emphasis codes.
    EXPECT_EQ(decode("\x05\x86The Shield\x87"), "The Shield");
    EXPECT_EQ(decode("\x05\xDE\xF0"), "Şğ");
    EXPECT_EQ(decode("\x10\x00\x02\xB1\xE6"sv), "ąć");
    EXPECT_EQ(decode("\x03\xE1\xE8\xEC\xE7\xE1"), "αθμηα");
    EXPECT_EQ(decode("\x15"
                     "caf\xC3\xA9 \xF0\x9F\x93\xBA"),
              "café 📺");
    EXPECT_EQ(decode("\x15"
                     "a\xC3(\xE0\x80\x80z\xC3"),
              "a\uFFFD(\uFFFD\uFFFD\uFFFDz\uFFFD");
    EXPECT_EQ(decode("\x11\x00K\x00\xF6\xE0\x8A\x00n\x4E"sv), "Kö\nn\uFFFD");
    EXPECT_EQ(decode("\x13\xD6\xD0\xCE\xC4 \xFF\xFF!"), "中文 \uFFFD\uFFFD!");
    // Reserved tables keep what every table agrees on.
    EXPECT_EQ(decode("\x0C"
                     "AB\xE9"),
              "AB\uFFFD");
    EXPECT_EQ(decode("\x08"
                     "AB"),
              "AB");
}

TEST(DvbText, TheRunsCharsetReadsTextsWithoutSelector) {
    dvb_text_decoder latin9("ISO-8859-15");
    EXPECT_EQ(latin9.to_utf8(std::string_view("S\xE9rie \xA4")), "Série €");
    EXPECT_EQ(latin9.to_utf8(std::string_view("\x15\xC3\xA9")), "é");
    EXPECT_EQ(dvb_text_decoder("CP1252").to_utf8(std::string_view("\x80")), "€");
    EXPECT_THROW(dvb_text_decoder("NO-SUCH-CHARSET"), error);
}

TEST(DvbText, GuessesTheNetworksTable) {
    using texts = std::vector<std::string_view>;
    EXPECT_EQ(guess_default_charset({}), "");
    EXPECT_EQ(guess_default_charset(texts{"News", "Sport 24"}), "");
    EXPECT_EQ(guess_default_charset(texts{"Caf\xC2"
                                          "e",
                                          "M\xC8uller",
                                          "Stra\xFB"
                                          "e"}),
              "");
    EXPECT_EQ(guess_default_charset(texts{"t\xE9l\xE9", "\xC9T\xC9"}), "ISO-8859-15");
    // One odd byte does not outvote a network's marks.
    EXPECT_EQ(guess_default_charset(texts{"Caf\xC2"
                                          "e",
                                          "cr\xC1"
                                          "eme",
                                          "sm\xF9rrebr\xF9"
                                          "d"}),
              "");
}

TEST(DvbText, DumpsWriteThroughTheAttachedDecoder) {
    DvbString s{"S\xE9rie", ""};
    std::ostringstream standard;
    standard << s << ' ' << prefixed_dvb_text{"\x04P1.1"};
    EXPECT_EQ(standard.str(), "SØrie P1.1");
    dvb_text_decoder latin9("ISO-8859-15");
    std::ostringstream out;
    {
        text_decoder_scope scope(out, latin9);
        out << s;
    }
    out << s;
    EXPECT_EQ(out.str(), "SérieSØrie");
}

TEST(DvbText, FrenchGuideOfARealCaptureReadsAsFrench) {
    const std::string path = KESTREL_SHARED_DIR "/captures/test-030.ts";
    std::vector<Eit> tables;
    for (const CapturedSection& s : capture_sections(path, {0x12})) {
        Eit eit;
        try {
            eit.parse(s.bytes.data(), s.bytes.size());
        } catch (const error&) {
            continue;
        }
        tables.push_back(std::move(eit));
    }
    if (tables.empty()) GTEST_SKIP() << "no EIT sections in " << path;
    std::vector<std::string_view> texts;
    for (const Eit& eit : tables)
        collect_selectorless_texts(eit, texts);
    dvb_text_decoder decoder(guess_default_charset(texts));
    EXPECT_EQ(decoder.default_charset(), "ISO-8859-15");
    std::string all;
    for (const Eit& eit : tables)
        for (const EitEvent& event : eit.events)
            for (const auto& d : event.short_event)
                all += decoder.to_utf8(d.event_name) + '|' + decoder.to_utf8(d.text) + '|';
    EXPECT_NE(all.find("Série d'animation américaine"), std::string::npos);
    EXPECT_EQ(all.find("SØrie"), std::string::npos);
}

}  // namespace
}  // namespace lib13818
