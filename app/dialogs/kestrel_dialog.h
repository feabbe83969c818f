#pragma once

#include <QDialog>
#include <QDialogButtonBox>

#include "settings/settings_store.h"

class QBoxLayout;

namespace kestrel::app {

// The shape of every dialog: modal on its parent, OK (Enter) and Cancel (Escape) at the
// bottom, its geometry kept under its title in the "window" group of the settings.
class CKestrelDialog : public QDialog {
  public:
    CKestrelDialog(const QString& title, settings_store& settings, QWidget* parent);
    void done(int result) override;

  protected:
    // The buttons below what `layout` holds; OK accepts, Cancel rejects.
    QDialogButtonBox* add_buttons(QBoxLayout& layout,
                                  QDialogButtonBox::StandardButtons buttons = QDialogButtonBox::Ok |
                                                                              QDialogButtonBox::Cancel);
    void showEvent(QShowEvent* event) override;

    settings_store& settings_;

  private:
    std::string geometry_key() const;
    bool restored_ = false;
};

}  // namespace kestrel::app
