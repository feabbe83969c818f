#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "cli/scan_command.h"
#include "cli/scan_report.h"

namespace kestrel::cli {
namespace {

std::string parse(std::vector<const char*> args, scan_request& request) {
    return parse_scan_request({const_cast<char* const*>(args.data()), args.size()}, request);
}

TEST(ScanCommand, ReadsItsOptionsAndRefusesBadOnes) {
    scan_request r;
    EXPECT_EQ(parse({"--mode", "nit", "--tables=0x4001", "--quiet", "--card", "demo"}, r), "");
    EXPECT_EQ(r.mode, ScanContext::current_nit);
    EXPECT_EQ(r.tables, 0x4001);
    EXPECT_TRUE(r.quiet);
    EXPECT_EQ(r.card, "demo");
    EXPECT_EQ(parse({"--tables", "17"}, r), "");
    EXPECT_EQ(r.tables, 17);
    EXPECT_EQ(parse({"--mode", "all"}, r), "--mode needs current, nit or satellites, not 'all'");
    EXPECT_EQ(parse({"--tables", "-1"}, r), "--tables needs a table mask (decimal or 0x hex), not '-1'");
    EXPECT_EQ(parse({"--tables"}, r), "--tables needs a table mask (decimal or 0x hex)");
    EXPECT_EQ(parse({"--tree"}, r), "unknown argument '--tree' (try --help)");
}

TEST(ScanCommand, SummarisesEveryTableThatHoldsSomething) {
    Transponder t;
    t.transponder_number = 1;
    t.frequency = 12.322;
    t.FEC_text = "3/4";
    t.symbol_rate = 27.8;
    t.PAT.parsed = true;
    t.PAT.programs = {{0, 0x10}, {1, 0x100}, {2, 0x120}};
    t.sdt_actual[0x2F00][1][0].services.resize(2);
    t.PMTs.resize(1);
    t.eit_other_schedule[0x2F00][2][0x21][48];
    t.eit_other_schedule[0x2F00][2][0x21][56];
    AllNetworks networks;
    add_transponder(networks, 0x2F00, 1, t, 0);

    std::FILE* out = std::tmpfile();
    print_summary(networks, out);
    std::rewind(out);
    std::string text(512, '\0');
    text.resize(std::fread(text.data(), 1, text.size(), out));
    std::fclose(out);
    EXPECT_EQ(text,
              "2F00 - <unknown>\n"
              "  0001 - 12322H 3/4 27800\n"
              "    SDT actual: 1 section, 2 services\n"
              "    PAT: 1 section, 2 programs\n"
              "    PMT: 1 section, 1 program\n"
              "    EIT schedule other: 2 sections\n");
}

TEST(ScanCommand, ExitsOneWithoutNitAndTwoOnACardThatIsNotDvbS) {
    const std::string capture = std::string(KESTREL_SHARED_DIR) + "/captures/test-025.ts";
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "no " << capture;
    const std::string cable = "capture:" + capture + "?dvb-c", satellite = "capture:" + capture;
    std::vector<const char*> args{"--card", satellite.c_str(), "--mode", "nit", "--quiet"};
    EXPECT_EQ(run_scan({const_cast<char* const*>(args.data()), args.size()}), 1);
    args[1] = cable.c_str();
    EXPECT_EQ(run_scan({const_cast<char* const*>(args.data()), args.size()}), 2);
}

}  // namespace
}  // namespace kestrel::cli
