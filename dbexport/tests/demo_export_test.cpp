#include <gtest/gtest.h>

#include <set>

#include "dbexport/database_export.h"
#include "dbexport/tests/export_database_reader.h"
#include "tools/demo/demo_network.h"
#include "ts/section_extractor.h"

namespace kestrel::dbexport {
namespace {

// One demo transport stream as a scan files it: PAT, CAT, actual SDT and every PMT.
Transponder read_transponder(const demo::satellite& sat, const demo::transponder& demo_tp,
                             std::int32_t& onid) {
    Transponder tp;
    tp.frequency = demo_tp.frequency_khz / 1e6;
    tp.polarisation = demo_tp.polarisation == 'V' ? 1 : 0;
    tp.symbol_rate = demo_tp.symbol_rate / 1e6;
    tp.transponder_number = demo_tp.transport_stream_id;
    std::set<std::int64_t> tables_read;  // table_id, table_id_extension, section_number
    ts::section_extractor extractor;
    for (const std::uint16_t pid : {0x00, 0x01, 0x11})
        extractor.select_pid(pid);
    extractor.start(ts::format_188);
    extractor.feed(demo::capture(sat, demo_tp), true, [&](std::uint16_t, std::span<const std::uint8_t> s) {
        const std::int64_t key = std::int64_t{s[0]} << 24 | s[3] << 16 | s[4] << 8 | s[6];
        if (!tables_read.insert(key).second) return;
        if (s[0] == 0x00) {
            tp.PAT.parse(s.data(), s.size());
            for (const lib13818::PatProgram& program : tp.PAT.programs)
                extractor.select_pid(static_cast<std::uint16_t>(program.PID));
        } else if (s[0] == 0x01) {
            tp.CAT.parse(s.data(), s.size());
        } else if (s[0] == 0x02) {
            tp.PMTs.emplace_back().parse(s.data(), s.size());
        } else if (s[0] == 0x42) {
            lib13818::Sdt sdt;
            sdt.parse(s.data(), s.size());
            onid = sdt.original_network_id;
            file_section(tp.sdt_actual, sdt);
        }
    });
    return tp;
}

TEST(DemoExport, HoldsTheSatellitesScanOfTheDemoNetwork) {
    AllNetworks networks;
    for (const demo::satellite& sat : demo::satellites())
        for (const demo::transponder& demo_tp : sat.transponders) {
            std::int32_t onid = -1;
            const Transponder tp = read_transponder(sat, demo_tp, onid);
            add_transponder(networks, onid, tp.PAT.table_id_extension, tp, sat.position);
        }
    testing::scratch_folder folder;
    const auto file = folder.path() / "demo.db";
    ASSERT_EQ(export_database(file, networks), "");

    EXPECT_EQ(testing::query(file, "SELECT NID, DISQ FROM tb_network"), std::vector<std::string>{"12032|0"});
    EXPECT_EQ(testing::query(file,
                             "SELECT group_concat(TID || ' ' || FREQUENCY || ' ' || SYMBOLRATE, ', ') "
                             "FROM tb_transponder"),
              std::vector<std::string>{"1 12322 27, 2 11778 27, 3 12603 22, 4 11954 27, 5 12207 27"});
    EXPECT_EQ(testing::query(
                  file, "SELECT count(*), count(DISTINCT SERVICENAME), sum(VPID != 8191) FROM service_list"),
              std::vector<std::string>{"10|10|10"});
    EXPECT_EQ(testing::query(file, "SELECT count(*) FROM ecm_list UNION ALL SELECT count(*) FROM tb_ca_emm"),
              (std::vector<std::string>{"5", "5"}));
}

}  // namespace
}  // namespace kestrel::dbexport
