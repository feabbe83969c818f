#pragma once

// Local time of the guide's days: the offset from UTC valid at a given moment. It comes
// from the setting "epg"/"offset_minutes" when set (for networks that send local time as
// if it were UTC), else from the TOT's local time offset descriptor for the country of
// "epg"/"country" (default: the first country the TOT lists): its offset until the time
// of change and its next offset from then on. Without either, local time is UTC.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace lib13818 {
class Tot;
}

namespace kestrel {
class settings_store;
}

namespace kestrel::epg {

struct local_time_settings {
    std::string country;                // ISO 3166 alpha-3, "" = the TOT's first
    std::optional<int> offset_minutes;  // set: this offset, whatever the TOT says
};

// The two settings; an offset that is not a whole number of minutes within a day reads as unset.
local_time_settings read_local_time_settings(settings_store& store);

class local_time {
  public:
    enum class basis { utc, tot, setting };

    local_time() = default;
    static local_time fixed(int offset_minutes);
    // From the TOT's offsets for `country` ("" = its first country); UTC when it lists none.
    static local_time from_tot(const lib13818::Tot& tot, std::string_view country);
    static local_time choose(const local_time_settings& settings, const lib13818::Tot* tot);

    int offset_s_at(std::int64_t utc) const;
    std::int64_t to_local(std::int64_t utc) const { return utc + offset_s_at(utc); }
    basis source() const { return basis_; }
    const std::string& country() const { return country_; }
    // "UTC", "GBR (from the TOT)" or "+60 min (setting)", for the listing's heading.
    std::string describe() const;

  private:
    basis basis_ = basis::utc;
    std::string country_;
    int offset_s_ = 0;
    std::optional<std::int64_t> change_utc_;
    int next_offset_s_ = 0;
};

}  // namespace kestrel::epg
