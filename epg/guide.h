#pragma once

// The programme guide: every event the EIT announced, per service, decoded once for the
// text listing, the JSON, the XMLTV file and the guide window alike.

#include <compare>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "epg/local_time.h"

namespace kestrel::epg {

// A service of the guide: original_network_id, transport_stream_id, service_id.
struct service_key {
    std::uint16_t original_network_id = 0;
    std::uint16_t transport_stream_id = 0;
    std::uint16_t service_id = 0;

    friend auto operator<=>(const service_key&, const service_key&) = default;
};

// Why a start time or duration was not taken: all ones (undefined) or digits that are not BCD.
enum class time_fault { none, undefined, not_bcd };

struct event_item {
    std::string description;
    std::string item;
};

// A content descriptor's nibbles and the English name of the standard's table ("" when
// the nibbles name no genre: undefined or reserved).
struct genre {
    int level1 = 0;
    int level2 = 0;
    std::string name;
};

// A parental rating: the country code and the coded rating (0x01-0x0F: minimum age - 3;
// 0x10 and above: the broadcaster's own value).
struct parental_rating {
    std::string country;
    int rating = 0;

    bool is_age() const { return rating >= 0x01 && rating <= 0x0F; }
    int minimum_age() const { return rating + 3; }
};

// A component descriptor, sorted into what a guide shows.
struct component {
    enum class kind { video, audio, subtitles, other };
    int stream_content = 0;
    int component_type = 0;
    kind type = kind::other;
    std::string aspect;  // "4:3", "16:9", ">16:9" or ""
    bool high_definition = false;
    std::string audio;        // "mono", "dual mono", "stereo", "surround", "multichannel" or ""
    std::string subtitles;    // "teletext" or "dvb" for subtitle components
    std::string description;  // the whole type in words ("16:9 HD video")
    std::string language;
    std::string text;
};

enum class event_source { present_following, schedule };

struct guide_event {
    std::uint16_t event_id = 0;
    std::optional<std::int64_t> start_utc;  // seconds since 1970-01-01 UTC; none when faulty
    std::optional<std::int32_t> duration_s;
    time_fault start_fault = time_fault::none;
    time_fault duration_fault = time_fault::none;
    int running_status = 0;
    event_source source = event_source::schedule;
    bool overlaps = false;  // shares time with another event of its service

    std::string language;  // of the short event taken ("" without one)
    std::string title;
    std::string short_text;
    std::string extended_text;
    std::vector<event_item> items;
    std::vector<genre> genres;
    std::vector<parental_rating> ratings;
    std::vector<component> components;
    std::vector<std::string> content_identifiers_hex;  // CRID descriptors' bodies as hex

    // The end, when both start and duration are known.
    std::optional<std::int64_t> end_utc() const {
        if (!start_utc || !duration_s) return std::nullopt;
        return *start_utc + *duration_s;
    }
};

struct guide_service {
    service_key key;
    std::string name;                 // from the SDT, else "Service 0xSSSS"
    std::vector<guide_event> events;  // by start; events without a start last
};

struct guide {
    std::vector<guide_service> services;     // by key
    std::optional<std::int64_t> stream_utc;  // the stream's time (TDT or TOT), if it carried one
    local_time local;

    // The stream's current time: its TDT or TOT, else the earliest event's start.
    std::optional<std::int64_t> current_utc() const;
    // True when some service has an event with a title.
    bool has_titled_event() const;
};

// "Service 0x%04X": the name of a service the SDT does not name.
std::string unnamed_service(std::uint16_t service_id);

}  // namespace kestrel::epg
