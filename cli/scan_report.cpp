#include "cli/scan_report.h"

#include <optional>
#include <set>
#include <string>

#include "cli/scan_command.h"
#include "cli/text_charset.h"
#include "lib13818/core/dvb_text.h"
#include "lib13818/names/registry.h"
#include "views/scan_json.h"
#include "views/tree_text.h"

namespace kestrel::cli {

namespace {

struct table_count {
    std::size_t sections = 0;
    std::size_t items = 0;
};

table_count count(const NitMap& map) {
    table_count c;
    for (const auto& [network_id, sections] : map)
        c.sections += sections.size();
    return c;
}

table_count count(const SdtMap& map) {
    table_count c;
    for (const auto& [onid, streams] : map)
        for (const auto& [tsid, sections] : streams)
            for (const auto& [number, sdt] : sections) {
                ++c.sections;
                c.items += sdt.services.size();
            }
    return c;
}

table_count count(const EitMap& map) {
    table_count c;
    for (const auto& [onid, streams] : map)
        for (const auto& [tsid, services] : streams)
            for (const auto& [sid, sections] : services)
                c.sections += sections.size();
    return c;
}

template <class Table>
table_count count(const Table& table) {
    return {table.parsed ? 1u : 0u, 0};
}

// Named apart from the count of any table: a PAT filed with its bytes would otherwise
// match the template better.
table_count count_programs(const lib13818::Pat& pat) {
    table_count c{pat.parsed ? 1u : 0u, 0};
    for (const lib13818::PatProgram& program : pat.programs)
        if (program.program_number != 0) ++c.items;
    return c;
}

table_count count(const PmtList& pmts) {
    std::set<std::int32_t> programs;
    for (const lib13818::Pmt& pmt : pmts)
        programs.insert(pmt.table_id_extension);
    return {pmts.size(), programs.size()};
}

std::string counted(std::size_t n, const char* noun) {
    return std::to_string(n) + " " + noun + (n == 1 ? "" : "s");
}

void print_table(std::FILE* out, const char* name, table_count c, const char* item_noun = nullptr) {
    if (c.sections == 0) return;
    std::string line = std::string("    ") + name + ": " + counted(c.sections, "section");
    if (item_noun != nullptr) line += ", " + counted(c.items, item_noun);
    std::fprintf(out, "%s\n", line.c_str());
}

void print_tables(const Transponder& t, std::FILE* out) {
    print_table(out, "CAT", count(t.CAT));
    print_table(out, "NIT actual", count(t.nit_actual));
    print_table(out, "NIT other", count(t.nit_other));
    print_table(out, "SDT actual", count(t.sdt_actual), "service");
    print_table(out, "SDT other", count(t.sdt_other), "service");
    print_table(out, "BAT", count(t.BAT));
    print_table(out, "PAT", count_programs(t.PAT), "program");
    print_table(out, "RST", count(t.RST));
    print_table(out, "TDT", count(t.TDT));
    print_table(out, "TOT", count(t.TOT));
    print_table(out, "PMT", count(t.PMTs), "program");
    print_table(out, "EIT p/f actual", count(t.eit_actual_present_following));
    print_table(out, "EIT p/f other", count(t.eit_other_present_following));
    print_table(out, "EIT schedule actual", count(t.eit_actual_schedule));
    print_table(out, "EIT schedule other", count(t.eit_other_schedule));
}

}  // namespace

void print_summary(const AllNetworks& networks, std::FILE* out) {
    for (const auto& [onid, network] : networks) {
        const std::string name = lib13818::latin1_to_utf8(lib13818::original_network_name(onid));
        std::fprintf(out, "%04X - %s\n", static_cast<unsigned>(onid), name.c_str());
        for (const auto& [tsid, transponder] : network.transponders) {
            std::fprintf(out, "  %s\n", transponder.label().c_str());
            print_tables(transponder, out);
        }
    }
}

int report_scan(const scan_request& request, const AllNetworks& networks, std::FILE* out) {
    // --charset, when given, replaces each network's guessed table for selector-less text.
    std::optional<std::string> charset;
    if (!charset_override().empty()) charset = charset_override();
    if (request.json) {
        const std::string text = views::json_text(views::scan_json(networks, charset));
        std::fprintf(out, "%s\n", text.c_str());
    } else if (request.tree) {
        views::table_tree tree(networks, {charset});
        const std::string text = views::tree_text(tree, request.values);
        std::fwrite(text.data(), 1, text.size(), out);
    } else {
        print_summary(networks, out);
    }
    return std::fflush(out) == 0 ? 0 : 1;
}

}  // namespace kestrel::cli
