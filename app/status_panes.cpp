#include "app/status_panes.h"

#include "device/dvb_device.h"

namespace kestrel::app {

namespace {

// Capabilities as the device numbers them.
constexpr int lock_and_quality = 2;
constexpr int level = 3;

}  // namespace

status_texts initial_status() {
    return {QStringLiteral("NOT LOCKED"), QStringLiteral("Signal level: 0 %"),
            QStringLiteral("Signal quality: 0%"), QString()};
}

status_texts read_status(dvb_device* device) {
    status_texts texts;
    if (device == nullptr || device->get_number_of_devices() == 0) return texts;
    if (device->has_capability(lock_and_quality)) {
        texts.lock = device->is_locked() ? QStringLiteral("LOCKED") : QStringLiteral("NOT LOCKED");
        texts.quality = QStringLiteral("Signal quality: %1 %").arg(device->get_signal_quality());
    }
    if (device->has_capability(level))
        texts.level = QStringLiteral("Signal level: %1 %").arg(device->get_signal_level());
    signal_statistics statistics;
    if (device->read_statistics(statistics) == result::ok)
        texts.decibels = QString::fromStdString(decibel_summary(statistics));
    return texts;
}

}  // namespace kestrel::app
