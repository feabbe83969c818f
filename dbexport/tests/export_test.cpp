#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <fstream>
#include <regex>

#include "dbexport/database_export.h"
#include "dbexport/testing/synthetic_scan.h"
#include "dbexport/tests/export_database_reader.h"
#include "lib13818/names/registry.h"

namespace kestrel::dbexport {
namespace {

using testing::query;
using testing::scratch_folder;
using rows = std::vector<std::string>;

lib13818::DescriptorCA ca(std::int32_t system, std::int32_t pid, std::vector<std::uint8_t> bytes) {
    lib13818::DescriptorCA d(system, pid);
    d.private_data = std::move(bytes);
    return d;
}

lib13818::ElementaryStream stream(std::int32_t type, std::int32_t pid) {
    lib13818::ElementaryStream s;
    s.stream_type = type;
    s.elementary_PID = pid;
    return s;
}

lib13818::SdtService sdt_entry(std::int32_t id, std::string name, int free_ca) {
    lib13818::SdtService entry;
    entry.service_id = id;
    entry.EIT_schedule_flag = 1;
    entry.free_CA_mode = free_ca;
    entry.EIT_present_following_flag = 1;
    if (!name.empty()) {
        lib13818::DescriptorService names;
        names.service_type = 1;
        names.provider_name = "\x05Kestrel";  // with a character table selector in front
        names.service_name = std::move(name);
        entry.service.push_back(names);
    }
    return entry;
}

// One transport stream with the awkward cases: a program repeated in the PAT, one without
// PMT or SDT entry, one in the SDT without a service descriptor, a service named in two
// SDT sections, a second PMT for the same program and 100 private bytes in a CA descriptor.
AllNetworks awkward_scan() {
    Transponder tp;
    tp.frequency = 11.777999;
    tp.symbol_rate = 21.9999999;  // 22000 ksymbols/s in floating point
    tp.polarisation = 1;
    tp.FEC = 3;
    tp.delivery.system = lib13818::DeliverySystem::dvb_s2;
    tp.delivery.modulation = lib13818::Modulation::psk_8;
    tp.delivery.roll_off = lib13818::RollOff::r0_20;
    tp.delivery.stream_id = 3;
    tp.CAT.CA_descriptors.push_back(ca(0x0B00, 0x1F0, {}));
    tp.PAT.programs = {{0, 0x10}, {100, 0x100}, {200, 0x200}, {300, 0x300}, {100, 0x999}};

    std::vector<std::uint8_t> hundred(100);
    for (std::size_t i = 0; i < hundred.size(); ++i)
        hundred[i] = static_cast<std::uint8_t>(i * 3);
    with_bytes<lib13818::Pmt> pmt;
    pmt.table_id_extension = 100;
    pmt.PCR_PID = 0x101;
    pmt.CA.push_back(ca(0x0B00, 0x104, hundred));
    pmt.streams = {stream(0x06, 0x103), stream(0x02, 0x101), stream(0x04, 0x102), stream(0x01, 0x1A0)};
    pmt.streams[2].CA.push_back(ca(0x0100, 0x105, {0xAB, 0x0C}));
    with_bytes<lib13818::Pmt> later = pmt;
    later.PCR_PID = 0x555;
    with_bytes<lib13818::Pmt> bare;
    bare.table_id_extension = 300;
    bare.PCR_PID = 0x301;
    tp.PMTs = {pmt, later, bare};

    with_bytes<lib13818::Sdt> first, second, other_stream;
    first.services = {sdt_entry(100, "First", 1), sdt_entry(300, "", 0)};
    second.services = {sdt_entry(100,
                                 "\x05"
                                 "Caf\xE9",
                                 1)};  // after an ISO 8859-9 selector
    other_stream.services = {sdt_entry(200, "Elsewhere", 0)};
    tp.sdt_actual[0x85][0x401] = {{0, first}, {1, second}};
    tp.sdt_actual[0x85][0x402] = {{0, other_stream}};

    AllNetworks networks;
    add_transponder(networks, 0x85, 0x401, tp, 2);
    return networks;
}

class DatabaseExport : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        lib13818::build_registries({{0x85, "R\xE9seau"}}, {{0x0B00, "Kestrel CA"}});
    }
    scratch_folder folder;
    std::filesystem::path file = folder.path() / "scan.db";
};

