#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "device/dvb_device_techotrend.h"
#include "device/linux/linux_card.h"
#include "device/testing/fake_kernel.h"
#include "device/tests/deliveries.h"
#include "device/tests/event_capture.h"

namespace kestrel {
namespace {

using testing::event_capture;
using testing::fake_kernel;
using events = std::vector<std::string>;

struct LinuxCard : ::testing::Test {
    fake_kernel kernel;
    std::unique_ptr<dvb_device_techotrend> device;
    event_capture log;
    testing::deliveries received;

    void start(fe_type type = FE_QPSK, std::uint32_t mode = diseqc_mode::committed) {
        kernel.info.type = type;
        device = std::make_unique<dvb_device_techotrend>(std::make_unique<linux_card>(kernel, 0));
        ASSERT_EQ(device->init(), result::ok) << log.all();
        device->set_lnb_config({mode, 9750000, 10600000, 11700000, true});
        kernel.clear_events();
    }
    void TearDown() override { device.reset(); }
};

TEST_F(LinuxCard, FindsAdaptersAndNamesThem) {
    kernel.adapters = {0, 2};
    EXPECT_EQ(linux_card::find_adapters(kernel), (std::vector<int>{0, 2}));
    kernel.info.caps = static_cast<fe_caps>(FE_CAN_FEC_AUTO | FE_CAN_INVERSION_AUTO);
    start();
    EXPECT_EQ(device->get_number_of_devices(), 2);
    std::string name;
    EXPECT_EQ(device->get_device_info(0, name), 0);
    EXPECT_EQ(name, "Fake Frontend");
    EXPECT_TRUE(log.has("Fake Frontend /dev/dvb/adapter0 DVB-S", 3)) << log.all();
    EXPECT_TRUE(device->has_capability(0));
    EXPECT_TRUE(device->has_capability(6));
    EXPECT_FALSE(device->has_capability(5));
    EXPECT_EQ(device->get_signal_level(), 75u);
}

TEST_F(LinuxCard, CommittedSwitchSequenceThenOnePropertyList) {
    start();
    ASSERT_EQ(device->set_tuner(11.278, 1, 0, 27500000, 1), result::ok);
    EXPECT_EQ(kernel.events(), (events{"sleep 120", "sleep 120", "sleep 120", "sleep 20", "FE_SET_VOLTAGE 13",
                                       "FE_SET_TONE off", "sleep 15", "FE_DISEQC_SEND_MASTER_CMD E0 10 38 F4",
                                       "sleep 100", "FE_DISEQC_SEND_MASTER_CMD E1 10 38 F4", "sleep 100",
                                       "FE_DISEQC_SEND_MASTER_CMD E1 10 38 F4", "sleep 15", "FE_SET_TONE off",
                                       "FE_SET_PROPERTY", "sleep 750", "FE_READ_STATUS"}));
    EXPECT_EQ(kernel.tuned_commands(),
              (std::vector<std::uint32_t>{DTV_DELIVERY_SYSTEM, DTV_CLEAR, DTV_FREQUENCY, DTV_SYMBOL_RATE,
                                          DTV_INNER_FEC, DTV_INVERSION, DTV_TUNE}));
    auto tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBS);
    EXPECT_EQ(tuned[DTV_FREQUENCY], 11278000u - 9750000u);  // low band intermediate frequency
    EXPECT_EQ(tuned[DTV_SYMBOL_RATE], 27500000u);
    EXPECT_EQ(tuned[DTV_INNER_FEC], FEC_AUTO);
    EXPECT_EQ(tuned[DTV_INVERSION], INVERSION_AUTO);

