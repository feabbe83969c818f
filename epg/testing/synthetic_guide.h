#pragma once

#include <cstdint>
#include <vector>

namespace kestrel::epg::testing {

// The sections of a large guide: `services` services of one transport stream, each with
// `events` half-hour events in schedule sections (three events a section, two sections a
// three-hour segment), every event with a short and an extended event descriptor, a genre
// and two components; an SDT naming the services and a TOT.
std::vector<std::vector<std::uint8_t>> synthetic_guide(int services, int events);

}  // namespace kestrel::epg::testing
