#include "startup/satellite_list.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "log/trace_log.h"

namespace kestrel {
namespace {

class SatelliteList : public ::testing::Test {
  protected:
    void SetUp() override {
        global_trace().set_debugger_output([this](std::string_view line) { trace += line; });
        global_trace().open(nullptr, trace_log::to_debugger, 0, 1);
    }
    void TearDown() override {
        global_trace().close();
        global_trace().set_debugger_output([](std::string_view) {});
    }

    std::size_t records(const char* name) const {
        const auto* found = list.find(name);
        return found == nullptr ? 0 : found->size();
    }

    CSatelliteList list;
    std::string trace;
};

TEST_F(SatelliteList, KeepsTheLinesOfTheFormOnly) {
    for (const char* line : {
             "\"Sat A\",192,11778,1,27500,3\n",
             "\"Sat A\",192,12603,0,22000,9 a remark\n",  // a second record, anything after FEC
             "\"sat a\" 130,+10971, 0, 29700,-2\n",       // case apart; any character after the quote
             "\"Astra, 19.2E\",192,12187,0,27500,3\n",    // commas in the name
             "# \"Sat X\",1,2,3,4,5\n", "\n",
             " \"Sat Y\",1,2,3,4,5\n",         // a leading blank
             "\"Sat Z\",1,2,3,4\n",            // no FEC
             "\"Sat Z\",1,2,3,4,\n",           // a comma, then no digits
             "\"Sat Z\",1,2;3,4,5\n",          // not a comma after a number
             "\"Sat Z\",1,2 ,3,4,5\n",         // nor a blank
             "\"Sat Z,1,2,3,4,5\n",            // no closing quote
             "\"Sat Z\"",                      // nothing after the quote
             "\"Sat Z\",1,99999999999,3,4,5",  // a number past 32 bits is held there
         })
        list.parse_line(line);

    ASSERT_EQ(records("Sat A"), 2u);
    EXPECT_EQ(list.find("Sat A")->at(1).fec, 9);
    ASSERT_EQ(records("sat a"), 1u);
    const satellite_transponder& lower = list.find("sat a")->at(0);
    EXPECT_EQ(lower.frequency, 10971);
    EXPECT_EQ(lower.fec, -2);
    EXPECT_EQ(records("Astra, 19.2E"), 1u);
    ASSERT_EQ(records("Sat Z"), 1u);
    EXPECT_EQ(list.find("Sat Z")->at(0).frequency, 2147483647);
    EXPECT_EQ(list.satellites().size(), 4u);
    EXPECT_EQ(list.satellites().begin()->first, "Astra, 19.2E");  // byte order: capitals first
}

TEST_F(SatelliteList, ReadsAFileInPiecesOf1023Characters) {
    const std::string path = ::testing::TempDir() + "/kestrel_satellitecfg.txt";
    {
        std::ofstream file(path);
        file << "\"Sat A\",192,11778,1,27500,3\n"
             << std::string(1023, '#') << "\"Sat B\",282,11954,0,27500,3\n"  // the piece after 1023
             << "\"Sat C\",1,2,3,4,5";                                       // no line end
    }
    list.ParseList(path);
    EXPECT_EQ(records("Sat A"), 1u);
    EXPECT_EQ(records("Sat B"), 1u);
    EXPECT_EQ(records("Sat C"), 1u);
    EXPECT_EQ(trace.rfind("CSatelliteList::ParseList(" + path + ")\n", 0), 0u) << trace;

    list.ParseList(path + ".missing");  // the list stays as it was
    EXPECT_EQ(list.satellites().size(), 3u);
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace kestrel