    kernel.clear_events();
    ASSERT_EQ(device->set_tuner(12.322, 0, 0, 27500000, 0), result::ok);
    EXPECT_EQ(kernel.tuned()[DTV_FREQUENCY], 12322000u - 10600000u);
    EXPECT_EQ(kernel.events()[13], "FE_SET_TONE on");
    double f = 0;
    int pol = 0, fec = 0;
    unsigned long sr = 0, pos = 0;
    ASSERT_EQ(device->get_tuner(f, pol, fec, sr, pos), result::ok);
    EXPECT_NEAR(f, 12.322, 1e-9);
    EXPECT_EQ(pol, 0);
    EXPECT_EQ(sr, 27500u);
}

TEST_F(LinuxCard, ToneBurstAndLnbOff) {
    start(FE_QPSK, diseqc_mode::tone_burst);
    ASSERT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 1), result::ok);
    EXPECT_EQ(kernel.events(), (events{"sleep 20", "FE_SET_VOLTAGE 18", "FE_SET_TONE off", "sleep 15",
                                       "FE_DISEQC_SEND_BURST B", "sleep 15", "FE_SET_TONE on",
                                       "FE_SET_PROPERTY", "sleep 750", "FE_READ_STATUS"}));
    device->set_lnb_config({diseqc_mode::committed, 9750000, 10600000, 11700000, false});
    kernel.clear_events();
    device->set_tuner(12.0, 0, 0, 27500000, 1);
    EXPECT_EQ(kernel.events(),
              (events{"sleep 120", "sleep 120", "sleep 120", "sleep 20", "FE_SET_VOLTAGE off",
                      "FE_SET_PROPERTY", "sleep 750", "FE_READ_STATUS"}));
}

TEST_F(LinuxCard, CableAndTerrestrialPropertyLists) {
    start(FE_QAM);
    TUNERPARM cable{2, 346.0, 0, 6900000, 3, 2, 0, 0};
    ASSERT_EQ(device->set_tuner(cable), result::ok);
    auto tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBC_ANNEX_A);
    EXPECT_EQ(tuned[DTV_FREQUENCY], 346000000u);
    EXPECT_EQ(tuned[DTV_SYMBOL_RATE], 6900000u);
    EXPECT_EQ(tuned[DTV_MODULATION], QAM_64);
    EXPECT_EQ(tuned[DTV_INVERSION], INVERSION_OFF);
    EXPECT_EQ(kernel.tuned_commands().back(), static_cast<std::uint32_t>(DTV_TUNE));
    TUNERPARM back;
    ASSERT_EQ(device->get_tuner(back), result::ok);
    EXPECT_DOUBLE_EQ(back.frequency, 346.0);
    EXPECT_EQ(back.word_c, 3u);
    EXPECT_EQ(back.word_b, 6900000);

    device.reset();
    start(FE_OFDM);
    TUNERPARM terrestrial{3, 506.0, 1, 1, 1, 0, 0, 0};
    ASSERT_EQ(device->set_tuner(terrestrial), result::ok);
    tuned = kernel.tuned();
    EXPECT_EQ(tuned[DTV_DELIVERY_SYSTEM], SYS_DVBT);
    EXPECT_EQ(tuned[DTV_FREQUENCY], 506000000u);
    EXPECT_EQ(tuned[DTV_BANDWIDTH_HZ], 7000000u);
    EXPECT_EQ(tuned[DTV_INVERSION], INVERSION_ON);
    ASSERT_EQ(device->get_tuner(back), result::ok);
    EXPECT_EQ(back.word_c, 1u);
}

