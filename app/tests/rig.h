#pragma once

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QStringList>
#include <memory>
#include <vector>

#include "app/command_host.h"
#include "app/message_box.h"
#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "settings/memory_store.h"
#include "startup/lnb_settings.h"
#include "startup/satellite_list.h"

namespace kestrel::app::testing {

// A device over a scripted card of the given frontend type, initialised, with the stored
// LNB settings and tuning restored as at start-up; message boxes are caught, not shown.
struct rig {
    explicit rig(std::int32_t frontend = frontend_dvb_s, bool locked = true) {
        auto owned = std::make_unique<kestrel::testing::fake_card>();
        card = owned.get();
        card->set().frontend_type = frontend;
        card->set().state.locked = locked;
        device = std::make_unique<dvb_device_techotrend>(std::move(owned));
        device->init();
        startup::restore_lnb_settings(settings, *device);
        set_message_hook([this](const QString& text) { messages << text; });
    }
    ~rig() { set_message_hook({}); }

    memory_store settings;
    CSatelliteList satellites;
    kestrel::testing::fake_card* card;  // owned by the device
    std::unique_ptr<dvb_device_techotrend> device;
    QStringList messages;
};

// A host for document windows without the application: the launcher only notes its PIDs.
struct test_host final : command_host {
    test_host(settings_store& store, dvb_device* card_device) : store(store), card_device(card_device) {}
    settings_store& settings() override { return store; }
    dvb_device* device() override { return card_device; }
    void record_pids(const views::pid_list& pids, QWidget*) override { recorded.push_back(pids); }

    settings_store& store;
    dvb_device* card_device;
    std::vector<views::pid_list> recorded;
};

// Runs the event loop until `done` holds or `ms` have passed; true when it holds.
template <typename Condition>
bool wait_until(Condition done, int ms = 20'000) {
    QElapsedTimer timer;
    timer.start();
    while (!done()) {
        if (timer.elapsed() > ms) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

// Windows closed with delete-on-close are gone once the deferred deletes ran.
inline void run_deferred_deletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace kestrel::app::testing
