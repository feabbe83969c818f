#include "device/dvb_device_techotrend.h"

#include <filesystem>

#include "device/tt_filter.h"
#include "log/event_log.h"
#include "log/log_location.h"

namespace kestrel {

namespace {

// The frontend's channel before anything was tuned: 12.322 GHz, automatic inversion,
// 27.8 Msymbols/s, high band LOF, tone on, 18 V.
constexpr ChannelRecord default_channel{{12322000, 2, 27800000, 10600000, 1, 18, 0}};

// The card's boot files lie in Boot/new/ beside the executable.
std::string boot_directory() {
    const std::string exe = executable_path();
    const std::filesystem::path folder =
        exe.empty() ? std::filesystem::path("/") : std::filesystem::path(exe).parent_path();
    return (folder / "Boot" / "new").string() + "/";
}

const char* yes_no(std::uint32_t capabilities, std::uint32_t bit) {
    return (capabilities & bit) ? "Yes" : "No";
}

}  // namespace

dvb_device_techotrend::dvb_device_techotrend(std::unique_ptr<card> card)
    : channel_(default_channel), card_(std::move(card)) {
    if (card_) card_->set_listener(this);
}

dvb_device_techotrend::~dvb_device_techotrend() {
    if (card_objects_) stop_filter();
    if (card_) card_->set_listener(nullptr);
    // The card joins its delivery thread before the filters and the lock go. A callback that
    // stopped the filters may still read card_ on that thread, so the pointer is cleared only
    // once the card (and with it the thread) has gone.
    delete card_.get();
    (void)card_.release();
}

bool dvb_device_techotrend::card_ready() {
    if (card_objects_) return true;
    event_log(1, "card not initialized");
    return false;
}

std::uint32_t dvb_device_techotrend::init() {
    if (card_objects_) {
        event_log(1, "Device already initialized");
        return result::mismatch;
    }
    if (!card_) {
        event_log(1, "Failed to open device");
        return result::failed;
    }
    // From here on the device counts as initialised, whatever the outcome.
    card_objects_ = true;
    if (!card_->open()) {
        event_log(1, "Failed to open device");
        return result::failed;
    }
    if (card_->boot(boot_directory()) != 0) {
        event_log(1, "BoardControl.BootARMnew(new) not successful");
        return result::failed;
    }
    if (card_->read_version() != 0) {
        event_log(1, "Could not get BE-Version");
        return result::failed;
    }
    if (const std::int32_t r = card_->init_frontend(); r != 0) {
        event_log(1, "Failed to init frontend: %d", r);
        return result::failed;
    }
    if (card_->enable_data(true) != 0) {
        event_log(1, "BoardControl.EnableDataDMA not successful");
        return result::failed;
    }
    switch (const std::int32_t type = card_->frontend_type()) {
        case frontend_dvb_s:
        case frontend_dvb_c:
        case frontend_dvb_t:
            frontend_type_ = type;
            event_log(1, "Frontend is %s",
                      type == frontend_dvb_s   ? "DVB-S"
                      : type == frontend_dvb_c ? "DVB-C"
                                               : "DVB-T");
            break;
        default:
            frontend_type_ = frontend_none;
            event_log(1, "Frontend is unknown");
            return result::failed;
    }
    const std::uint32_t caps = card_->capabilities();
    capabilities_ = caps;
    event_log(1, "Auto FEC: %s", yes_no(caps, capability::auto_fec));
    event_log(1, "Auto Spectral-Inversion Detection: %s", yes_no(caps, capability::auto_inversion));
    event_log(1, "Channel-Scan to next channel: %s", yes_no(caps, capability::channel_scan));
    event_log(1, "Auto Band-Width Detection: %s", yes_no(caps, capability::auto_bandwidth));
    event_log(1, "Active Antenna Power Supply: %s", yes_no(caps, capability::antenna_power));
    return result::ok;
}

std::uint32_t dvb_device_techotrend::get_frontend_type() {
    return static_cast<std::uint32_t>(frontend_type_.load());
}

bool dvb_device_techotrend::query_option(int value) {
    return value == 1 || value == 2 || value == 5;
}

bool dvb_device_techotrend::has_capability(int index) {
    if (!card_ready()) return false;
    switch (index) {
        case 0:
            return (capabilities_ & capability::auto_fec) != 0;
        case 2:
        case 3:
        case 4:
            return true;
        case 5:
            return (capabilities_ & capability::auto_bandwidth) != 0;
        case 6:
            return (capabilities_ & capability::auto_inversion) != 0;
        default:
            return false;
    }
}

bool dvb_device_techotrend::is_locked() {
    // Asked without a card it says "not locked" rather than asking nothing.
    if (!card_objects_) return false;
    signal_state state;
    return card_->read_state(state) == 0 && state.locked;
}

bool dvb_device_techotrend::wait_for_lock(std::uint32_t ms) {
    constexpr std::uint32_t poll_gap_ms = 50;
    for (std::uint32_t waited = 0; waited < ms; waited += poll_gap_ms) {
        if (is_locked()) return true;
        if (!card_objects_) return false;
        card_->sleep_ms(poll_gap_ms);
    }
    return is_locked();
}

std::uint32_t dvb_device_techotrend::get_signal_level() {
    if (!card_ready()) return 0;
    signal_state state;
    if (card_->read_state(state) != 0) return 0;
    return state.level_percent;
}

std::uint32_t dvb_device_techotrend::get_signal_quality() {
    if (!card_ready()) return 0;
    signal_state state;
    if (card_->read_state(state) != 0 || !state.locked) return 0;
    const double ber = state.bit_error_rate;
    if (ber < 0.001) return 100;
    if (ber < 0.01) return 75;
    if (ber < 0.1) return 50;
    return 25;
}

std::uint32_t dvb_device_techotrend::read_statistics(signal_statistics& out) {
    // Polled by the status bar: without a card it answers without logging each time.
    if (!card_objects_) return result::not_initialized;
    return card_->read_statistics(out) == 0 ? result::ok : result::failed;
}

bool dvb_device_techotrend::offers_system(lib13818::DeliverySystem system) {
    return card_objects_ && card_->offers(system);
}

std::uint32_t dvb_device_techotrend::select_device(int) {
    return result::ok;
}
std::uint32_t dvb_device_techotrend::query_number() {
    return 0;
}
bool dvb_device_techotrend::query_flag() {
    return false;
}
std::uint32_t dvb_device_techotrend::set_12v(std::uint32_t) {
    return result::not_supported;
}
std::uint32_t dvb_device_techotrend::get_12v(std::uint32_t*) {
    return result::not_supported;
}

std::uint16_t dvb_device_techotrend::get_number_of_devices() {
    return card_ ? card_->count() : 0;
}

int dvb_device_techotrend::get_device_info(int index, std::string& name) {
    if (index != 0) return -1;
    card_description description;
    if (card_) card_->describe(0, description);
    name = description.name;
    event_log(3, "%s %s %s", description.name.c_str(), description.location.c_str(),
              description.detail.c_str());
    return 0;
}

LnbConfig dvb_device_techotrend::lnb_config() {
    return lnb_;
}
void dvb_device_techotrend::set_lnb_config(const LnbConfig& config) {
    lnb_ = config;
}

std::uint64_t dvb_device_techotrend::clock_ms() {
    return card_ ? card_->now_ms() : 0;
}

}  // namespace kestrel
