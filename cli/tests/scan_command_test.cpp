#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <nlohmann/json.hpp>

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
    EXPECT_EQ(parse({"--graph"}, r), "unknown argument '--graph' (try --help)");
    EXPECT_EQ(parse({"--values"}, r), "");
    EXPECT_TRUE(r.tree);
    EXPECT_EQ(parse({"--tree", "--json"}, r), "--json and --tree (or --values) exclude each other");
    scan_request exporting;
    EXPECT_EQ(parse({"--force", "--export=scan.db"}, exporting), "");
    EXPECT_EQ(exporting.export_path, "scan.db");
    EXPECT_TRUE(exporting.force);
    scan_request fresh;
    EXPECT_EQ(parse({"--force"}, fresh), "--force needs --export or --channels");
    scan_request listing;
    EXPECT_EQ(parse({"--channel-format", "vdr"}, listing), "--channel-format needs --channels");
    EXPECT_EQ(parse({"--channels", "c.conf", "--channel-format", "xml"}, listing),
              "--channel-format needs dvbv5 or vdr, not 'xml'");
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

// Mode nit runs on every family; mode satellites needs a satellite card.
TEST(ScanCommand, ExitsOneWithoutNitAndTwoForSatellitesOnACardThatIsNotDvbS) {
    const std::string capture = std::string(KESTREL_SHARED_DIR) + "/captures/test-025.ts";
    if (!std::filesystem::exists(capture)) GTEST_SKIP() << "no " << capture;
    const std::string cable = "capture:" + capture + "?dvb-c", satellite = "capture:" + capture;
    std::vector<const char*> args{"--card", satellite.c_str(), "--mode", "nit", "--quiet"};
    EXPECT_EQ(run_scan({const_cast<char* const*>(args.data()), args.size()}), 1);
    args[1] = cable.c_str();
    EXPECT_EQ(run_scan({const_cast<char* const*>(args.data()), args.size()}), 1);
    args[3] = "satellites";
    EXPECT_EQ(run_scan({const_cast<char* const*>(args.data()), args.size()}), 2);
}

// What the scan prints on standard output for these arguments; its exit status in `status`.
std::string scan_output(std::vector<const char*> args, int& status) {
    ::testing::internal::CaptureStdout();
    status = run_scan({const_cast<char* const*>(args.data()), args.size()});
    return ::testing::internal::GetCapturedStdout();
}

TEST(ScanCommand, PrintsTheTreeAndTheJsonOfADemoTransponder) {
    if (!std::filesystem::exists(KESTREL_DATA_DIR "/demo/demo.manifest")) GTEST_SKIP() << "no demo network";
    int status = -1;
    const std::string tree = scan_output({"--card", "demo", "--tree", "--quiet"}, status);
    ASSERT_EQ(status, 0);
    std::vector<std::string> tables;  // the nodes under the transponder, six blanks in
    for (std::size_t at = 0, end; (end = tree.find('\n', at)) != std::string::npos; at = end + 1)
        if (tree.compare(at, 6, "      ") == 0 && tree[at + 6] != ' ')
            tables.push_back(tree.substr(at + 6, end - at - 6));
    EXPECT_EQ(tables,
              (std::vector<std::string>{"CAT", "NIT - actual network", "NIT - other network",
                                        "SDT - actual transport stream", "SDT - other transport stream",
                                        "BAT", "PAT", "RST", "TDT", "TOT", "PMT", "EIT"}));
    EXPECT_NE(tree.find("\n        0011 - Kestrel Demo 1\n"), std::string::npos);
    // The demo's second name follows an ISO 8859-9 selector.
    EXPECT_NE(tree.find("\n        0012 - Kestrel D\xC3\xA9mo 2 \xC5\x9E\xC3\xB6len\n"), std::string::npos);
    EXPECT_NE(tree.find("SID 0021 - Kestrel Demo 3\n"), std::string::npos);  // an EIT other service
    EXPECT_EQ(tree.find("<service not in SDT>"), std::string::npos);

    const auto json = nlohmann::json::parse(scan_output({"--card", "demo", "--json", "--quiet"}, status));
    ASSERT_EQ(status, 0);
    const auto& transponder = json.at("networks").at(0).at("transponders").at(0);
    EXPECT_EQ(transponder.at("delivery_system"), "DVB-S");
    EXPECT_EQ(transponder.at("modulation"), "QPSK");
    EXPECT_FALSE(transponder.contains("roll_off"));  // DVB-S2 only
    EXPECT_TRUE(transponder.at("stream_id").is_null());
    EXPECT_EQ(transponder.at("frequency_khz"), 12322000);
    const auto& tables_json = transponder.at("tables");
    const auto& services = tables_json.at("sdt_actual").at(0).at("services");
    const auto& name = services.at(0).at("descriptors").at("service").at(0);
    EXPECT_EQ(name.at("service_name"), "Kestrel Demo 1");
    EXPECT_EQ(name.at("service_name_raw"), "4B65737472656C2044656D6F2031");
    EXPECT_EQ(services.at(1).at("descriptors").at("service").at(0).at("service_name"),
              "Kestrel D\xC3\xA9mo 2 \xC5\x9E\xC3\xB6len");
}

}  // namespace
}  // namespace kestrel::cli
