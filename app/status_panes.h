#pragma once

#include <QString>

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

// The panes of the main frame's status bar: lock, signal level, signal quality, then the
// signal in decibels ("Strength: -34.2 dBm  CNR: 28.1 dB") where the card gives it.
struct status_texts {
    QString lock;
    QString level;
    QString quality;
    QString decibels;
};

// What the panes show before the first refresh.
status_texts initial_status();
// The panes from the device: a pane whose capability the device lacks (or without a card)
// is empty.
status_texts read_status(dvb_device* device);

}  // namespace kestrel::app
