#include "app/dialogs/kestrel_dialog.h"

#include <QBoxLayout>
#include <QPushButton>

#include "app/window_geometry.h"

namespace kestrel::app {

CKestrelDialog::CKestrelDialog(const QString& title, settings_store& settings, QWidget* parent)
    : QDialog(parent), settings_(settings) {
    setWindowTitle(title);
    setModal(true);
}

QDialogButtonBox* CKestrelDialog::add_buttons(QBoxLayout& layout, QDialogButtonBox::StandardButtons buttons) {
    auto* box = new QDialogButtonBox(buttons, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    if (QPushButton* ok = box->button(QDialogButtonBox::Ok)) ok->setDefault(true);
    layout.addWidget(box);
    return box;
}

void CKestrelDialog::showEvent(QShowEvent* event) {
    if (!restored_) {
        restored_ = true;
        restoreGeometry(read_window_state(settings_, geometry_key()));
    }
    QDialog::showEvent(event);
}

void CKestrelDialog::done(int result) {
    write_window_state(settings_, geometry_key(), saveGeometry());
    QDialog::done(result);
}

// The title's letters and digits: a slash would open a subgroup in an INI file.
std::string CKestrelDialog::geometry_key() const {
    std::string key;
    for (const QChar c : windowTitle())
        if (c.isLetterOrNumber()) key += c.toLatin1();
    return key;
}

}  // namespace kestrel::app
