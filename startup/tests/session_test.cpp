#include "startup/session.h"

#include <gtest/gtest.h>

#include "settings/keys.h"
#include "settings/memory_store.h"

namespace kestrel::startup {
namespace {

namespace key = kestrel::settings;

TEST(Session, OpensTheStoredCardWhereTheLastRunEnded) {
    memory_store store;
    key::write(store, key::card, "demo");
    key::write(store, key::frequency, 11778000);
    key::write(store, key::polarity, 1);
    session s(store, {});
    ASSERT_NE(s.device(), nullptr) << s.card_error();
    EXPECT_EQ(s.card_spec(), "demo");
    EXPECT_TRUE(s.device()->is_locked());
    EXPECT_NE(s.satellites().find("Kestrel Sat A"), nullptr);  // the demo's list beside the executable

    s.device()->set_tuner(12.603, 0, 3, 22000000, 0);
    EXPECT_TRUE(s.keep());
    EXPECT_EQ(key::read(store, key::frequency), 12603000);
}

TEST(Session, ACaptureTheStoredTuningMissesStartsOnItsFirstTransponder) {
    memory_store store;
    key::write(store, key::frequency, 474000);  // a terrestrial tuning, kHz: 0.474 GHz on DVB-S
    session s(store, {"demo", {}});
    ASSERT_NE(s.device(), nullptr) << s.card_error();
    EXPECT_TRUE(s.device()->is_locked());
    // The replacement is not the user's tuning: the stored one stays for the card it was made on.
    EXPECT_TRUE(s.keep());
    EXPECT_EQ(key::read(store, key::frequency), 474000);
    // What the user tunes afterwards is.
    s.device()->set_tuner(11.778, 1, 3, 27500000, 0);
    EXPECT_TRUE(s.keep());
    EXPECT_EQ(key::read(store, key::frequency), 11778000);
}

}  // namespace
}  // namespace kestrel::startup
