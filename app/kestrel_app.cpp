#include "app/kestrel_app.h"

#include <QMdiArea>

#include "app/dialogs/pid_streaming_dlg.h"
#include "app/main_frame.h"
#include "app/transponder_wnd.h"
#include "log/trace_log.h"

namespace kestrel::app {

CKestrel2App::CKestrel2App(app_parts parts)
    : parts_(std::move(parts)), frame_(std::make_unique<CMainFrame>(*this)) {}

CKestrel2App::~CKestrel2App() = default;

void CKestrel2App::InitInstance() {
    frame_->show();
    GetTransonderWnd();
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

void CKestrel2App::record_pids(const views::pid_list& pids, QWidget* parent) {
    if (parts_.device == nullptr) return;
    CPIDStreamingDlg launcher(pids, *parts_.device, parts_.settings, files_, parent);
    global_trace().log(0, "calling CPIDStreamingDlg::DoModal()");
    launcher.exec();
    global_trace().log(0, "called CPIDStreamingDlg::DoModal()");
}

}  // namespace kestrel::app
