#pragma once

#include <QPointer>
#include <functional>
#include <memory>
#include <string>

#include "app/command_host.h"
#include "app/file_chooser.h"
#include "model/scan_result.h"
#include "settings/settings_store.h"
#include "startup/satellite_list.h"

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

class CMainFrame;
class CTransponderWnd;
class CAnalysisWnd;

// A card opened in place of the one in use: its device and SPEC, or why there is none.
struct card_swap {
    dvb_device* device = nullptr;
    std::string spec;
    std::string error;
};
using card_opener = std::function<card_swap(const std::string& spec)>;

// What the desktop program runs on, set up by the start-up before the windows exist.
struct app_parts {
    settings_store& settings;
    dvb_device* device;  // null: no usable card
    const CSatelliteList& satellites;
    std::string card_spec;    // the SPEC of the card in use ("" without one)
    card_opener open_card{};  // replaces the card in use; unset: cards cannot be replaced
};

// The application: owns the scan results of the run, the main frame and the pointer to
// the transponder window that receives them; the host of the document windows' commands.
class CKestrel2App final : public command_host {
  public:
    explicit CKestrel2App(app_parts parts);
    ~CKestrel2App() override;
    CKestrel2App(const CKestrel2App&) = delete;
    CKestrel2App& operator=(const CKestrel2App&) = delete;

    // Shows the main frame and opens the first transponder window; then, once the event
    // loop runs, opens `capture` as "Open capture..." does when one is given.
    void InitInstance(const std::string& capture = {});

    // The transponder window, a new one when there is none (the last one was closed).
    CTransponderWnd* GetTransonderWnd();
    void OnFileNewTransponder();
    // "Open capture..." and a file dropped on the main window: the card in use is replaced
    // by a capture card playing `file` and the current transponder is scanned; the file
    // heads the recent captures. False, after a message, when the capture cannot be opened.
    bool open_capture(const std::string& file);

    CMainFrame& main_frame() { return *frame_; }
    AllNetworks& all_networks() { return all_networks_; }
    settings_store& settings() override { return parts_.settings; }
    dvb_device* device() override { return parts_.device; }
    // The multiple PID launcher; nothing without a card.
    void record_pids(const views::pid_list& pids, QWidget* parent) override;
    // The window of the live analysis that has taken the card, until it ends or closes.
    void analysis_started(CAnalysisWnd* window);
    bool analysing() override;
    file_chooser& files() { return files_; }
    const CSatelliteList& satellites() const { return parts_.satellites; }
    const std::string& card_spec() const { return parts_.card_spec; }

  private:
    app_parts parts_;
    AllNetworks all_networks_;
    qt_file_chooser files_;
    std::unique_ptr<CMainFrame> frame_;
    // Cleared by Qt when the window is deleted on closing.
    QPointer<CTransponderWnd> transponder_;
    QPointer<CAnalysisWnd> live_analysis_;
};

}  // namespace kestrel::app
