#include "app/dialogs/database_export_dlg.h"

#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_rows.h"
#include "app/message_box.h"
#include "dbexport/database_export.h"

namespace kestrel::app {

CDatabaseExportDlg::CDatabaseExportDlg(const AllNetworks& networks, settings_store& settings,
                                       file_chooser& files, QWidget* parent)
    : CKestrelDialog(QStringLiteral("Database export"), settings, parent),
      networks_(networks),
      files_(files),
      path_edit_(new QLineEdit(this)),
      export_(new QPushButton(QStringLiteral("Export..."), this)) {
    // Only a path chosen in the save dialog is exported to: it has asked about overwriting.
    path_edit_->setReadOnly(true);
    path_edit_->setMinimumWidth(path_edit_->fontMetrics().horizontalAdvance(QLatin1Char('x')) * 40);
    export_->setEnabled(false);
    connect(export_, &QPushButton::clicked, this, &CDatabaseExportDlg::export_database);

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Database:"), browse_row(*path_edit_, *this, [this] { browse(); }));
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    QDialogButtonBox* buttons = add_buttons(*layout, QDialogButtonBox::Cancel);
    buttons->addButton(export_, QDialogButtonBox::ActionRole);
}

void CDatabaseExportDlg::browse() {
    const QString chosen = files_.save_file({path_, QStringLiteral("db"), {}}, this);
    if (chosen.isEmpty()) return;
    path_ = chosen;
    path_edit_->setText(path_);
    export_->setEnabled(true);
}

void CDatabaseExportDlg::export_database() {
    if (CDatabaseExportProgressDlg(networks_, path_, this).exec() == 0)
        show_message(this, QStringLiteral("The database was written to %1").arg(path_),
                     QMessageBox::Information);
}

CDatabaseExportProgressDlg::CDatabaseExportProgressDlg(const AllNetworks& networks, QString path,
                                                       QWidget* parent)
    : worker_dialog(QString(), parent), networks_(networks), path_(std::move(path)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Exporting to database. Please wait..."), this));
}

int CDatabaseExportProgressDlg::work() {
    const std::string error = dbexport::export_database(path_.toStdString(), networks_);
    if (error.empty()) return 0;
    post_message(QString::fromStdString(error));
    return 1;
}

}  // namespace kestrel::app
