#pragma once

// What the document windows' commands (the tree's and the value pane's context menus) need
// from the application: the settings, the device in use and the multiple PID launcher.
// The application is the host; a test can be one too.

#include "settings/settings_store.h"
#include "views/pid_rules.h"

namespace kestrel {
class dvb_device;
}

class QWidget;

namespace kestrel::app {

class command_host {
  public:
    virtual ~command_host() = default;

    virtual settings_store& settings() = 0;
    // Null without a usable card. The device may change between two commands (a capture
    // opened), never during one.
    virtual dvb_device* device() = 0;
    // Opens the multiple PID launcher on `pids` (32 entries, 0x1FFF for none), modally.
    virtual void record_pids(const views::pid_list& pids, QWidget* parent) = 0;
    // True while a live stream analysis has taken the card: nothing else may use it.
    virtual bool analysing() { return false; }
};

}  // namespace kestrel::app
