// The guide's collection from a card: the demo's first transport stream on a capture card,
// collected until complete, and cancels from another thread at any moment, which must end
// the run without a hang (and, under ThreadSanitizer, without a race).

#include <gtest/gtest.h>

#include <filesystem>
#include <thread>

#include "device/capture/capture_spec.h"
#include "device/dvb_device_techotrend.h"
#include "epg/collection.h"

namespace kestrel::epg {
namespace {

const std::string demo_stream = std::string(KESTREL_DATA_DIR) + "/demo/sat-a-12322-h.ts";

struct capture_device {
    capture_device() {
        std::string error;
        auto card = open_capture_spec("capture:" + demo_stream, "", error);
        EXPECT_NE(card, nullptr) << error;
        device = std::make_unique<dvb_device_techotrend>(std::move(card));
        EXPECT_EQ(device->init(), result::ok);
    }
    std::unique_ptr<dvb_device_techotrend> device;
};

TEST(CardCollection, CollectsTheDemoGuideUntilComplete) {
    if (!std::filesystem::exists(demo_stream)) GTEST_SKIP() << "the build has not generated " << demo_stream;
    capture_device capture;
    section_store store;
    EXPECT_EQ(card_collection(*capture.device, store).run(), card_collection::ending::complete);
    // At least the p/f and schedule sections of the stream's own two services, which its SDT announces.
    EXPECT_GE(store.eit_sections(), 8u);
    EXPECT_EQ(store.complete_sub_tables(), store.sub_tables());
}

TEST(CardCollection, CancelFromAnotherThreadEndsIt) {
    if (!std::filesystem::exists(demo_stream)) GTEST_SKIP() << "the build has not generated " << demo_stream;
    for (int delay_ms : {0, 1, 5}) {
        capture_device capture;
        section_store store;
        card_collection collection(*capture.device, store, 3600);
        std::thread canceller([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(delay_ms));
            collection.cancel();
        });
        const auto ending = collection.run();
        canceller.join();
        // Whenever the cancel lands (before, during or after the filters start) the run ends.
        EXPECT_NE(ending, card_collection::ending::refused) << delay_ms;
    }
}

}  // namespace
}  // namespace kestrel::epg
