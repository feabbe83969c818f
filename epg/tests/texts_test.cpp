// Decoding an event's parts: genre names, extended event parts joined, components.

#include <gtest/gtest.h>

#include "epg/components.h"
#include "epg/event_decoder.h"
#include "epg/genres.h"
#include "tools/encode/descriptors.h"

namespace kestrel::epg {
namespace {

TEST(Genres, EveryLevelOneNameAndSampleLevelTwoNames) {
    const char* level1[16] = {"",
                              "Movie/Drama",
                              "News/Current affairs",
                              "Show/Game show",
                              "Sports",
                              "Children's/Youth programmes",
                              "Music/Ballet/Dance",
                              "Arts/Culture (without music)",
                              "Social/Political issues/Economics",
                              "Education/Science/Factual topics",
                              "Leisure hobbies",
                              "Special characteristics",
                              "Adult",
                              "",
                              "",
                              "user defined"};
    for (int n = 0; n < 16; ++n)
        EXPECT_EQ(level1_name(n), level1[n]) << n;
    struct pair_case {
        int content;
        const char* name;
    };
    const pair_case pairs[] = {{0x10, "movie/drama (general)"},
                               {0x11, "detective/thriller"},
                               {0x14, "comedy"},
                               {0x23, "documentary"},
                               {0x43, "football/soccer"},
                               {0x55, "cartoons/puppets"},
                               {0xB3, "live broadcast"},
                               {0xA5, "cooking"},
                               {0x7B, "fashion"},
                               {0x19, "Movie/Drama"},  // reserved level 2: the level-1 name
                               {0x1F, "Movie/Drama"},  // user defined level 2
                               {0x05, ""},
                               {0xD3, ""}};
    for (const pair_case& p : pairs)
        EXPECT_EQ(genre_name(p.content >> 4, p.content & 0xF), p.name) << std::hex << p.content;
}

// Extended event descriptors decoded from their bytes.
std::vector<lib13818::DescriptorExtendedEvent> parts(const std::vector<encode::bytes>& encoded) {
    std::vector<lib13818::DescriptorExtendedEvent> out;
    for (const encode::bytes& d : encoded)
        out.emplace_back(lib13818::reader(d.data(), d.size()));
    return out;
}

TEST(ExtendedEvent, PartsJoinInNumberOrderBeforeDecoding) {
    struct join_case {
        const char* name;
        std::vector<encode::bytes> parts;
        const char* text;
        std::size_t items;
    };
    const join_case cases[] = {
        // "café au lait": UTF-8 é (C3 A9) split across the parts, which come out of order.
        {"UTF-8 split",
         {encode::extended_event_descriptor(1, 1, "eng", {}, "\x15\xA9 au lait"),
          encode::extended_event_descriptor(0, 1, "eng", {{"Chef", "Kite"}},
                                            "\x15"
                                            "caf\xC3")},
         "caf\xC3\xA9 au lait",
         1},
        // UCS-2 "Ab" with the 'b' (00 62) split after its first byte.
        {"UCS-2 split",
         {encode::extended_event_descriptor(0, 1, "eng", {}, std::string("\x11\x00\x41\x00", 4)),
          encode::extended_event_descriptor(1, 1, "eng", {}, std::string("\x11\x62", 2))},
         "Ab",
         0},
        {"repeated part counted once",
         {encode::extended_event_descriptor(0, 1, "eng", {}, "One "),
          encode::extended_event_descriptor(0, 1, "eng", {}, "One "),
          encode::extended_event_descriptor(1, 1, "eng", {{"Year", "2026"}}, "two")},
         "One two",
         1},
        {"selectors disagree: each part alone",
         {encode::extended_event_descriptor(0, 1, "eng", {},
                                            "\x15"
                                            "A\xC3"),
          encode::extended_event_descriptor(1, 1, "eng", {},
                                            "\x05"
                                            "B")},
         "A\xEF\xBF\xBD"
         "B",
         0},
    };
    lib13818::dvb_text_decoder text;
    for (const join_case& c : cases) {
        const auto decoded = parts(c.parts);
        std::vector<const lib13818::DescriptorExtendedEvent*> pointers;
        for (const auto& d : decoded)
            pointers.push_back(&d);
        const extended_text joined = join_extended(pointers, text);
        EXPECT_EQ(joined.text, c.text) << c.name;
        EXPECT_EQ(joined.items.size(), c.items) << c.name;
    }
}

TEST(Components, VideoAudioAndSubtitlesInWords) {
    struct component_case {
        int stream_content, component_type;
        const char* description;
        bool hd;
    };
    const component_case cases[] = {
        {0x01, 0x01, "4:3 video", false},      {0x01, 0x03, "16:9 video", false},
        {0x01, 0x0C, ">16:9 HD video", true},  {0x05, 0x0B, "16:9 HD video", true},
        {0x02, 0x03, "stereo audio", false},   {0x02, 0x02, "dual mono audio", false},
        {0x06, 0x05, "surround audio", false}, {0x03, 0x01, "teletext subtitles", false},
        {0x03, 0x12, "DVB subtitles", false},  {0x0B, 0x01, "other component", false},
    };
    for (const component_case& c : cases) {
        const component described = describe_component(c.stream_content, c.component_type);
        EXPECT_EQ(described.description, c.description) << c.stream_content << '/' << c.component_type;
        EXPECT_EQ(described.high_definition, c.hd) << c.description;
    }
}

}  // namespace
}  // namespace kestrel::epg
