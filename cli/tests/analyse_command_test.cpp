// kestrel-cli analyse as a user runs it: the verdict and exit statuses, the JSON document and
// the CSV bins of a real capture.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>

#include "cli/tests/run_cli.h"
#include "ts/stream_builder.h"

namespace kestrel::cli {
namespace {

using testing::run_cli;
namespace fs = std::filesystem;

class AnalyseCommand : public ::testing::Test {
  protected:
    void SetUp() override { fs::create_directories(folder); }
    void TearDown() override { fs::remove_all(folder); }

    testing::run_result analyse(const std::string& arguments, bool with_errors = true) {
        return run_cli("--settings " + (folder / "settings.ini").string() + " analyse --quiet " + arguments,
                       with_errors);
    }
    // A second of PCRs and payload on one PID; with `fault` a packet whose counter jumps.
    std::string write_stream(const std::string& name, bool fault) {
        ts::stream_builder builder(ts::format_188, 1'000'000);
        ts::mux_plan plan;
        plan.pcr_pid = 0x100;
        plan.pcr_interval_ms = 20;
        plan.elementary_pids = {0x100};
        builder.add_mux(plan);
        if (fault)
            builder.add_packet({.pid = 0x100,
                                .continuity_counter = static_cast<std::uint8_t>(
                                    (builder.continuity_counter(0x100) + 5) & 0x0F)});
        const fs::path path = folder / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(builder.bytes().data()),
                   static_cast<std::streamsize>(builder.bytes().size()));
        return path.string();
    }

    const fs::path folder =
        fs::path(::testing::TempDir()) / ("kestrel-analyse-" + std::to_string(::getpid()));
};

TEST_F(AnalyseCommand, ExitsWithTheVerdictOrTheKindOfFailure) {
    const std::string clean = write_stream("clean.ts", false);
    const std::string faulty = write_stream("faulty.ts", true);
    struct exit_case {
        std::string arguments;
        int status;
        const char* said;
    };
    const exit_case cases[] = {
        {clean, 0, "verdict: OK"},
        {faulty, 1, "verdict: FAILED, raised: 1.4 (1)"},
        {faulty + " --json", 1, "\"Continuity_count_error\""},
        {"", 2, "expected a capture FILE.ts"},
        {(folder / "missing.ts").string(), 2, "missing.ts"},
        {clean + " --interval 0", 2, "--interval needs a whole number"},
        {clean + " --bitrate fast", 2, "--bitrate needs a whole number"},
        {clean + " --colour", 2, "unknown argument '--colour'"},
        {clean + " --csv " + (folder / "no-such-folder" / "bins.csv").string(), 3, "cannot write"},
        {clean + " --card demo", 2, "a capture FILE or --card, not both"},
        {"--card capture:" + (folder / "missing.ts").string(), 2, "missing.ts"},
    };
    for (const exit_case& c : cases) {
        const auto run = analyse(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments << '\n' << run.output;
        EXPECT_NE(run.output.find(c.said), std::string::npos) << c.arguments << '\n' << run.output;
    }
}

TEST_F(AnalyseCommand, WritesJsonAndCsvOfARealCapture) {
    const std::string capture = std::string(KESTREL_SHARED_DIR) + "/captures/test-025.ts";
    if (!fs::exists(capture)) GTEST_SKIP() << capture << " is absent";
    const fs::path csv = folder / "bins.csv";
    const auto run = analyse(capture + " --json --csv " + csv.string(), false);
    ASSERT_LE(run.status, 1) << run.output;
    const auto doc = nlohmann::json::parse(run.output);
    EXPECT_EQ(doc["time_base"], "pcr");
    EXPECT_NEAR(doc["bitrate_bps"].get<double>(), 4.966e6, 4.966e6 * 0.01);
    ASSERT_FALSE(doc["pids"].empty());
    for (const auto& pid : doc["pids"]) {
        EXPECT_TRUE(pid["bitrate_bps"]["mean"].is_number()) << pid.dump();
        EXPECT_TRUE(pid.contains("service_ids") && pid.contains("pcr_interval_ms")) << pid.dump();
    }
    const auto& indicators = doc["indicators"];
    const auto continuity =
        std::find_if(indicators.begin(), indicators.end(), [](const auto& i) { return i["id"] == "1.4"; });
    ASSERT_NE(continuity, indicators.end());
    EXPECT_EQ((*continuity)["measured"], true);
    EXPECT_EQ(doc["bins"]["interval_ms"], 1000);

    std::ifstream in(csv);
    std::string header, row;
    std::getline(in, header);
    EXPECT_EQ(header.rfind("time_s,", 0), 0u) << header;
    std::size_t rows = 0;
    while (std::getline(in, row))
        ++rows;
    EXPECT_EQ(rows, doc["bins"]["pids"].begin()->size());
    EXPECT_EQ(doc["bins"]["pids"].size(), doc["pids"].size());
}

// The demo card's stream analysed live for two seconds of its clock: the report of a file,
// with the card's delivery faults apart, in text and in JSON.
TEST_F(AnalyseCommand, AnalysesTheDemoCardForItsSeconds) {
    const auto text = analyse("--card demo --seconds 2", false);
    ASSERT_LE(text.status, 1) << text.output;
    EXPECT_NE(
        text.output.find("\nDelivery faults of the card (apart from the stream's errors): 0 demux buffer "
                         "overruns, 0 lock losses\n"),
        std::string::npos)
        << text.output;
    const auto json = analyse("--card demo --seconds 2 --json", false);
    ASSERT_LE(json.status, 1) << json.output;
    const auto doc = nlohmann::json::parse(json.output);
    EXPECT_EQ(doc["delivery_faults"], (nlohmann::json{{"overflows", 0}, {"lock_losses", 0}}));
    EXPECT_EQ(doc["time_base"], "pcr");
    EXPECT_NEAR(doc["duration_s"].get<double>(), 2.0, 0.1);
    EXPECT_GT(doc["packets"].get<std::uint64_t>(), 0u);
}

}  // namespace
}  // namespace kestrel::cli
