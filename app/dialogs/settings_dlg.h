#pragma once

#include "app/dialogs/kestrel_dialog.h"

class QComboBox;

namespace kestrel::app {

// "Settings": the trace log's level, 0..3, used from the next start.
class CSettingsDlg : public CKestrelDialog {
  public:
    CSettingsDlg(settings_store& settings, QWidget* parent);
    void accept() override;

    QComboBox& level() { return *level_; }

  private:
    QComboBox* level_;
};

}  // namespace kestrel::app
