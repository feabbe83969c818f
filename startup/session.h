#pragma once

// The start-up and shutdown every program that opens a card shares (kestrel-cli's card
// commands, the desktop program): in this order, with the settings store the caller chose,
// the name tables built, the CSV event log started, the trace log opened at the level of
// "loglevel" (or the one asked for) and the build number logged, the satellite list read,
// the card chosen and initialised, the stored LNB settings and last tuning restored (a
// capture card on which that tuning receives nothing starts on its first transponder).
// keep() is the shutdown: the LNB settings and the current tuning back into the store.

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "device/dvb_device_techotrend.h"
#include "settings/settings_store.h"
#include "startup/satellite_list.h"

namespace kestrel::startup {

// The start-up every program shares, whether it opens a card or not: the name tables built,
// then the CSV event log started and the trace log opened at the level asked for, else at
// the stored "loglevel".
void build_names_and_open_logs(settings_store& store, std::optional<std::int32_t> trace_level);

struct session_options {
    std::string card;                         // --card SPEC; "" = "General"/"card", else the default
    std::optional<std::int32_t> trace_level;  // overrides "loglevel"
};

class session {
  public:
    session(settings_store& store, const session_options& options);
    session(const session&) = delete;
    session& operator=(const session&) = delete;

    // The device, or null when the card could not be chosen (card_error() says why).
    dvb_device_techotrend* device() { return device_.get(); }
    // "" or "card 'SPEC': reason"; an init that failed is said here too.
    const std::string& card_error() const { return card_error_; }
    const std::string& card_spec() const { return card_spec_; }
    std::uint32_t init_result() const { return init_result_; }

    settings_store& settings() { return settings_; }
    const CSatelliteList& satellites() const { return satellites_; }

    // Replaces the card by the one `spec` names (the desktop program's "Open capture..."),
    // initialised, with the stored LNB settings and tuning restored (or its first
    // transponder, as at start-up). The card replaced is kept first; from then on keep()
    // writes only the LNB values, so the stored tuning stays that of the card chosen at
    // start-up. "" or why the card could not be opened (the card
    // in use then stays).
    std::string replace_card(const std::string& spec);

    // The LNB settings and the current tuning into the store, written out: only the LNB
    // values after a replacement (see above), or while a capture card is still on the
    // first transponder it started on. False, with the store's status, when the store could
    // not be written.
    bool keep();

  private:
    void keep_values();
    bool still_on_start_tuning();

    settings_store& settings_;
    CSatelliteList satellites_;
    std::unique_ptr<dvb_device_techotrend> device_;
    std::string card_spec_;
    std::string card_error_;
    std::uint32_t init_result_ = result::not_initialized;
    bool replaced_ = false;
    // The tuning a capture card started on in place of the stored one, as read back: kept
    // only once something else has been tuned.
    std::optional<TUNERPARM> start_tuning_;
};

}  // namespace kestrel::startup
