#include "app/scan_command.h"

#include "app/dialogs/si_reader_dlg.h"
#include "app/kestrel_app.h"
#include "app/main_frame.h"
#include "app/message_box.h"
#include "app/transponder_wnd.h"

namespace kestrel::app {

namespace {

bool shows_result(std::int32_t mode, int exit_code) {
    return exit_code == (mode == ScanContext::current_transponder ? 0 : 1);
}

// False when the user cancelled the command.
bool keep_or_drop_result(CKestrel2App& app) {
    AllNetworks& networks = app.all_networks();
    if (networks.empty()) return true;
    switch (ask_question(&app.main_frame(),
                         QStringLiteral("Data is already loaded.\nDo you want to keep existing data ?"),
                         QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return true;
        case QMessageBox::No:
            // The tree goes first: it points into the networks.
            app.GetTransonderWnd()->ClearView();
            networks.clear();
            return true;
        default:
            return false;
    }
}

}  // namespace

void run_scan_command(CKestrel2App& app, std::int32_t mode) {
    dvb_device* device = app.device();
    if (device == nullptr || !keep_or_drop_result(app)) return;
    app.GetTransonderWnd()->ClearView();
    ScanContext context;
    context.mode = mode;
    CSIReaderDlg dialog(app.all_networks(), context, {*device, app.settings(), app.satellites()},
                        &app.main_frame());
    if (!shows_result(mode, dialog.exec())) return;
    if (mode == ScanContext::current_transponder && !dialog.missing_tables().empty())
        show_message(&app.main_frame(),
                     QStringLiteral("No %1 was received on this transport stream: nothing was added.")
                         .arg(QString::fromStdString(dialog.missing_tables())),
                     QMessageBox::Information);
    app.GetTransonderWnd()->SetTable(context, app.all_networks());
}

}  // namespace kestrel::app
