#pragma once

#include <array>

#include "app/dialogs/kestrel_dialog.h"
#include "app/file_chooser.h"
#include "views/pid_rules.h"

class QComboBox;
class QLineEdit;

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

// "Mutiple PID streaming": the launcher of a recording of up to 32 PIDs, each into its own
// file named after the base file name. The PIDs are hexadecimal, 0x1FFF for none; the
// dialog stays open between recordings.
class CPIDStreamingDlg : public CKestrelDialog {
  public:
    CPIDStreamingDlg(const views::pid_list& pids, dvb_device& device, settings_store& settings,
                     file_chooser& files, QWidget* parent);

    // Every PID back to 0x1FFF.
    void reset_filter();
    // The save dialog; a confirmed path becomes the base file name.
    void browse();
    // Reads the PIDs (an edit that does not read keeps its PID) and the base name, runs one
    // recording to its end and keeps the base name under "mulpidfile".
    void start();

    const views::pid_list& pids() const { return pids_; }
    QLineEdit& pid(std::size_t index) { return *pid_edits_[index]; }
    QLineEdit& base_name() { return *base_edit_; }
    QComboBox& buffer() { return *buffer_combo_; }

  private:
    void show_pids();
    void read_pids();

    dvb_device& device_;
    file_chooser& files_;
    QString base_name_;
    views::pid_list pids_;
    QLineEdit* base_edit_;
    // Read by nobody: the card library sizes the buffers of its file filters itself.
    QComboBox* buffer_combo_;
    std::array<QLineEdit*, views::pid_list_size> pid_edits_{};
};

}  // namespace kestrel::app
