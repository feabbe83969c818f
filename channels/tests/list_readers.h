#pragma once

// Readers of the two channel list formats, written from their descriptions and independent
// of the writers, for the tests to read back what was written.

#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace kestrel::channels::testing {

inline std::string file_text(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

struct dvbv5_block {
    std::string name;
    std::map<std::string, std::string> keys;
};

// Blocks "[NAME]" of "KEY = VALUE" lines (leading blanks allowed), blank lines between them.
// A line of any other shape, a key outside a block or a key given twice in one block is
// returned in `fault`.
inline std::vector<dvbv5_block> read_dvbv5(const std::string& text, std::string& fault) {
    std::vector<dvbv5_block> blocks;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        const auto first = line.find_first_not_of(" \t");
        if (first == std::string::npos) continue;
        if (line[first] == '[' && line.back() == ']') {
            blocks.push_back({line.substr(first + 1, line.size() - first - 2), {}});
            continue;
        }
        const auto equals = line.find(" = ");
        if (blocks.empty() || equals == std::string::npos || first >= equals) {
            fault = "stray line: " + line;
            return blocks;
        }
        if (!blocks.back().keys.emplace(line.substr(first, equals - first), line.substr(equals + 3)).second) {
            fault = "repeated key: " + line;
            return blocks;
        }
    }
    return blocks;
}

// The keys a dvbv5 file may carry; any other is dropped by its readers.
inline bool is_dvbv5_key(const std::string& key) {
    static const char* const keys[] = {
        "SERVICE_ID",      "NETWORK_ID",     "TRANSPORT_ID",      "VCHANNEL",  "VIDEO_PID",    "AUDIO_PID",
        "DELIVERY_SYSTEM", "FREQUENCY",      "SYMBOL_RATE",       "INNER_FEC", "MODULATION",   "POLARIZATION",
        "ROLLOFF",         "PILOT",          "INVERSION",         "STREAM_ID", "BANDWIDTH_HZ", "CODE_RATE_HP",
        "CODE_RATE_LP",    "GUARD_INTERVAL", "TRANSMISSION_MODE", "HIERARCHY", "LNB",          "SAT_NUMBER"};
    for (const char* k : keys)
        if (key == k) return true;
    return key.size() == 6 && key.starts_with("PID_");
}

// A channels.conf line split at its colons.
inline std::vector<std::string> vdr_fields(const std::string& line) {
    std::vector<std::string> fields;
    std::istringstream in(line);
    for (std::string field; std::getline(in, field, ':');)
        fields.push_back(field);
    if (!line.empty() && line.back() == ':') fields.emplace_back();
    return fields;
}

}  // namespace kestrel::channels::testing
