#include "epg/genres.h"

#include <array>

namespace kestrel::epg {

namespace {

struct level1_genre {
    std::string_view name;
    std::array<std::string_view, 15> level2;  // 0x0..0xE; 0xF is user defined everywhere
};

// Index: content_nibble_level_1.
const std::array<level1_genre, 16> table{{
    {"", {}},
    {"Movie/Drama",
     {"movie/drama (general)", "detective/thriller", "adventure/western/war",
      "science fiction/fantasy/horror", "comedy", "soap/melodrama/folklore", "romance",
      "serious/classical/religious/historical movie/drama", "adult movie/drama"}},
    {"News/Current affairs",
     {"news/current affairs (general)", "news/weather report", "news magazine", "documentary",
      "discussion/interview/debate"}},
    {"Show/Game show", {"show/game show (general)", "game show/quiz/contest", "variety show", "talk show"}},
    {"Sports",
     {"sports (general)", "special events (Olympic Games, World Cup, etc.)", "sports magazines",
      "football/soccer", "tennis/squash", "team sports (excluding football)", "athletics", "motor sport",
      "water sport", "winter sports", "equestrian", "martial sports"}},
    {"Children's/Youth programmes",
     {"children's/youth programmes (general)", "pre-school children's programmes",
      "entertainment programmes for 6 to 14", "entertainment programmes for 10 to 16",
      "informational/educational/school programmes", "cartoons/puppets"}},
    {"Music/Ballet/Dance",
     {"music/ballet/dance (general)", "rock/pop", "serious music/classical music", "folk/traditional music",
      "jazz", "musical/opera", "ballet"}},
    {"Arts/Culture (without music)",
     {"arts/culture (without music, general)", "performing arts", "fine arts", "religion",
      "popular culture/traditional arts", "literature", "film/cinema", "experimental film/video",
      "broadcasting/press", "new media", "arts/culture magazines", "fashion"}},
    {"Social/Political issues/Economics",
     {"social/political issues/economics (general)", "magazines/reports/documentary",
      "economics/social advisory", "remarkable people"}},
    {"Education/Science/Factual topics",
     {"education/science/factual topics (general)", "nature/animals/environment",
      "technology/natural sciences", "medicine/physiology/psychology", "foreign countries/expeditions",
      "social/spiritual sciences", "further education", "languages"}},
    {"Leisure hobbies",
     {"leisure hobbies (general)", "tourism/travel", "handicraft", "motoring", "fitness and health",
      "cooking", "advertisement/shopping", "gardening"}},
    {"Special characteristics",
     {"original language", "black and white", "unpublished", "live broadcast", "plano-stereoscopic",
      "local or regional"}},
    {"Adult", {"adult (general)"}},
    {"", {}},
    {"", {}},
    {"user defined", {}},
}};

bool in_range(int nibble) {
    return nibble >= 0 && nibble <= 0xF;
}

}  // namespace

std::string_view level1_name(int level1) {
    return in_range(level1) ? table[static_cast<std::size_t>(level1)].name : std::string_view{};
}

std::string_view level2_name(int level1, int level2) {
    if (!in_range(level2) || level1_name(level1).empty()) return {};
    if (level2 == 0xF) return "user defined";
    return table[static_cast<std::size_t>(level1)].level2[static_cast<std::size_t>(level2)];
}

std::string_view genre_name(int level1, int level2) {
    const std::string_view specific = level2_name(level1, level2);
    return specific.empty() || specific == "user defined" ? level1_name(level1) : specific;
}

}  // namespace kestrel::epg
