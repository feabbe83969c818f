#include "cli/section_dump.h"

#include <cstdio>
#include <string>

#include "lib13818/core/error.h"
#include "lib13818/tables/bat.h"
#include "lib13818/tables/cat.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tables/rst.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tables/tdt.h"
#include "lib13818/tables/tot.h"

namespace kestrel::cli {

namespace {

template <class Table>
void dump_as(std::ostream& out, const std::uint8_t* section, std::size_t size) {
    Table table;
    table.parse(section, size);
    table.dump(out);
}

// The dumps change the stream's base and fill; the next line must not inherit them.
class format_guard {
  public:
    explicit format_guard(std::ostream& out) : out_(out), flags_(out.flags()), fill_(out.fill()) {}
    ~format_guard() {
        out_.flags(flags_);
        out_.fill(fill_);
    }
    format_guard(const format_guard&) = delete;
    format_guard& operator=(const format_guard&) = delete;

  private:
    std::ostream& out_;
    std::ios_base::fmtflags flags_;
    char fill_;
};

// What went wrong, for the kind-coded faults that carry no message.
std::string fault_text(const lib13818::error& e) {
    if (!e.message.empty()) return e.message;
    if (e.kind == lib13818::error::kind_syntax) return "section syntax error";
    if (e.kind == lib13818::error::kind_pat_loop) return "program loop length not a multiple of 4";
    return "decoding fault " + std::to_string(e.kind);
}

}  // namespace

void dump_section(std::ostream& out, const std::uint8_t* section, std::size_t size) {
    const format_guard guard(out);
    try {
        if (size == 0) throw lib13818::error(lib13818::messages::too_little_data);
        switch (section[0]) {
            case 0x00:
                return dump_as<lib13818::Pat>(out, section, size);
            case 0x01:
                return dump_as<lib13818::Cat>(out, section, size);
            case 0x02:
                return dump_as<lib13818::Pmt>(out, section, size);
            case 0x40:
            case 0x41:
                return dump_as<lib13818::Nit>(out, section, size);
            case 0x42:
            case 0x46:
                return dump_as<lib13818::Sdt>(out, section, size);
            case 0x4A:
                return dump_as<lib13818::Bat>(out, section, size);
            case 0x70:
                return dump_as<lib13818::Tdt>(out, section, size);
            case 0x71:
                return dump_as<lib13818::Rst>(out, section, size);
            case 0x73:
                return dump_as<lib13818::Tot>(out, section, size);
            default: {
                // The EIT spans 34 table ids: present/following and schedule, actual and other.
                if (section[0] >= 0x4E && section[0] <= 0x6F)
                    return dump_as<lib13818::Eit>(out, section, size);
                char line[32];
                std::snprintf(line, sizeof line, "unsupported table_id 0x%02x\n", section[0]);
                out << line;
            }
        }
    } catch (const lib13818::error& e) {
        out << std::dec << "error: " << fault_text(e);
        if (e.has_where() && e.where >= section && e.where < section + size)
            out << " at byte " << (e.where - section);
        out << '\n';
    }
}

}  // namespace kestrel::cli
