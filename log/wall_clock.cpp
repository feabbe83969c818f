#include "log/wall_clock.h"

#include <chrono>

namespace kestrel {

wall_time system_wall_time() {
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count();
    return {static_cast<std::time_t>(ms / 1000), static_cast<std::uint16_t>(ms % 1000)};
}

std::tm local_calendar(std::time_t seconds) {
    std::tm calendar{};
    localtime_r(&seconds, &calendar);
    return calendar;
}

const char* month_abbreviation(int tm_mon) {
    static const char* const names[] = {"Jan", "Feb", "Mar", "Apr", "May", "Jun",
                                        "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"};
    return tm_mon >= 0 && tm_mon < 12 ? names[tm_mon] : "???";
}

}  // namespace kestrel
