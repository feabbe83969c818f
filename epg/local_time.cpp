#include "epg/local_time.h"

#include <charconv>

#include "epg/si_time.h"
#include "lib13818/tables/tot.h"
#include "settings/keys.h"

namespace kestrel::epg {

namespace {

constexpr int day_minutes = 24 * 60;

int signed_seconds(const lib13818::HourMinute& hm, bool negative) {
    const int s = hm.hours * 3600 + hm.minutes * 60;
    return negative ? -s : s;
}

std::string_view code_of(const lib13818::LanguageCode& code) {
    return {code.data(), 3};
}

}  // namespace

local_time_settings read_local_time_settings(settings_store& store) {
    local_time_settings s;
    s.country = settings::read(store, settings::epg_country);
    const std::string text = settings::read(store, settings::epg_offset_minutes);
    int minutes = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), minutes);
    if (!text.empty() && error == std::errc() && end == text.data() + text.size() && minutes > -day_minutes &&
        minutes < day_minutes)
        s.offset_minutes = minutes;
    return s;
}

local_time local_time::fixed(int offset_minutes) {
    local_time t;
    t.basis_ = basis::setting;
    t.offset_s_ = offset_minutes * 60;
    return t;
}

local_time local_time::from_tot(const lib13818::Tot& tot, std::string_view country) {
    for (const auto& descriptor : tot.local_time_offset)
        for (const auto& o : descriptor.offsets) {
            if (!country.empty() && code_of(o.country_code) != country) continue;
            local_time t;
            t.basis_ = basis::tot;
            t.country_ = std::string(code_of(o.country_code));
            const bool negative = o.local_time_offset_polarity != 0;
            t.offset_s_ = signed_seconds(o.local_time_offset, negative);
            t.next_offset_s_ = signed_seconds(o.next_time_offset, negative);
            // A change at a time that does not decode is no change.
            t.change_utc_ = to_utc_seconds(o.time_of_change).value;
            return t;
        }
    return {};
}

local_time local_time::choose(const local_time_settings& settings, const lib13818::Tot* tot) {
    if (settings.offset_minutes) return fixed(*settings.offset_minutes);
    if (tot != nullptr) return from_tot(*tot, settings.country);
    return {};
}

int local_time::offset_s_at(std::int64_t utc) const {
    if (change_utc_ && utc >= *change_utc_) return next_offset_s_;
    return offset_s_;
}

std::string local_time::describe() const {
    switch (basis_) {
        case basis::tot:
            return country_ + " (from the TOT)";
        case basis::setting: {
            const int minutes = offset_s_ / 60;
            return (minutes < 0 ? "" : "+") + std::to_string(minutes) + " min (setting epg/offset_minutes)";
        }
        case basis::utc:
            break;
    }
    return "UTC";
}

}  // namespace kestrel::epg
