#include "device/capture/manifest.h"

#include <cerrno>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace kestrel {

namespace {

constexpr std::string_view blanks = " \t\r";

std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// Takes the next blank-separated word off the front of s.
std::string_view next_word(std::string_view& s) {
    s = trim(s);
    const auto end = std::min(s.find_first_of(blanks), s.size());
    const std::string_view word = s.substr(0, end);
    s.remove_prefix(end);
    return word;
}

bool read_number(std::string_view word, std::uint32_t& out) {
    const char* end = word.data() + word.size();
    const auto [ptr, ec] = std::from_chars(word.data(), end, out);
    return ec == std::errc() && ptr == end && !word.empty();
}

bool read_frontend(std::string_view word, std::int32_t& type) {
    if (word == "dvb-s")
        type = frontend_dvb_s;
    else if (word == "dvb-c")
        type = frontend_dvb_c;
    else if (word == "dvb-t")
        type = frontend_dvb_t;
    else
        return false;
    return true;
}

// The options between the symbol rate and the file: "system=dvb-s2", "stream=1"; "" or the
// reason they do not parse.
std::string read_options(std::string_view& rest, std::int32_t type, capture_transponder& t) {
    constexpr std::string_view system_option = "system=", stream_option = "stream=";
    for (;;) {
        std::string_view after = rest;
        const std::string_view word = next_word(after);
        if (word.starts_with(system_option)) {
            const std::string_view value = word.substr(system_option.size());
            if (!lib13818::parse(value, t.system) || t.system == lib13818::DeliverySystem::automatic)
                return "system must be dvb-s, dvb-s2, dvb-t, dvb-t2 or dvb-c, not '" + std::string(value) +
                       "'";
            if (frontend_type_of(t.system) != type)
                return std::string(value) + " is not a system of this manifest's frontend";
        } else if (word.starts_with(stream_option)) {
            std::uint32_t n = 0;
            if (!read_number(word.substr(stream_option.size()), n) || n > lib13818::max_stream_id)
                return "stream must be a number from 0 to 255";
            t.stream_id = static_cast<std::int32_t>(n);
        } else {
            break;
        }
        rest = after;
    }
    if (t.stream_id != lib13818::automatic && !lib13818::is_second_generation(t.system))
        return "stream is for dvb-s2 and dvb-t2 lines";
    return {};
}

// One transponder line; "" or the reason it does not parse.
std::string read_transponder(std::string_view rest, std::int32_t type, const std::string& folder,
                             capture_transponder& t) {
    const std::string_view position = next_word(rest);
    const std::string_view frequency = next_word(rest);
    const std::string_view polarisation = next_word(rest);
    const std::string_view symbol_rate = next_word(rest);
    if (std::string why = read_options(rest, type, t); !why.empty()) return why;
    const std::string_view file = trim(rest);
    if (file.empty()) return "expected POSITION FREQUENCY_KHZ POLARISATION SYMBOL_RATE FILE";
    if (type == frontend_dvb_s) {
        std::uint32_t n = 0;
        if (!read_number(position, n) || n > 3) return "position must be 0, 1, 2 or 3";
        t.position = static_cast<int>(n);
        if (polarisation.size() != 1 ||
            std::string_view("HVLR").find(polarisation[0]) == std::string_view::npos)
            return "polarisation must be H, V, L or R";
        t.polarisation = polarisation[0];
    } else if (position != "-" || polarisation != "-") {
        return "cable and terrestrial transponders give '-' for position and polarisation";
    }
    if (!read_number(frequency, t.frequency_khz) || t.frequency_khz == 0)
        return "frequency must be a number of kHz";
    if (!read_number(symbol_rate, t.symbol_rate)) return "symbol rate must be a number of symbols per second";
    t.path = (std::filesystem::path(folder) / std::filesystem::path(file)).lexically_normal().string();
    return {};
}

}  // namespace

std::string parse_manifest(std::string_view text, const std::string& name, const std::string& folder,
                           capture_manifest& out) {
    capture_manifest manifest;
    bool frontend_given = false;
    int line_number = 0;
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        text.remove_prefix(std::min(end + 1, text.size()));
        ++line_number;
        line = trim(line.substr(0, line.find('#')));
        if (line.empty()) continue;

        const auto fail = [&](const std::string& why) {
            return name + ":" + std::to_string(line_number) + ": " + why;
        };
        std::string_view rest = line;
        if (next_word(rest) == "frontend") {
            if (frontend_given || !manifest.transponders.empty())
                return fail("the frontend line must come once, before the transponders");
            if (!read_frontend(next_word(rest), manifest.type) || !trim(rest).empty())
                return fail("expected frontend dvb-s, dvb-c or dvb-t");
            frontend_given = true;
            continue;
        }
        capture_transponder t;
        t.line = line_number;
        if (std::string why = read_transponder(line, manifest.type, folder, t); !why.empty())
            return fail(why);
        manifest.transponders.push_back(std::move(t));
    }
    if (manifest.transponders.empty()) return name + ": no transponder in the manifest";
    out = std::move(manifest);
    return {};
}

lib13818::DeliverySystem base_system(std::int32_t frontend_type) {
    switch (frontend_type) {
        case frontend_dvb_c:
            return lib13818::DeliverySystem::dvb_c;
        case frontend_dvb_t:
            return lib13818::DeliverySystem::dvb_t;
        default:
            return lib13818::DeliverySystem::dvb_s;
    }
}

std::string load_manifest(const std::string& path, capture_manifest& out) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return "cannot open " + path + ": " + std::strerror(errno);
    std::ostringstream text;
    text << file.rdbuf();
    if (file.bad()) return "cannot read " + path;
    const std::string folder = std::filesystem::path(path).parent_path().string();
    return parse_manifest(text.str(), path, folder, out);
}

}  // namespace kestrel
