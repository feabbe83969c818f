#pragma once

// The LNB and DiSEqC configuration and the last tuning, between the settings store and the
// device: loaded at start-up (restore) and after the LNB dialog, kept at shutdown.

#include <cstdint>

#include "device/dvb_device.h"
#include "settings/settings_store.h"

namespace kestrel::startup {

struct lnb_settings {
    LnbConfig lnb;
    TUNERPARM tuning;  // type 0 (no tuning key read) for a frontend type other than 1..3
};

// The stored LNB values and the tuning of the last run, by frontend type.
lnb_settings load_lnb_settings(settings_store& settings, std::uint32_t frontend_type);
// Writes the LNB values and, unless `tuning` is null, the tuning by frontend type.
// Frequencies are rounded to the nearest kHz; a DVB-S read-back symbol rate is in
// kilosymbols per second and stored in symbols per second.
void save_lnb_settings(settings_store& settings, std::uint32_t frontend_type, const LnbConfig& lnb,
                       const TUNERPARM* tuning);

// Start-up: the stored LNB values into the device, then a tune to the stored tuning (its
// result is ignored; without a card the device logs why).
void restore_lnb_settings(settings_store& settings, dvb_device& device);
// Shutdown: the device's LNB values and its current tuning into the store. When the tuning
// cannot be read back only the LNB values are written and the stored tuning stays.
void keep_lnb_settings(settings_store& settings, dvb_device& device);

}  // namespace kestrel::startup