TEST_F(DatabaseExport, EmptyScanGivesTheWholeSchema) {
    ASSERT_EQ(export_database(file, {}), "");
    EXPECT_EQ(query(file, "SELECT name FROM sqlite_master WHERE name LIKE 'tb_%' AND type = 'table'"),
              (rows{"tb_network", "tb_transponder", "tb_service", "tb_audio", "tb_ca_ecm", "tb_ca_emm"}));
    EXPECT_EQ(
        query(file,
              "SELECT m.name, group_concat(p.name || ' ' || p.type, ', ') FROM sqlite_master m, "
              "pragma_table_info(m.name) p WHERE m.name LIKE 'tb_%' GROUP BY m.name ORDER BY m.rowid"),
        (rows{"tb_network|NID INTEGER, NETWORK_NAME VARCHAR(255), DISQ INTEGER, SWITCH12 INTEGER",
              "tb_transponder|TRANSPONDER_ID INTEGER, NID INTEGER, TID INTEGER, FREQUENCY INTEGER, "
              "POLARIZATION INTEGER, SYMBOLRATE INTEGER, FEC INTEGER, DELIVERY_SYSTEM TEXT, MODULATION TEXT, "
              "ROLLOFF TEXT, STREAM_ID INTEGER",
              "tb_service|SERVICE_ID INTEGER, TRANSPONDER_ID INTEGER, SID INTEGER, SERVICENAME VARCHAR(50), "
              "PROVIDERNAME VARCHAR(50), TYPE INTEGER, FREE_CA INTEGER, EIT_SCHEDULE INTEGER, "
              "EIT_PRESENT_FOLLOWING INTEGER, VPID INTEGER, APID INTEGER, PCR INTEGER, PMT INTEGER",
              "tb_audio|AUDIO_ID INTEGER, SERVICE_ID INTEGER, APID INTEGER, LANGUAGE VARCHAR(50)",
              "tb_ca_ecm|CAECM_ID INTEGER, SERVICE_ID INTEGER, SYSTEM_ID INTEGER, CAPROVIDER_NAME "
              "VARCHAR(255), CA_PID INTEGER, PRIVATEBYTES VARCHAR(255)",
              "tb_ca_emm|CAEMM_ID INTEGER, TRANSPONDER_ID INTEGER, SYSTEM_ID INTEGER, CAPROVIDER_NAME "
              "VARCHAR(255), CA_PID INTEGER, PRIVATEBYTES VARCHAR(255)"}));

    // The keys by name, as the table definitions carry them.
    std::string keys;
    const std::regex constraint(
        R"(CONSTRAINT (\w+) ([A-Z ]+?)(AUTOINCREMENT|\(([^)]*)\)( REFERENCES (\w+))?))");
    for (const std::string& sql :
         query(file, "SELECT sql FROM sqlite_master WHERE name LIKE 'tb_%' ORDER BY rowid"))
        for (std::sregex_iterator k(sql.begin(), sql.end(), constraint), end; k != end; ++k)
            keys += (*k)[1].str() + " " + (*k)[2].str() + (*k)[4].str() + (*k)[6].str() + "; ";
    EXPECT_EQ(
        keys,
        "NID PRIMARY KEY NID; TRANSPONDER FOREIGN KEY NIDtb_network; NET_TRANSPONDER PRIMARY KEY NID, TID; "
        "TRANSPONDER_ID UNIQUE TRANSPONDER_ID; TB_SERVICE FOREIGN KEY TRANSPONDER_IDtb_transponder; "
        "SID_TRANSPONDER PRIMARY KEY TRANSPONDER_ID, SID; SERVICE_ID UNIQUE SERVICE_ID; "
        "AUDIO_ID PRIMARY KEY ; AUDIO FOREIGN KEY SERVICE_IDtb_service; CAECM_ID PRIMARY KEY ; "
        "CA_ECM FOREIGN KEY SERVICE_IDtb_service; CAEMM_ID PRIMARY KEY ; "
        "CA_EMM FOREIGN KEY TRANSPONDER_IDtb_transponder; ");
    EXPECT_EQ(query(file, "SELECT name FROM pragma_table_info('tb_ca_ecm') WHERE pk"), rows{"CAECM_ID"});
    EXPECT_EQ(query(file, "SELECT name FROM sqlite_master WHERE type = 'view'"),
              (rows{"service_list", "ecm_list"}));
    EXPECT_EQ(query(file,
                    "SELECT count(*) FROM service_list UNION ALL SELECT count(*) FROM ecm_list UNION ALL "
                    "SELECT count(*) FROM tb_network UNION ALL SELECT count(*) FROM tb_transponder"),
              (rows{"0", "0", "0", "0"}));
    EXPECT_EQ(folder.entries(), rows{"scan.db"});
}

