#include "startup/registry_csv.h"

#include <charconv>
#include <string>

#include "startup/latin1.h"

namespace kestrel::startup {

namespace {

// Splits one CSV record into its fields. A quoted field may hold commas, line breaks and
// doubled quotes; the record then continues on the next lines of `in`.
std::vector<std::string> read_record(std::istream& in, std::string line) {
    std::vector<std::string> fields(1);
    bool quoted = false;
    std::size_t i = 0;
    while (true) {
        if (i == line.size()) {
            // A quoted field goes on across the line break.
            if (!quoted || !std::getline(in, line)) break;
            fields.back() += '\n';
            i = 0;
            continue;
        }
        const char c = line[i++];
        if (c == '"' && quoted && i < line.size() && line[i] == '"') {
            fields.back() += '"';
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ',' && !quoted) {
            fields.emplace_back();
        } else if (c != '\r' || quoted) {
            fields.back() += c;
        }
    }
    return fields;
}

bool parse_id(const std::string& text, int32_t& id) {
    if (text.size() < 3 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return false;
    const char* end = text.data() + text.size();
    const auto [rest, fault] = std::from_chars(text.data() + 2, end, id, 16);
    return fault == std::errc() && rest == end && id >= 0 && id <= 0xFFFF;
}

}  // namespace

RegistryFile read_registry_csv(std::istream& in) {
    RegistryFile file;
    std::string line;
    bool header = true;
    while (std::getline(in, line)) {
        if (header) {
            header = false;
            continue;
        }
        if (line.empty() || line == "\r") continue;
        const std::vector<std::string> fields = read_record(in, std::move(line));
        int32_t id = 0;
        if (fields.size() < 2 || !parse_id(fields[0], id) || fields[1].empty()) {
            ++file.skipped;
            continue;
        }
        file.rows.push_back({id, utf8_to_latin1(fields[1])});
    }
    return file;
}

}  // namespace kestrel::startup