TEST_F(LinuxCard, MultiStandardFrontendTunesTheChosenSystem) {
    kernel.delivery_systems = {SYS_DVBT, SYS_DVBT2, SYS_DVBC_ANNEX_A, SYS_DVBS, SYS_DVBS2};
    kernel.info.type = FE_OFDM;
    linux_card::frontend_description frontend;
    ASSERT_EQ(linux_card::describe_frontend(kernel, 0, frontend), 0);
    EXPECT_EQ(frontend.systems, kernel.delivery_systems);

    device = std::make_unique<dvb_device_techotrend>(
        std::make_unique<linux_card>(kernel, 0, lib13818::DeliverySystem::dvb_s));
    ASSERT_EQ(device->init(), result::ok);
    EXPECT_EQ(device->get_frontend_type(), 1u);
    ASSERT_EQ(device->set_tuner(11.362, 0, 0, 27500000, 0), result::ok);
    EXPECT_EQ(kernel.tuned_commands().front(), static_cast<std::uint32_t>(DTV_DELIVERY_SYSTEM));
    EXPECT_EQ(kernel.tuned()[DTV_DELIVERY_SYSTEM], SYS_DVBS);

    // FE_GET_INFO now says DVB-S; the frontend's own first system is still DVB-T.
    device = std::make_unique<dvb_device_techotrend>(std::make_unique<linux_card>(kernel, 0));
    ASSERT_EQ(device->init(), result::ok);
    EXPECT_EQ(device->get_frontend_type(), 3u);
    std::string name;
    device->get_device_info(0, name);
    EXPECT_TRUE(log.has("Fake Frontend /dev/dvb/adapter0 DVB-T, DVB-T2, DVB-C, DVB-S, DVB-S2", 3))
        << log.all();

    kernel.delivery_systems = {SYS_DVBT2, SYS_ISDBT};
    device = std::make_unique<dvb_device_techotrend>(
        std::make_unique<linux_card>(kernel, 0, lib13818::DeliverySystem::dvb_c));
    EXPECT_EQ(device->init(), result::failed);
    EXPECT_TRUE(log.has("Frontend offers no DVB-C (DVB-T2, ISDB-T)", 1)) << log.all();
}

TEST_F(LinuxCard, SectionFilterParametersAndDeliveries) {
    start();
    const std::uint8_t data[] = {0x42, 0x00, 0x01};
    const std::uint8_t mask[] = {0xFF, 0x00, 0xFF};
    filter_handle h = nullptr;
    ASSERT_EQ(device->add_filter(2, 0x11, 1024, data, mask, 3, &testing::deliveries::callback, &received, h),
              result::ok);
    const dmx_sct_filter_params p = kernel.section_filter();
    EXPECT_EQ(p.pid, 0x11);
    EXPECT_EQ(p.filter.filter[0], 0x42);
    EXPECT_EQ(p.filter.mask[2], 0xFF);
    EXPECT_EQ(p.flags & DMX_CHECK_CRC, 0u);
    EXPECT_NE(p.flags & DMX_IMMEDIATE_START, 0u);

    EXPECT_EQ(kernel.buffer_size(), 256u * 1024);

    // A read may hold several whole sections; each is a delivery of its own.
    const std::vector<std::uint8_t> section{0x42, 0xF0, 0x03, 0x00, 0x01, 0xC1};
    std::vector<std::uint8_t> two = section;
    two.insert(two.end(), section.begin(), section.end());
    two.insert(two.end(), {0x42, 0xF0});
    kernel.feed(0x11, two);
    kernel.feed_error(0x11, EOVERFLOW);
    kernel.feed(0x11, section);
    received.wait_for(3);
    EXPECT_EQ(received.got[1], section);
    EXPECT_EQ(received.got[2], section);
    EXPECT_TRUE(log.has("Partial section on PID 0x11: 2 bytes dropped", 2)) << log.all();
    EXPECT_TRUE(log.has("Demux buffer overflow on PID 0x11: data lost", 2)) << log.all();
    EXPECT_EQ(device->faults().overflows, 1u);
    EXPECT_EQ(device->stop_filter(), result::ok);
    EXPECT_TRUE(log.has("Demux buffer overflows while the filters ran: 1, data lost", 1)) << log.all();
}

TEST_F(LinuxCard, LockLostWhileFiltersRunIsReported) {
    start();
    filter_handle h = nullptr;
    const std::uint8_t id[] = {0}, mask[] = {0xFF};
    ASSERT_EQ(device->add_filter(2, 0, 1024, id, mask, 1, &testing::deliveries::callback, &received, h),
              result::ok);
    kernel.feed(0, {0x00, 0xB0, 0x00});
    received.wait_for(1);  // the delivery thread has looked at the lock by now
    kernel.locked = false;
    kernel.sleep_ms(600);
    kernel.feed(0, {0x00, 0xB0, 0x00});
    received.wait_for(2);
    kernel.sleep_ms(600);
    kernel.feed(0, {0x00, 0xB0, 0x00});
    received.wait_for(3);
    device->stop_filter();
    EXPECT_EQ(device->faults().lock_losses, 1u);
    EXPECT_TRUE(log.has("Frontend lost lock: no data until it locks again", 1)) << log.all();
    EXPECT_TRUE(log.has("Frontend lost lock while the filters ran: 1 times", 1)) << log.all();
}

