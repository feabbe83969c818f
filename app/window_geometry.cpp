#include "app/window_geometry.h"

#include <string>

#include "settings/keys.h"

namespace kestrel::app {

QByteArray read_window_state(settings_store& settings, std::string_view key) {
    const std::string text = settings.read_string(settings::window, key, "");
    return QByteArray::fromBase64(QByteArray::fromStdString(text));
}

void write_window_state(settings_store& settings, std::string_view key, const QByteArray& state) {
    settings.write_string(settings::window, key, state.toBase64().toStdString());
}

}  // namespace kestrel::app
