#include <gtest/gtest.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "cli/card_commands.h"
#include "device/testing/fake_kernel.h"

namespace kestrel::cli {
namespace {

std::string listing(testing::fake_kernel& kernel) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    print_cards(out, startup::linux_cards(kernel), startup::capture_cards());
    std::fclose(out);
    std::string result(text, size);
    std::free(text);
    return result;
}

// Only an adapter the user may not open earns the note on the group video; a busy one is
// said by its own reason.
TEST(Cards, NoteTheVideoGroupWhenAnAdapterMayNotBeOpened) {
    const struct {
        int error;
        bool noted;
    } cases[] = {{EACCES, true}, {EPERM, true}, {EBUSY, false}, {0, false}};
    for (const auto& c : cases) {
        testing::fake_kernel kernel;
        kernel.adapters = {0, 1};
        if (c.error != 0) kernel.open_errors[1] = c.error;
        const std::string text = listing(kernel);
        EXPECT_NE(text.find("  linux:0    Fake Frontend (DVB-S)\n"), std::string::npos) << text;
        EXPECT_EQ(
            text.find("linux:1 may not be opened: the DVB devices need membership of the group video") !=
                std::string::npos,
            c.noted)
            << text;
        EXPECT_EQ(text.find("linux:0 may not"), std::string::npos) << text;
        if (c.error == EBUSY) {
            EXPECT_NE(text.find("adapter 1 (Device or resource busy)"), std::string::npos) << text;
        }
    }
}

}  // namespace
}  // namespace kestrel::cli
