#include "cli/dump_sections.h"

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <span>
#include <string_view>
#include <vector>

#include "cli/section_dump.h"
#include "cli/text_charset.h"

namespace kestrel::cli {

namespace {

constexpr std::size_t header_size = 3;

void write_header(std::ostream& out, std::size_t number, const std::vector<std::uint8_t>& section) {
    char line[96];
    std::snprintf(line, sizeof line, "== section %zu: table_id 0x%02x, %zu bytes\n", number, section[0],
                  section.size());
    out << line;
}

}  // namespace

bool dump_sections(std::FILE* in, std::ostream& out) {
    // All sections first: the texts of the whole file choose the table for those without
    // a selector.
    std::vector<std::vector<std::uint8_t>> sections;
    std::vector<std::uint8_t> cut;  // a last section whose header was read, its body cut short
    std::size_t got = 0;
    for (;;) {
        std::vector<std::uint8_t> section(header_size);
        got = std::fread(section.data(), 1, header_size, in);
        if (got != header_size) break;
        section.resize(header_size + (((section[1] & 0x0F) << 8) | section[2]));
        const std::size_t rest = section.size() - header_size;
        if (std::fread(section.data() + header_size, 1, rest, in) != rest) {
            cut = std::move(section);
            break;
        }
        sections.push_back(std::move(section));
    }
    const std::vector<std::span<const std::uint8_t>> views(sections.begin(), sections.end());
    lib13818::dvb_text_decoder decoder = sections_text_decoder(views);
    const lib13818::text_decoder_scope scope(out, decoder);
    for (std::size_t i = 0; i < sections.size(); ++i) {
        write_header(out, i + 1, sections[i]);
        dump_section(out, sections[i].data(), sections[i].size());
    }
    if (!cut.empty()) write_header(out, sections.size() + 1, cut);
    if (std::ferror(in)) return false;
    if (got != 0) out << "error: truncated section\n";
    return true;
}

int run_dump_sections(std::span<char* const> args) {
    if (args.size() != 1) {
        std::cerr << "kestrel-cli dump-sections: expected one FILE or - (try --help)\n";
        return 2;
    }
    const std::string_view path = args[0];
    std::FILE* in = path == "-" ? stdin : std::fopen(args[0], "rb");
    if (in == nullptr) {
        std::cerr << "kestrel-cli dump-sections: cannot open " << path << ": " << std::strerror(errno)
                  << '\n';
        return 1;
    }
    const bool read_ok = dump_sections(in, std::cout);
    const int read_errno = errno;
    if (in != stdin) std::fclose(in);
    std::cout.flush();
    if (!read_ok) {
        std::cerr << "kestrel-cli dump-sections: cannot read " << path << ": " << std::strerror(read_errno)
                  << '\n';
        return 1;
    }
    return 0;
}

}  // namespace kestrel::cli
