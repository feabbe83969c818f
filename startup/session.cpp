#include "startup/session.h"

#include "device/capture/capture_card.h"
#include "device/dvb_device_techotrend.h"
#include "log/log_location.h"
#include "log/trace_log.h"
#include "settings/keys.h"
#include "startup/build_info.h"
#include "startup/card_choice.h"
#include "startup/data_directory.h"
#include "startup/lnb_settings.h"
#include "startup/logs.h"
#include "startup/registries.h"

namespace kestrel::startup {

namespace {

constexpr const char* satellite_list_file = "satellitecfg.txt";

// The user's satellite list before the installed one; the trace says at level 1 which file
// was read, or where none was found.
void read_satellite_list(CSatelliteList& list) {
    const auto folders = satellite_list_directories(executable_path());
    const std::filesystem::path path = find_data_file(folders, satellite_list_file);
    if (path.empty()) {
        std::string searched;
        for (const auto& folder : folders)
            searched += (searched.empty() ? "" : ", ") + folder.string();
        global_trace().log(1, "satellite list: none (no %s in %s)", satellite_list_file, searched.c_str());
        return;
    }
    global_trace().log(1, "satellite list: %s", path.c_str());
    list.ParseList(path.string());
}

std::string init_failure(const std::string& spec, std::uint32_t result) {
    return "card '" + spec + "': init failed with result " + std::to_string(result) + " (" +
           result_meaning(result) + ")";
}

// A capture card whose stored tuning receives none of its transponders starts on its first
// one, so that it shows something at once; the tuning it started on, as read back.
std::optional<TUNERPARM> start_on_first_transponder(dvb_device& device, const capture_card* capture) {
    if (capture == nullptr || device.is_locked()) return std::nullopt;
    global_trace().log(2, "stored tuning receives nothing: tuning the capture's first transponder");
    device.set_tuner(capture->first_transponder_tuning());
    TUNERPARM tuned;
    if (device.get_tuner(tuned) != result::ok) return std::nullopt;
    return tuned;
}

}  // namespace

void build_names_and_open_logs(settings_store& store, std::optional<std::int32_t> trace_level) {
    load_registries();
    open_logs(trace_level.value_or(settings::read(store, settings::loglevel)));
    global_trace().log(2, "build=%u", build_number());
}

session::session(settings_store& store, const session_options& options) : settings_(store) {
    build_names_and_open_logs(store, options.trace_level);
    read_satellite_list(satellites_);

    const std::string spec = options.card.empty() ? settings::read(store, settings::card) : options.card;
    card_choice choice = choose_card(spec);
    card_spec_ = choice.spec;
    if (!choice.chosen) {
        card_error_ = choice.error;
        return;
    }
    const auto* capture = dynamic_cast<const capture_card*>(choice.chosen.get());
    device_ = std::make_unique<dvb_device_techotrend>(std::move(choice.chosen));
    init_result_ = device_->init();
    if (init_result_ != result::ok) card_error_ = init_failure(card_spec_, init_result_);
    restore_lnb_settings(store, *device_);
    if (init_result_ == result::ok) start_tuning_ = start_on_first_transponder(*device_, capture);
}

std::string session::replace_card(const std::string& spec) {
    card_choice choice = choose_card(spec);
    if (!choice.chosen) return choice.error;
    const auto* capture = dynamic_cast<const capture_card*>(choice.chosen.get());
    auto device = std::make_unique<dvb_device_techotrend>(std::move(choice.chosen));
    if (const std::uint32_t init = device->init(); init != result::ok) return init_failure(choice.spec, init);
    if (device_ && !replaced_ && init_result_ == result::ok) keep_values();
    restore_lnb_settings(settings_, *device);
    start_on_first_transponder(*device, capture);
    device_ = std::move(device);
    card_spec_ = choice.spec;
    card_error_.clear();
    init_result_ = result::ok;
    replaced_ = true;
    global_trace().log(2, "card replaced by %s", card_spec_.c_str());
    return "";
}

bool session::keep() {
    keep_values();
    return settings_.sync();
}

void session::keep_values() {
    if (device_ && (replaced_ || still_on_start_tuning()))
        save_lnb_settings(settings_, device_->get_frontend_type(), device_->lnb_config(), nullptr);
    else if (device_)
        keep_lnb_settings(settings_, *device_);
}

bool session::still_on_start_tuning() {
    TUNERPARM now;
    return start_tuning_ && device_->get_tuner(now) == result::ok && now == *start_tuning_;
}

}  // namespace kestrel::startup
