#include <gtest/gtest.h>

#include <fstream>

#include "cli/program_settings.h"
#include "cli/scan_command.h"
#include "dbexport/tests/export_database_reader.h"
#include "settings/keys.h"

namespace kestrel::cli {
namespace {

using rows = std::vector<std::string>;

int scan(std::vector<std::string> args) {
    std::vector<char*> argv;
    for (std::string& arg : args)
        argv.push_back(arg.data());
    return run_scan(argv);
}

TEST(ScanExport, WritesTheSatellitesScanOfTheDemoNetworkOnlyOverAFileItMayReplace) {
    settings_store& store = program_settings();
    settings::write(store, settings::lnb_satellite[0], "Kestrel Sat A");
    settings::write(store, settings::lnb_satellite[1], "Kestrel Sat B");
    settings::write(store, settings::disqmode, 2);
    const dbexport::testing::scratch_folder folder;
    const std::string file = (folder.path() / "demo.db").string();
    std::ofstream(file) << "an earlier export";
    const std::vector<std::string> args{"--card",  "demo",     "--mode", "satellites",
                                        "--quiet", "--export", file};

    EXPECT_EQ(scan(args), 2);
    EXPECT_EQ(dbexport::testing::query(file, "SELECT count(*) FROM sqlite_master"),
              rows{"bad query: file is not a database"});
    std::vector<std::string> forced = args;
    forced.push_back("--force");
    ASSERT_EQ(scan(forced), 0);
    EXPECT_EQ(dbexport::testing::query(file, "SELECT NID, DISQ FROM tb_network"), rows{"12032|0"});
    EXPECT_EQ(dbexport::testing::query(file,
                                       "SELECT group_concat(TID || ' ' || FREQUENCY || ' ' || SYMBOLRATE, "
                                       "', ') FROM tb_transponder"),
              rows{"1 12322 27, 2 11778 27, 3 12603 22, 4 11954 27, 5 12207 27, 6 11836 30, 7 12188 27, 8 "
                   "12188 27"});
    EXPECT_EQ(dbexport::testing::query(file,
                                       "SELECT count(*), count(DISTINCT SERVICENAME), sum(VPID != 8191) "
                                       "FROM service_list"),
              rows{"16|16|16"});
    EXPECT_EQ(dbexport::testing::query(
                  file, "SELECT count(*) FROM ecm_list UNION ALL SELECT count(*) FROM tb_ca_emm"),
              (rows{"8", "8"}));

    // An export that fails turns a good scan into exit status 1.
    EXPECT_EQ(scan({"--card", "demo", "--quiet", "--export", file + "/inside.db"}), 1);
    EXPECT_EQ(folder.entries(), rows{"demo.db"});
}

}  // namespace
}  // namespace kestrel::cli
