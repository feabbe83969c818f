#include <gtest/gtest.h>

#include "device/testing/fake_kernel.h"
#include "startup/card_choice.h"

namespace kestrel::startup {
namespace {

TEST(CardChoice, LinuxSpecsNameExistingAdaptersOnly) {
    testing::fake_kernel kernel;
    kernel.adapters = {0, 3};
    card_choice c = choose_card("linux:3", kernel);
    ASSERT_TRUE(c.chosen) << c.error;
    EXPECT_EQ(c.spec, "linux:3");
    c = choose_card("linux:1", kernel);
    EXPECT_FALSE(c.chosen);
    EXPECT_EQ(c.error, "card 'linux:1': no DVB adapter 1 (/dev/dvb/adapter1 missing)");
    EXPECT_EQ(choose_card("linux:x", kernel).error,
              "card 'linux:x': the adapter must be a number, as in linux:0");
    EXPECT_EQ(choose_card("dvb0", kernel).error,
              "card 'dvb0': unknown card (use linux:N, capture:FILE or demo)");

    kernel.delivery_systems = {SYS_DVBT, SYS_DVBT2, SYS_DVBS2};
    EXPECT_TRUE(choose_card("linux:3?dvb-t2", kernel).chosen);
    // A frontend with DVB-S2 alone serves DVB-S; DVB-S2 is named only where it is.
    EXPECT_TRUE(choose_card("linux:3?dvb-s", kernel).chosen);
    kernel.delivery_systems = {SYS_DVBT};
    EXPECT_EQ(choose_card("linux:3?dvb-s", kernel).error,
              "card 'linux:3?dvb-s': adapter 3 (Fake Frontend) offers no DVB-S, only DVB-T");
    EXPECT_EQ(choose_card("linux:3?dvb-t2", kernel).error,
              "card 'linux:3?dvb-t2': adapter 3 (Fake Frontend) offers no DVB-T2, only DVB-T");
    EXPECT_EQ(choose_card("linux:3?isdb", kernel).error,
              "card 'linux:3?isdb': unknown option 'isdb' (dvb-s, dvb-s2, dvb-c, dvb-t or dvb-t2)");
}

TEST(CardChoice, WithoutSpecTheFirstAdapterElseTheDemo) {
    testing::fake_kernel kernel;
    kernel.adapters = {2, 5};
    card_choice c = choose_card("", kernel);
    ASSERT_TRUE(c.chosen);
    EXPECT_EQ(c.spec, "linux:2");
    kernel.adapters.clear();
    EXPECT_EQ(choose_card("", kernel).spec, "demo");
}

TEST(CardChoice, ListsAdaptersByFrontendName) {
    testing::fake_kernel kernel;
    kernel.adapters = {1};
    const auto cards = linux_cards(kernel);
    ASSERT_EQ(cards.size(), 1u);
    EXPECT_EQ(cards[0].spec, "linux:1");
    EXPECT_EQ(cards[0].name, "Fake Frontend (DVB-S)");
    EXPECT_EQ(capture_cards().front().spec, "demo");
}

}  // namespace
}  // namespace kestrel::startup
