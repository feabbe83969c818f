#pragma once

#include <string_view>

namespace kestrel::epg {

// The English names of the content descriptor's genres (ETSI EN 300 468 V1.16.1 table 29).
// level1_name: "Movie/Drama" for 0x1 ... "" for 0x0, 0xD and 0xE, which name no genre.
std::string_view level1_name(int level1);
// The level-2 name ("detective/thriller" for 0x1, 0x1); "" when the standard reserves the
// pair. A user-defined level 2 (0xF) reads "user defined".
std::string_view level2_name(int level1, int level2);
// The name a listing shows: the level-2 name, else the level-1 name.
std::string_view genre_name(int level1, int level2);

}  // namespace kestrel::epg
