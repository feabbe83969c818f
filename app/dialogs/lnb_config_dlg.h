#pragma once

#include <array>

#include "app/dialogs/kestrel_dialog.h"
#include "startup/satellite_list.h"

class QCheckBox;
class QComboBox;

namespace kestrel::app {

// "LNB config": which satellite of the satellite list stands behind each of the four
// DiSEqC positions.
class CLnbConfigDlg : public CKestrelDialog {
  public:
    static constexpr int positions = 4;

    CLnbConfigDlg(settings_store& settings, const CSatelliteList& satellites, QWidget* parent);
    void accept() override;

    QCheckBox& used(int position) { return *used_[position]; }
    QComboBox& satellite(int position) { return *satellite_[position]; }

  private:
    void show_stored(int position);

    std::array<QCheckBox*, positions> used_{};
    std::array<QComboBox*, positions> satellite_{};
};

}  // namespace kestrel::app
