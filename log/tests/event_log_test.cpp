#include "log/event_log.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "log/tests/log_test_support.h"

namespace kestrel {
namespace {

constexpr std::uint32_t start_up_flags = 509;

class EventLog : public testing::log_test {
  protected:
    void SetUp() override {
        log_test::SetUp();
        event_log_set_clock([] { return dec5_144649(7); });
    }
    void TearDown() override {
        event_log_start_in("", 0, 0, "");  // closes the file before its folder goes
        event_log_set_clock(system_wall_time);
        log_test::TearDown();
    }

    void start(std::uint32_t flags, int32_t max_level = 4) {
        event_log_start_in(dir.c_str(), flags, max_level, "events.txt");
    }
    std::string text() const { return read(file("events.txt")); }

    static std::string ids() {
        char id[32];
        std::snprintf(id, sizeof id, "\"0x%08x\",\"0x%08x\",", static_cast<unsigned>(getpid()),
                      static_cast<unsigned>(gettid()));
        return id;
    }
};

TEST_F(EventLog, WritesTheHeaderOnlyIntoANewFile) {
    start(start_up_flags);
    event_log(3, "card %d opened", 0);
    start(start_up_flags);  // the next run of the program
    event_log(3, "again");

    const std::string prefix = "2026.12.05,14:46:49,007," + ids();
    EXPECT_EQ(text(), "Date,Time,Milliseconds,Process ID,Thread ID,Log level,Log type,Description\r\n\r\n" +
                          prefix + "3,\"info   \",\"card 0 opened\"\r\n" + prefix +
                          "3,\"info   \",\"again\"\r\n");
}

TEST_F(EventLog, NamesAndFiltersLevels) {
    start(event_log_level | event_log_type);
    for (int32_t level = -1; level <= 5; ++level)
        event_log(level, "level");
    const std::string at = "2026.12.05,14:46:49,007,";
    EXPECT_EQ(text(), at + "1,\"error  \",\"level\"\r\n" + at + "2,\"warning\",\"level\"\r\n" + at +
                          "3,\"info   \",\"level\"\r\n" + at + "4,\"info   \",\"level\"\r\n");
}

TEST_F(EventLog, FlagsZeroGivesTimeAndUnescapedDescriptionOnly) {
    { std::ofstream(file("events.txt")) << "kept\r\n"; }
    start(0);
    event_log(1, "tune failed: \"%s\", code %d", "a,b", 5);
    EXPECT_EQ(text(), "kept\r\n2026.12.05,14:46:49,007,\"tune failed: \"a,b\", code 5\"\r\n");

    start(event_recreate);
    event_log(2, "fresh");
    EXPECT_EQ(text(), "2026.12.05,14:46:49,007,\"fresh\"\r\n");

    event_log_start_in(file("missing").c_str(), start_up_flags, 4, "events.txt");
    event_log(1, "dropped: the file could not be opened");
    EXPECT_EQ(text(), "2026.12.05,14:46:49,007,\"fresh\"\r\n");
}

TEST_F(EventLog, CutsLongMessagesButEndsTheLine) {
    start(0);
    const std::string long_text(10000, 'y');
    event_log(1, "%s", long_text.c_str());
    const std::string line = text();
    EXPECT_EQ(line.size(), 4095u);
    EXPECT_EQ(line.substr(line.size() - 4), "y\"\r\n");
}

}  // namespace
}  // namespace kestrel
