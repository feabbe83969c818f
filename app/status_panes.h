#pragma once

#include <QString>

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

// The three panes of the main frame's status bar: lock, signal level, signal quality.
struct status_texts {
    QString lock;
    QString level;
    QString quality;
};

// What the panes show before the first refresh.
status_texts initial_status();
// The panes from the device: a pane whose capability the device lacks (or without a card)
// is empty.
status_texts read_status(dvb_device* device);

}  // namespace kestrel::app