TEST_F(LinuxCard, PacketFilterWritesItsFile) {
    start();
    const auto path =
        std::filesystem::temp_directory_path() / ("kestrel-linux-packets-" + std::to_string(getpid()));
    filter_handle h = nullptr;
    ASSERT_EQ(device->add_file_filter(0, 0x200, 1024, path.c_str(), nullptr, nullptr, 0,
                                      &testing::deliveries::callback, &received, h),
              result::ok);
    const dmx_pes_filter_params p = kernel.packet_filter();
    EXPECT_EQ(p.pid, 0x200);
    EXPECT_EQ(p.output, DMX_OUT_TSDEMUX_TAP);
    EXPECT_EQ(p.input, DMX_IN_FRONTEND);
    // Reads that end inside a packet: the packet waits for its rest.
    kernel.feed(0x200, std::vector<std::uint8_t>(188 * 2 + 100, 0x47));
    kernel.feed(0x200, std::vector<std::uint8_t>(88 + 188, 0x47));
    received.wait_for(2);
    device->stop_filter();
    EXPECT_EQ(received.got[0].size(), 188u * 2);
    EXPECT_EQ(received.got[1].size(), 188u * 2);
    EXPECT_EQ(std::filesystem::file_size(path), 188u * 4);
    EXPECT_EQ(kernel.buffer_size(), 4u * 1024 * 1024);

    // The whole stream: the demux's PID 0x2000.
    ASSERT_EQ(device->add_file_filter(0, whole_stream_pid, 1024, path.c_str(), nullptr, nullptr, 0, nullptr,
                                      nullptr, h),
              result::ok);
    EXPECT_EQ(kernel.packet_filter().pid, 0x2000);
    device->stop_filter();
    std::filesystem::remove(path);
}

TEST_F(LinuxCard, FailedCallsGiveTheirResultsAndMessages) {
    kernel.fail(FE_GET_INFO, EIO);
    device = std::make_unique<dvb_device_techotrend>(std::make_unique<linux_card>(kernel, 0));
    EXPECT_EQ(device->init(), result::failed);
    EXPECT_TRUE(log.has("Failed to init frontend: 5", 1)) << log.all();
    EXPECT_TRUE(log.has("FE_GET_INFO: Input/output error", 1));

    kernel.fail(0, EBUSY);
    device = std::make_unique<dvb_device_techotrend>(std::make_unique<linux_card>(kernel, 1));
    EXPECT_EQ(device->init(), result::failed);
    EXPECT_TRUE(log.has("Failed to open device", 1));

    start();
    kernel.fail(FE_SET_PROPERTY, EINVAL);
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Error set channel: 22", 1));
    kernel.fail(FE_READ_STATUS, EIO);
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Error getting locked state: 5", 1));
    kernel.locked = false;
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::failed);
    EXPECT_TRUE(log.has("Not locked", 1));
    kernel.fail(DMX_SET_FILTER, EBUSY);
    filter_handle h = nullptr;
    const std::uint8_t id[] = {0}, mask[] = {0xFF};
    EXPECT_EQ(device->add_filter(2, 0, 1024, id, mask, 1, nullptr, nullptr, h), result::failed);
    EXPECT_TRUE(log.has("Failed to set filter: 16", 1));
}

TEST_F(LinuxCard, InterruptedCallsAreMadeAgain) {
    start();
    kernel.fail(FE_SET_PROPERTY, EINTR, 2);
    EXPECT_EQ(device->set_tuner(12.0, 0, 0, 27500000, 0), result::ok);
}

}  // namespace
}  // namespace kestrel
