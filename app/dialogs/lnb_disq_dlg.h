#pragma once

#include <array>
#include <optional>

#include "app/dialogs/kestrel_dialog.h"
#include "device/dvb_device.h"

class QCheckBox;
class QLineEdit;
class QRadioButton;

namespace kestrel::app {

// "LNB/Disq configuration": DiSEqC mode, the LNB's oscillators and switch frequency and
// its power. OK stores them, hands them to the device and tunes the current channel again
// with them.
class CLnbDisqDlg : public CKestrelDialog {
  public:
    CLnbDisqDlg(settings_store& settings, dvb_device& device, QWidget* parent);
    void accept() override;

    QRadioButton& mode(int index) { return *modes_[index]; }
    QLineEdit& lof1() { return *lof1_; }
    QLineEdit& switch_khz() { return *switch_; }
    QLineEdit& lof2() { return *lof2_; }
    QCheckBox& power() { return *power_; }

  private:
    // The edit's kHz, or nothing (after saying so) when it holds no number from 1 to
    // 4294967295.
    std::optional<std::uint32_t> read_khz(QLineEdit& edit, const QString& label);

    dvb_device& device_;
    std::array<QRadioButton*, 3> modes_{};
    QLineEdit* lof1_;
    QLineEdit* switch_;
    QLineEdit* lof2_;
    QCheckBox* power_;
};

}  // namespace kestrel::app
