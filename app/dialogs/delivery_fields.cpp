#include "app/dialogs/delivery_fields.h"

#include <QComboBox>
#include <QFormLayout>
#include <QIntValidator>
#include <QLineEdit>
#include <QStandardItemModel>
#include <initializer_list>

namespace kestrel::app {

namespace {

using lib13818::DeliverySystem;

// A list of every value of a field of the record, by name, each entry holding its number.
template <class Code>
QComboBox* coded_list(QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const lib13818::Named<Code>& n : lib13818::names(Code{}))
        box->addItem(QString::fromLatin1(n.name), static_cast<int>(n.value));
    return box;
}

void select_number(QComboBox& box, std::int32_t number) {
    box.setCurrentIndex(std::max(0, box.findData(number)));
}

template <class Code>
Code selected(const QComboBox& box) {
    return lib13818::code_of<Code>(box.currentData().toInt());
}

// An edit for a number from 0 to `high`, empty for none.
QLineEdit* number_edit(int high, QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setValidator(new QIntValidator(0, high, edit));
    edit->setPlaceholderText(QStringLiteral("none"));
    return edit;
}

std::int32_t number_or_none(const QLineEdit& edit) {
    bool ok = false;
    const int value = edit.text().toInt(&ok);
    return ok ? value : lib13818::automatic;
}

void show_number(QLineEdit& edit, std::int32_t number) {
    edit.setText(number == lib13818::automatic ? QString() : QString::number(number));
}

void enable(std::initializer_list<QWidget*> widgets, bool on) {
    for (QWidget* widget : widgets)
        widget->setEnabled(on);
}

}  // namespace

delivery_fields::delivery_fields(QWidget* parent)
    : QGroupBox(QStringLiteral("Delivery"), parent),
      system_(coded_list<DeliverySystem>(this)),
      modulation_(coded_list<lib13818::Modulation>(this)),
      roll_off_(coded_list<lib13818::RollOff>(this)),
      pilot_(coded_list<lib13818::Pilot>(this)),
      stream_id_(number_edit(lib13818::max_stream_id, this)),
      gold_index_(number_edit(lib13818::max_scrambling_index, this)),
      bandwidth_(new QComboBox(this)),
      code_rate_hp_(coded_list<lib13818::CodeRate>(this)),
      code_rate_lp_(coded_list<lib13818::CodeRate>(this)),
      guard_interval_(coded_list<lib13818::GuardInterval>(this)),
      transmission_mode_(coded_list<lib13818::TransmissionMode>(this)),
      hierarchy_(coded_list<lib13818::Hierarchy>(this)) {
    bandwidth_->addItem(QStringLiteral("auto"), lib13818::automatic);
    for (const std::int32_t hz : lib13818::bandwidths_hz)
        bandwidth_->addItem(QString::fromStdString(lib13818::bandwidth_name(hz)), hz);
    auto* form = new QFormLayout(this);
    form->addRow(QStringLiteral("S&ystem:"), system_);
    form->addRow(QStringLiteral("&Modulation:"), modulation_);
    form->addRow(QStringLiteral("&Roll-off:"), roll_off_);
    form->addRow(QStringLiteral("P&ilot:"), pilot_);
    form->addRow(QStringLiteral("S&tream (ISI or PLP):"), stream_id_);
    form->addRow(QStringLiteral("&Gold index:"), gold_index_);
    form->addRow(QStringLiteral("Ba&ndwidth:"), bandwidth_);
    form->addRow(QStringLiteral("&Code rate:"), code_rate_hp_);
    form->addRow(QStringLiteral("&LP code rate:"), code_rate_lp_);
    form->addRow(QStringLiteral("G&uard interval:"), guard_interval_);
    form->addRow(QStringLiteral("Transmission m&ode:"), transmission_mode_);
    form->addRow(QStringLiteral("&Hierarchy:"), hierarchy_);
}

void delivery_fields::enable_for(dvb_device& device) {
    auto* systems = static_cast<QStandardItemModel*>(system_->model());
    for (int i = 0; i < system_->count(); ++i)
        systems->item(i)->setEnabled(
            device.offers_system(lib13818::code_of<DeliverySystem>(system_->itemData(i).toInt())));
    const bool s2 = device.offers_system(DeliverySystem::dvb_s2);
    const bool terrestrial =
        device.offers_system(DeliverySystem::dvb_t) || device.offers_system(DeliverySystem::dvb_t2);
    const bool cable = device.offers_system(DeliverySystem::dvb_c);
    enable({roll_off_, pilot_, gold_index_}, s2);
    enable({stream_id_}, s2 || device.offers_system(DeliverySystem::dvb_t2));
    // DVB-S has one modulation, and its FEC is the dialog's own FEC list.
    enable({modulation_, code_rate_hp_}, s2 || terrestrial || cable);
    enable({bandwidth_, code_rate_lp_, guard_interval_, transmission_mode_, hierarchy_}, terrestrial);
}

void delivery_fields::show(const lib13818::Delivery& d) {
    select_number(*system_, static_cast<std::int32_t>(d.system));
    select_number(*modulation_, static_cast<std::int32_t>(d.modulation));
    select_number(*roll_off_, static_cast<std::int32_t>(d.roll_off));
    select_number(*pilot_, static_cast<std::int32_t>(d.pilot));
    show_number(*stream_id_, d.stream_id);
    show_number(*gold_index_, d.scrambling_index);
    select_number(*bandwidth_, d.bandwidth_hz);
    select_number(*code_rate_hp_, static_cast<std::int32_t>(d.code_rate_hp));
    select_number(*code_rate_lp_, static_cast<std::int32_t>(d.code_rate_lp));
    select_number(*guard_interval_, static_cast<std::int32_t>(d.guard_interval));
    select_number(*transmission_mode_, static_cast<std::int32_t>(d.transmission_mode));
    select_number(*hierarchy_, static_cast<std::int32_t>(d.hierarchy));
}

lib13818::Delivery delivery_fields::read() const {
    lib13818::Delivery d;
    d.system = selected<DeliverySystem>(*system_);
    d.modulation = selected<lib13818::Modulation>(*modulation_);
    d.roll_off = selected<lib13818::RollOff>(*roll_off_);
    d.pilot = selected<lib13818::Pilot>(*pilot_);
    d.stream_id = number_or_none(*stream_id_);
    d.scrambling_index = number_or_none(*gold_index_);
    d.bandwidth_hz = bandwidth_->currentData().toInt();
    d.code_rate_hp = selected<lib13818::CodeRate>(*code_rate_hp_);
    d.code_rate_lp = selected<lib13818::CodeRate>(*code_rate_lp_);
    d.guard_interval = selected<lib13818::GuardInterval>(*guard_interval_);
    d.transmission_mode = selected<lib13818::TransmissionMode>(*transmission_mode_);
    d.hierarchy = selected<lib13818::Hierarchy>(*hierarchy_);
    return d;
}

}  // namespace kestrel::app
