#include "startup/satellite_list.h"

#include <cstdio>
#include <cstdlib>
#include <limits>
#include <memory>

#include "log/trace_log.h"

namespace kestrel {

namespace {

// Reads a number as strtol does, held to the 32-bit range of the Windows long. False when
// no digit was read.
bool read_number(const char*& cursor, std::int32_t& value) {
    char* end = nullptr;
    const long number = std::strtol(cursor, &end, 10);
    if (end == cursor) return false;
    constexpr long low = std::numeric_limits<std::int32_t>::min();
    constexpr long high = std::numeric_limits<std::int32_t>::max();
    value = static_cast<std::int32_t>(number < low ? low : number > high ? high : number);
    cursor = end;
    return true;
}

// A number followed by a comma, the comma skipped.
bool read_field(const char*& cursor, std::int32_t& value) {
    if (!read_number(cursor, value) || *cursor != ',') return false;
    ++cursor;
    return true;
}

}  // namespace

void CSatelliteList::ParseList(const std::string& path) {
    global_trace().log(1, "CSatelliteList::ParseList(%s)", path.c_str());
    const std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(std::fopen(path.c_str(), "r"), std::fclose);
    if (!file) return;
    char line[1024];
    while (std::fgets(line, sizeof line, file.get()) != nullptr)
        parse_line(line);
}

void CSatelliteList::parse_line(std::string_view text) {
    const std::string line(text);  // strtol needs a terminated string
    trace_log& trace = global_trace();
    trace.log(1, "CSatelliteList::parse_line(%s)", line.c_str());
    if (line.empty() || line[0] != '"') return;
    const std::size_t close = line.find('"', 1);
    const std::string name = line.substr(1, close == std::string::npos ? std::string::npos : close - 1);
    trace.log(1, "name : %s", name.c_str());
    // The closing quote and the unexamined character after it must both be there.
    if (close == std::string::npos || close + 2 > line.size()) return;
    const char* cursor = line.c_str() + close + 2;
    satellite_transponder t;
    if (!read_field(cursor, t.orbital)) return;
    trace.log(1, "orbital : %d", t.orbital);
    if (!read_field(cursor, t.frequency)) return;
    trace.log(1, "frequency : %d", t.frequency);
    if (!read_field(cursor, t.polarisation)) return;
    if (!read_field(cursor, t.symbol_rate)) return;
    trace.log(1, "symbolrate : %d", t.symbol_rate);
    if (!read_number(cursor, t.fec)) return;
    trace.log(1, "FEC : %d", t.fec);
    satellites_[name].push_back(t);
}

const std::vector<satellite_transponder>* CSatelliteList::find(std::string_view name) const {
    const auto it = satellites_.find(std::string(name));
    return it == satellites_.end() ? nullptr : &it->second;
}

}  // namespace kestrel
