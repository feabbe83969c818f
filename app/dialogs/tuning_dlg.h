#pragma once

#include "app/dialogs/kestrel_dialog.h"
#include "device/dvb_device.h"
#include "device/signal_statistics.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QRadioButton;

namespace kestrel::app {

class delivery_fields;

// The current tuning for the dialog; a record of zeros of the device's frontend type when
// the tuner cannot be read back.
TUNERPARM read_tuning(dvb_device& device);

// "Tuning": shows the channel of `record` by frontend type with its delivery record, tunes to
// what it shows on Apply and OK, and shows signal level, quality and lock every 250 ms, with
// strength, CNR and the error rates of the last second where the card gives them.
class CTuningDlg : public CKestrelDialog {
  public:
    CTuningDlg(const TUNERPARM& record, dvb_device& device, settings_store& settings, QWidget* parent);

    // Tunes to the values shown; a failure is said in a message box.
    void apply();
    void accept() override;

    const TUNERPARM& record() const { return record_; }
    QLineEdit& frequency() { return *frequency_; }
    QLineEdit& symbol_rate() { return *symbol_rate_; }
    QComboBox& fec() { return *fec_; }
    QComboBox& polarity() { return *polarity_; }
    QComboBox& twelve_volt() { return *twelve_volt_; }
    QComboBox& disq() { return *disq_; }
    QComboBox& qam() { return *qam_; }
    QRadioButton& bandwidth_7() { return *bandwidth_7_; }
    QRadioButton& bandwidth_8() { return *bandwidth_8_; }
    QCheckBox& inversion() { return *inversion_; }
    QProgressBar& level() { return *level_; }
    QProgressBar& quality() { return *quality_; }
    QProgressBar& synchronization() { return *sync_; }
    delivery_fields& delivery() { return *delivery_; }
    QLabel& strength() { return *strength_; }
    QLabel& cnr() { return *cnr_; }

  private:
    void build_layout();
    void enable_by_type();
    void show_record();
    void show_signal();
    void apply_satellite();
    void apply_cable_or_terrestrial();

    TUNERPARM record_;
    dvb_device& device_;
    QLabel* frequency_label_;
    QLineEdit* frequency_;
    QLabel* symbol_rate_label_;
    QLineEdit* symbol_rate_;
    QComboBox* fec_;
    QComboBox* polarity_;
    QComboBox* twelve_volt_;
    QComboBox* disq_;
    QLabel* qam_label_;
    QComboBox* qam_;
    QLabel* bandwidth_label_;
    QRadioButton* bandwidth_7_;
    QRadioButton* bandwidth_8_;
    QCheckBox* inversion_;
    QProgressBar* level_;
    QProgressBar* quality_;
    QProgressBar* sync_;
    delivery_fields* delivery_;
    QLabel* strength_;
    QLabel* cnr_;
    QLabel* ber_;
    QLabel* post_ber_;
    QLabel* per_;
    error_rate_tracker rates_;
};

}  // namespace kestrel::app