TEST_F(DatabaseExport, WritesEveryRowWithTheValuesOfTheScan) {
    ASSERT_EQ(export_database(file, awkward_scan()), "");
    EXPECT_EQ(query(file, "SELECT * FROM tb_network"), rows{"133|R\xC3\xA9seau|2|0"});
    EXPECT_EQ(query(file, "SELECT * FROM tb_transponder"),
              rows{"1|133|1025|11778|1|22|3|DVB-S2|8PSK|0.20|3"});
    // A DVB-S transponder has no roll-off to name, and no stream.
    const std::filesystem::path plain = folder.path() / "plain.db";
    ASSERT_EQ(export_database(plain, testing::synthetic_scan(1, 1, 0)), "");
    EXPECT_EQ(query(plain, "SELECT DELIVERY_SYSTEM, MODULATION, ROLLOFF, STREAM_ID FROM tb_transponder"),
              rows{"DVB-S|auto|NULL|NULL"});
    EXPECT_EQ(query(file, "SELECT * FROM tb_service ORDER BY SERVICE_ID"),
              (rows{"1|1|100|Caf\xC3\xA9|Kestrel|1|1|1|1|257|258|257|256",
                    "2|1|200|<service not in sdt>|<service not in sdt>|-1|-1|-1|-1|8191|8191|8191|512",
                    "3|1|300|<service not in sdt>|<service not in sdt>|-1|0|1|1|8191|8191|769|768"}));
    EXPECT_EQ(query(file, "SELECT * FROM tb_ca_emm"), rows{"1|1|2816|Kestrel CA|496|"});

    const rows ecm = query(file,
                           "SELECT CAECM_ID, SERVICE_ID, SYSTEM_ID, CAPROVIDER_NAME, CA_PID, "
                           "length(PRIVATEBYTES), substr(PRIVATEBYTES, 1, 9), substr(PRIVATEBYTES, 247) "
                           "FROM tb_ca_ecm");
    EXPECT_EQ(ecm,
              (rows{"1|1|2816|Kestrel CA|260|255|00 03 06 |F6 F9 FC ", "2|1|256|<unknown>|261|6|AB 0C |"}));
    EXPECT_EQ(query(file, "SELECT count(*) FROM tb_audio"), rows{"0"});

    EXPECT_EQ(query(file, "SELECT * FROM service_list WHERE SID = 100"),
              rows{"133|1025|100|R\xC3\xA9seau|Caf\xC3\xA9|Kestrel|1|257|258|257|256|11778|1|22|3|2|1"});
    EXPECT_EQ(query(file, "SELECT count(*) FROM service_list"), rows{"3"});
    EXPECT_EQ(query(file, "SELECT SERVICENAME, SYSTEM_ID, CA_PID FROM ecm_list"),
              (rows{"Caf\xC3\xA9|2816|260", "Caf\xC3\xA9|256|261"}));
}

TEST_F(DatabaseExport, TargetInAFileInsteadOfAFolderFailsAndLeavesNothing) {
    std::ofstream(folder.path() / "plain") << "not a folder";
    EXPECT_EQ(export_database(folder.path() / "plain" / "scan.db", awkward_scan()),
              "Error: 0x14\nDesc: Not a directory\nSource: system");
    EXPECT_EQ(folder.entries(), rows{"plain"});
}

// Writes that fail part-way (the file size limit stands in for a full disk) keep the
// database that was there; the next export replaces it.
TEST_F(DatabaseExport, FailureWhileWritingKeepsTheEarlierFile) {
    std::ofstream(file) << "an earlier export";
    const AllNetworks big = testing::synthetic_scan(50, 100, 2);

    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{1 << 20, limit.rlim_max};
    const auto previous = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string failure = export_database(file, big);
    setrlimit(RLIMIT_FSIZE, &limit);
    std::signal(SIGXFSZ, previous);

    EXPECT_TRUE(std::regex_match(failure, std::regex("Error: 0x[0-9a-f]+\nDesc: .+\nSource: SQLite")))
        << failure;
    EXPECT_EQ(folder.entries(), rows{"scan.db"});
    std::ifstream earlier(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(earlier), {}), "an earlier export");

    ASSERT_EQ(export_database(file, big), "");
    EXPECT_EQ(query(file, "SELECT count(*), max(SERVICE_ID) FROM tb_service"), rows{"5000|5000"});
    EXPECT_EQ(query(file, "SELECT count(*) FROM ecm_list"), rows{"10000"});
    EXPECT_EQ(folder.entries(), rows{"scan.db"});
}

}  // namespace
}  // namespace kestrel::dbexport
