#pragma once

#include "app/dialogs/kestrel_dialog.h"
#include "app/file_chooser.h"

class QComboBox;
class QLineEdit;

namespace kestrel {
class dvb_device;
}

namespace kestrel::app {

// "PID Streaming": records one PID into one file, as often as the user presses Start; the
// dialog stays open between recordings. The PID and the buffer size are hexadecimal.
class CSinglePIDStreamingDlg : public CKestrelDialog {
  public:
    CSinglePIDStreamingDlg(int pid, dvb_device& device, settings_store& settings, file_chooser& files,
                           QWidget* parent);

    // The save dialog; a confirmed path becomes the file.
    void browse();
    // Reads the controls (text that does not read keeps the value before), keeps the file
    // under "pidfile" and runs one recording to its end.
    void start();

    QLineEdit& pid() { return *pid_edit_; }
    QComboBox& mode() { return *mode_combo_; }
    QLineEdit& file() { return *file_edit_; }
    QComboBox& buffer() { return *buffer_combo_; }

  private:
    void read_controls();

    dvb_device& device_;
    file_chooser& files_;
    QString file_name_;
    int pid_;
    int buffer_size_ = 8192;
    // Travels with the dialog only: the device records whole packets in every mode.
    int mode_ = 6;
    QLineEdit* pid_edit_;
    QComboBox* mode_combo_;
    QLineEdit* file_edit_;
    QComboBox* buffer_combo_;
};

}  // namespace kestrel::app
