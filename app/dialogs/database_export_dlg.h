#pragma once

#include "app/dialogs/kestrel_dialog.h"
#include "app/dialogs/worker_dialog.h"
#include "app/file_chooser.h"
#include "model/scan_result.h"

class QLineEdit;
class QPushButton;

namespace kestrel::app {

// "Database export": the scan result into a database file the user chose with Browse...;
// Export... runs one export behind its progress dialog and says where the file went. The
// dialog stays open afterwards; Cancel closes it.
class CDatabaseExportDlg : public CKestrelDialog {
  public:
    CDatabaseExportDlg(const AllNetworks& networks, settings_store& settings, file_chooser& files,
                       QWidget* parent);

    // The save dialog (it asks before overwriting); a confirmed path becomes the target.
    void browse();
    void export_database();

    QLineEdit& path() { return *path_edit_; }
    QPushButton& export_button() { return *export_; }

  private:
    const AllNetworks& networks_;
    file_chooser& files_;
    QString path_;
    QLineEdit* path_edit_;
    QPushButton* export_;
};

// "Exporting to database. Please wait...": runs the export on its worker; a failure is
// shown with its text and ends the dialog with 1, a finished export with 0.
class CDatabaseExportProgressDlg final : public worker_dialog {
  public:
    CDatabaseExportProgressDlg(const AllNetworks& networks, QString path, QWidget* parent);

  private:
    int work() override;
    // The export cannot be interrupted; it is short.
    void cancel() override {}

    const AllNetworks& networks_;
    const QString path_;
};

}  // namespace kestrel::app
