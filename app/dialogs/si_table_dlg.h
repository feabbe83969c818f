#pragma once

#include <array>
#include <cstdint>

#include "app/dialogs/kestrel_dialog.h"

class QCheckBox;
class QLineEdit;

namespace kestrel::app {

// "SI table configuration": which tables the scans read (one bit each of "table"/"enable")
// and the delay between PID stream reads.
class CSITableDlg : public CKestrelDialog {
  public:
    static constexpr int table_count = 15;

    CSITableDlg(settings_store& settings, QWidget* parent);
    void accept() override;

    // The box of the table with this bit (0x0001 PAT ... 0x4000 TOT).
    QCheckBox& table(std::uint32_t bit);
    QLineEdit& read_delay() { return *delay_; }

  private:
    std::array<QCheckBox*, table_count> boxes_{};  // by bit number
    QLineEdit* delay_;
};

}  // namespace kestrel::app
