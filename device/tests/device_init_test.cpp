#include <gtest/gtest.h>

#include <memory>

#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "device/tests/event_capture.h"

namespace kestrel {
namespace {

using testing::event_capture;
using testing::fake_card;

struct DeviceInit : ::testing::Test {
    std::unique_ptr<fake_card> owned = std::make_unique<fake_card>();
    fake_card& card = *owned;
    event_capture log;

    std::unique_ptr<dvb_device_techotrend> make() {
        return std::make_unique<dvb_device_techotrend>(std::move(owned));
    }
};

TEST_F(DeviceInit, SucceedsAndLogsFrontendAndCapabilities) {
    card.set().capabilities = capability::auto_fec | capability::auto_bandwidth;
    auto device = make();
    EXPECT_EQ(device->init(), result::ok);
    EXPECT_EQ(device->get_frontend_type(), 1u);
    EXPECT_TRUE(log.has("Frontend is DVB-S", 1)) << log.all();
    EXPECT_TRUE(log.has("Auto FEC: Yes", 1));
    EXPECT_TRUE(log.has("Auto Spectral-Inversion Detection: No", 1));
    EXPECT_EQ(device->init(), result::mismatch);
    EXPECT_TRUE(log.has("Device already initialized", 1));
}

TEST_F(DeviceInit, EachFailingStepGivesTwoAndItsMessage) {
    struct step {
        void (*fail)(fake_card::answers&);
        const char* message;
    };
    const step steps[] = {
        {[](fake_card::answers& a) { a.opens = false; }, "Failed to open device"},
        {[](fake_card::answers& a) { a.boot = 1; }, "BoardControl.BootARMnew(new) not successful"},
        {[](fake_card::answers& a) { a.version = 1; }, "Could not get BE-Version"},
        {[](fake_card::answers& a) { a.init_frontend = 19; }, "Failed to init frontend: 19"},
        {[](fake_card::answers& a) { a.enable_data = 1; }, "BoardControl.EnableDataDMA not successful"},
        {[](fake_card::answers& a) { a.frontend_type = 4; }, "Frontend is unknown"},
    };
    for (const auto& s : steps) {
        auto card = std::make_unique<fake_card>();
        s.fail(card->set());
        dvb_device_techotrend device(std::move(card));
        EXPECT_EQ(device.init(), result::failed) << s.message;
        EXPECT_TRUE(log.has(s.message, 1)) << log.all();
        EXPECT_EQ(device.get_frontend_type(), 0u);
        // A failed init still counts as initialised.
        EXPECT_EQ(device.init(), result::mismatch);
        TUNERPARM none;
        EXPECT_EQ(device.set_tuner(none), result::not_supported);
    }
}

TEST_F(DeviceInit, WithoutCardEveryOperationSaysNotInitialized) {
    dvb_device_techotrend device(nullptr);
    EXPECT_EQ(device.init(), result::failed);
    EXPECT_FALSE(device.is_locked());
    EXPECT_EQ(device.get_signal_level(), 0u);
    EXPECT_FALSE(device.has_capability(2));
    EXPECT_EQ(device.set_tuner(12.322, 0, 0, 27500000, 0), result::not_initialized);
    EXPECT_TRUE(log.has("card not initialized", 1));
    EXPECT_EQ(device.get_number_of_devices(), 0);
    EXPECT_EQ(device.stop_filter(), result::not_initialized);
    EXPECT_EQ(device.wait_filters(), result::not_initialized);
}

TEST_F(DeviceInit, LockAndSignalQualityFollowTheCardOnceInitialised) {
    auto device = make();
    EXPECT_FALSE(device->is_locked());
    ASSERT_EQ(device->init(), result::ok);
    EXPECT_TRUE(device->is_locked());
    const std::pair<double, std::uint32_t> cases[] = {{0.0, 100}, {0.0009, 100}, {0.001, 75},
                                                      {0.01, 50}, {0.1, 25},     {0.5, 25}};
    for (auto [ber, quality] : cases) {
        card.set().state = {true, 55, ber};
        EXPECT_EQ(device->get_signal_quality(), quality) << ber;
    }
    EXPECT_EQ(device->get_signal_level(), 55u);
    card.set().state = {false, 55, 0.0};
    EXPECT_EQ(device->get_signal_quality(), 0u);
    card.set().state_error = 5;
    EXPECT_EQ(device->get_signal_level(), 0u);
    EXPECT_FALSE(device->is_locked());
}

TEST_F(DeviceInit, CapabilityIndexes) {
    card.set().capabilities = capability::auto_inversion;
    auto device = make();
    ASSERT_EQ(device->init(), result::ok);
    const bool expected[] = {false, false, true, true, true, false, true, false};
    for (int i = 0; i < 8; ++i)
        EXPECT_EQ(device->has_capability(i), expected[i]) << i;
    EXPECT_FALSE(device->has_capability(-1));
}

TEST_F(DeviceInit, DeviceInfoNamesOnlyTheFirst) {
    auto device = make();
    EXPECT_EQ(device->get_number_of_devices(), 1);
    std::string name = "before";
    EXPECT_EQ(device->get_device_info(1, name), -1);
    EXPECT_EQ(name, "before");
    EXPECT_EQ(device->get_device_info(0, name), 0);
    EXPECT_EQ(name, "Fake DVB-S card");
    EXPECT_TRUE(log.has("Fake DVB-S card fake0 DVB-S", 3));
}

}  // namespace
}  // namespace kestrel
