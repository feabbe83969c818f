#include "app/kestrel_app.h"

#include <QMdiArea>
#include <QTimer>
#include <filesystem>

#include "app/analysis_wnd.h"
#include "app/dialogs/pid_streaming_dlg.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/recent_captures.h"
#include "app/scan_command.h"
#include "app/transponder_wnd.h"
#include "log/trace_log.h"

namespace kestrel::app {

CKestrel2App::CKestrel2App(app_parts parts)
    : parts_(std::move(parts)), frame_(std::make_unique<CMainFrame>(*this)) {}

CKestrel2App::~CKestrel2App() = default;

void CKestrel2App::InitInstance(const std::string& capture) {
    frame_->show();
    GetTransonderWnd();
    // After the main window is up: the scan runs a modal dialog over it.
    if (!capture.empty()) QTimer::singleShot(0, frame_.get(), [this, capture] { open_capture(capture); });
}

CTransponderWnd* CKestrel2App::GetTransonderWnd() {
    global_trace().log(2, "CKestrel2App::GetTransonderWnd()");
    if (transponder_) return transponder_;
    global_trace().log(2, "could not find window - creating new");
    transponder_ = new CTransponderWnd(*this);
    frame_->mdi_area().addSubWindow(transponder_);
    transponder_->showMaximized();
    return transponder_;
}

void CKestrel2App::OnFileNewTransponder() {
    global_trace().log(0, "CKestrel2App::OnFileNewTransponder()");
    CTransponderWnd* window = GetTransonderWnd();
    global_trace().log(2, "tmp=%#lx", reinterpret_cast<unsigned long>(window));
}

void CKestrel2App::analysis_started(CAnalysisWnd* window) {
    live_analysis_ = window;
}

bool CKestrel2App::analysing() {
    return live_analysis_ && live_analysis_->analysing();
}

bool CKestrel2App::open_capture(const std::string& file) {
    global_trace().log(2, "CKestrel2App::open_capture(%s)", file.c_str());
    // The analysis reads from the card in use: it must not be replaced under it.
    if (analysing()) {
        show_message(frame_.get(),
                     QStringLiteral("A stream analysis is using the card: close its window first."));
        return false;
    }
    if (!parts_.open_card) return false;
    // Absolute, so that the recent list still finds a file given relative to another folder.
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(file, error);
    const std::string path = error ? file : absolute.string();
    const card_swap swap = parts_.open_card("capture:" + path);
    if (!swap.error.empty()) {
        show_message(frame_.get(), QString::fromStdString(swap.error));
        return false;
    }
    parts_.device = swap.device;
    parts_.card_spec = swap.spec;
    remember_capture(parts_.settings, path);
    frame_->fill_card_list();
    frame_->refresh();
    run_scan_command(*this, ScanContext::current_transponder);
    return true;
}

void CKestrel2App::record_pids(const views::pid_list& pids, QWidget* parent) {
    if (parts_.device == nullptr) return;
    CPIDStreamingDlg(pids, *parts_.device, parts_.settings, files_, parent).exec();
}

}  // namespace kestrel::app
