#pragma once

#include <QGroupBox>

#include "device/dvb_device.h"
#include "lib13818/delivery/delivery.h"

class QComboBox;
class QLineEdit;

namespace kestrel::app {

// The Tuning dialog's delivery record: the system, then the DVB-S2 fields (modulation,
// roll-off, pilot, input stream, Gold index) and the terrestrial ones (bandwidth, code
// rates, guard interval, transmission mode, hierarchy; the stream is also the DVB-T2 PLP).
// "auto" everywhere, and an empty stream or Gold index, leave a field to the frontend.
class delivery_fields : public QGroupBox {
  public:
    explicit delivery_fields(QWidget* parent);

    // Disables, without hiding, what the card cannot tune: the systems its frontend does not
    // offer, and the fields of the systems it lacks.
    void enable_for(dvb_device& device);
    void show(const lib13818::Delivery& delivery);
    lib13818::Delivery read() const;

    QComboBox& system() { return *system_; }
    QComboBox& modulation() { return *modulation_; }
    QComboBox& roll_off() { return *roll_off_; }
    QLineEdit& stream_id() { return *stream_id_; }
    QLineEdit& gold_index() { return *gold_index_; }
    QComboBox& bandwidth() { return *bandwidth_; }
    QComboBox& guard_interval() { return *guard_interval_; }

  private:
    QComboBox* system_;
    QComboBox* modulation_;
    QComboBox* roll_off_;
    QComboBox* pilot_;
    QLineEdit* stream_id_;
    QLineEdit* gold_index_;
    QComboBox* bandwidth_;
    QComboBox* code_rate_hp_;
    QComboBox* code_rate_lp_;
    QComboBox* guard_interval_;
    QComboBox* transmission_mode_;
    QComboBox* hierarchy_;
};

}  // namespace kestrel::app
