#pragma once

#include <QByteArray>
#include <string_view>

#include "settings/settings_store.h"

namespace kestrel::app {

// A window's geometry or a splitter's state in the "window" group of the settings, as
// Base64 text; empty when nothing is stored.
QByteArray read_window_state(settings_store& settings, std::string_view key);
void write_window_state(settings_store& settings, std::string_view key, const QByteArray& state);

}  // namespace kestrel::app
