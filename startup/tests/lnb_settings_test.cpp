#include "startup/lnb_settings.h"

#include <gtest/gtest.h>

#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "settings/keys.h"
#include "settings/memory_store.h"

namespace kestrel::startup {
namespace {

namespace key = kestrel::settings;

TEST(LnbSettings, AnEmptyStoreGivesTheFirstStartDefaults) {
    memory_store store;
    const lnb_settings s = load_lnb_settings(store, frontend_dvb_s);
    EXPECT_EQ(s.lnb.diseqc_mode, 0u);
    EXPECT_EQ(s.lnb.lof1, 9750000u);
    EXPECT_EQ(s.lnb.lof2, 10600000u);
    EXPECT_EQ(s.lnb.switch_khz, 11700000u);
    EXPECT_TRUE(s.lnb.lnb_power);
    EXPECT_EQ(s.tuning.type, frontend_dvb_s);
    EXPECT_DOUBLE_EQ(s.tuning.frequency, 12.322);
    EXPECT_EQ(s.tuning.word_a, 0);
    EXPECT_EQ(s.tuning.word_c, 27800000u);
    EXPECT_EQ(load_lnb_settings(store, frontend_dvb_c).tuning.word_b, 27800000);
    EXPECT_EQ(load_lnb_settings(store, 0).tuning.type, 0u);

    key::write(store, key::disqmode, -1);  // unsigned: a large mode, still 2
    EXPECT_EQ(load_lnb_settings(store, frontend_dvb_s).lnb.diseqc_mode, 2u);
}

TEST(LnbSettings, SavesToTheNearestKilohertzInSymbolsPerSecond) {
    memory_store store;
    TUNERPARM read_back;
    read_back.type = frontend_dvb_s;
    read_back.frequency = 11778000 * 0.000001;  // 11.777999... as the card reads it back
    read_back.word_a = 1;
    read_back.word_c = 27500;  // kilosymbols per second
    save_lnb_settings(store, frontend_dvb_s, LnbConfig{2, 9750000, 10600000, 11700000, false}, &read_back);
    EXPECT_EQ(key::read(store, key::frequency), 11778000);
    EXPECT_EQ(key::read(store, key::polarity), 1);
    EXPECT_EQ(key::read(store, key::symbolrate), 27500000);
    EXPECT_EQ(key::read(store, key::lnbpower), 0);
    EXPECT_EQ(key::read(store, key::disqmode), 2);

    read_back.word_c = 4294967;  // the product needs more than 32 signed bits
    save_lnb_settings(store, frontend_dvb_s, {}, &read_back);
    EXPECT_EQ(load_lnb_settings(store, frontend_dvb_s).tuning.word_c, 4294967000u);
}

// A scripted card restored from the store.
class LnbKeep : public ::testing::Test {
  protected:
    LnbKeep() {
        auto owned = std::make_unique<testing::fake_card>();
        card = owned.get();
        device = std::make_unique<dvb_device_techotrend>(std::move(owned));
    }

    memory_store store;
    testing::fake_card* card;
    std::unique_ptr<dvb_device_techotrend> device;
};

TEST_F(LnbKeep, AFailedReadBackKeepsTheLnbValuesOnly) {
    ASSERT_EQ(device->init(), result::ok);
    key::write(store, key::frequency, 11778000);
    restore_lnb_settings(store, *device);
    device->set_lnb_config(LnbConfig{1, 9751000, 10601000, 11701000, false});
    card->set().get_channel = -1;
    keep_lnb_settings(store, *device);
    EXPECT_EQ(key::read(store, key::lof1), 9751000);
    EXPECT_EQ(key::read(store, key::lnbpower), 0);
    EXPECT_EQ(key::read(store, key::frequency), 11778000);
    EXPECT_FALSE(store.contains("DISQ", "SYMBOLRATE"));
    EXPECT_FALSE(store.contains("DISQ", "SI"));
}

TEST(LnbSettings, TheDeliveryRecordRoundTripsAndMissingKeysAreAutomatic) {
    memory_store store;
    // A store from before the record: every field automatic, and the QAM key in force.
    key::write(store, key::qam, 5);
    const TUNERPARM old = load_lnb_settings(store, frontend_dvb_c).tuning;
    EXPECT_EQ(old.delivery, lib13818::Delivery{});
    EXPECT_EQ(old.word_c, 5u);

    TUNERPARM t;
    t.type = frontend_dvb_t;
    t.delivery = {lib13818::DeliverySystem::dvb_t2,
                  lib13818::Modulation::qam_256,
                  lib13818::RollOff::r0_20,
                  lib13818::Pilot::on,
                  7,
                  262142,
                  1712000,
                  lib13818::CodeRate::r3_5,
                  lib13818::CodeRate::none,
                  lib13818::GuardInterval::g19_256,
                  lib13818::TransmissionMode::m32k,
                  lib13818::Hierarchy::a4};
    save_lnb_settings(store, frontend_dvb_t, {}, &t);
    EXPECT_EQ(key::read(store, key::delivery_system), 5);
    EXPECT_EQ(key::read(store, key::guard), 19256);
    EXPECT_EQ(load_lnb_settings(store, frontend_dvb_t).tuning.delivery, t.delivery);

    // The store serves every card: a system the card's type cannot tune is left to the card,
    // and numbers that name nothing read as automatic.
    key::write(store, key::coderatehp, 24);
    key::write(store, key::streamid, 300);
    const lib13818::Delivery on_satellite = load_lnb_settings(store, frontend_dvb_s).tuning.delivery;
    EXPECT_EQ(on_satellite.system, lib13818::DeliverySystem::automatic);
    EXPECT_EQ(on_satellite.code_rate_hp, lib13818::CodeRate::automatic);
    EXPECT_EQ(on_satellite.stream_id, -1);
    EXPECT_EQ(on_satellite.guard_interval, lib13818::GuardInterval::g19_256);
}

}  // namespace
}  // namespace kestrel::startup
