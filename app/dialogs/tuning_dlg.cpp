#include "app/dialogs/tuning_dlg.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>

#include "app/dialogs/delivery_fields.h"
#include "app/message_box.h"
#include "device/card.h"

namespace kestrel::app {

namespace {

constexpr int signal_period_ms = 250;

// Capabilities as the device numbers them.
namespace can {
constexpr int auto_fec = 0;
constexpr int lock = 2;
constexpr int level = 3;
constexpr int quality = 4;
constexpr int auto_bandwidth = 5;
constexpr int auto_inversion = 6;
}  // namespace can

// The FEC list and the code each entry stands for in the record; 0 lets the tuner choose.
struct fec_entry {
    const char* text;
    std::int32_t code;
};
constexpr fec_entry fec_entries[] = {{"AUTO", 0}, {"1/1", 0}, {"1/2", 1}, {"2/3", 2},
                                     {"3/4", 3},  {"---", 0}, {"5/6", 4}, {"7/8", 5}};

const char* const qam_entries[] = {"Not defined", "16", "32", "64", "128", "256"};

// Bandwidth codes of the record.
constexpr std::uint32_t bandwidth_7_mhz = 1, bandwidth_8_mhz = 2, bandwidth_auto = 3;

bool failed(std::uint32_t code) {
    return code != result::ok && code != result::not_supported;
}

QComboBox* combo(std::initializer_list<const char*> texts, QWidget* parent) {
    auto* box = new QComboBox(parent);
    for (const char* text : texts)
        box->addItem(QString::fromLatin1(text));
    return box;
}

// What the edit holds; 0 for a text that is not a number.
double number(const QLineEdit& edit) {
    bool ok = false;
    const double value = edit.text().toDouble(&ok);
    return ok ? value : 0.0;
}
std::uint32_t whole_number(const QLineEdit& edit) {
    bool ok = false;
    const std::uint32_t value = edit.text().toUInt(&ok);
    return ok ? value : 0;
}

// Shows the busy cursor while a DVB-S tune blocks the window (three quarters of a second
// and more).
class busy_cursor {
  public:
    busy_cursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~busy_cursor() { QApplication::restoreOverrideCursor(); }
    busy_cursor(const busy_cursor&) = delete;
    busy_cursor& operator=(const busy_cursor&) = delete;
};

}  // namespace

TUNERPARM read_tuning(dvb_device& device) {
    TUNERPARM record;
    if (device.get_tuner(record) != result::ok) {
        record = TUNERPARM{};
        record.type = device.get_frontend_type();
    }
    return record;
}

CTuningDlg::CTuningDlg(const TUNERPARM& record, dvb_device& device, settings_store& settings, QWidget* parent)
    : CKestrelDialog(QStringLiteral("Tuning"), settings, parent), record_(record), device_(device) {
    build_layout();
    enable_by_type();
    show_record();
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &CTuningDlg::show_signal);
    timer->start(signal_period_ms);
}

void CTuningDlg::build_layout() {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int row = 0;
    auto add_row = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row++, 1, 1, 2);
        return label;
    };
    frequency_ = new QLineEdit(this);
    frequency_label_ = add_row(QStringLiteral("&Frequency (MHz):"), frequency_);
    symbol_rate_ = new QLineEdit(this);
    symbol_rate_label_ = add_row(QStringLiteral("S&ymbol rate (ksymbols):"), symbol_rate_);
    fec_ = new QComboBox(this);
    for (const fec_entry& entry : fec_entries)
        fec_->addItem(QString::fromLatin1(entry.text));
    add_row(QStringLiteral("F&EC:"), fec_);
    polarity_ = combo({"Hor", "Ver"}, this);
    add_row(QStringLiteral("&Polarity:"), polarity_);
    twelve_volt_ = combo({"OFF", "ON"}, this);
    add_row(QStringLiteral("12&V:"), twelve_volt_);
    disq_ = combo({"A", "B", "C", "D"}, this);
    add_row(QStringLiteral("&DISQ:"), disq_);
    qam_ = new QComboBox(this);
    for (const char* text : qam_entries)
        qam_->addItem(QString::fromLatin1(text));
    qam_label_ = add_row(QStringLiteral("&QAM"), qam_);

    bandwidth_label_ = new QLabel(QStringLiteral("&Bandwidth (MHz):"), this);
    bandwidth_7_ = new QRadioButton(QStringLiteral("&7"), this);
    bandwidth_8_ = new QRadioButton(QStringLiteral("&8"), this);
    bandwidth_label_->setBuddy(bandwidth_7_);
    auto* bandwidth = new QButtonGroup(this);
    bandwidth->addButton(bandwidth_7_);
    bandwidth->addButton(bandwidth_8_);
    grid->addWidget(bandwidth_label_, row, 0);
    grid->addWidget(bandwidth_7_, row, 1);
    grid->addWidget(bandwidth_8_, row++, 2);
    inversion_ = new QCheckBox(QStringLiteral("&Inversion"), this);
    grid->addWidget(inversion_, row++, 1, 1, 2);

    level_ = new QProgressBar(this);
    quality_ = new QProgressBar(this);
    sync_ = new QProgressBar(this);
    level_->setRange(0, 100);
    quality_->setRange(0, 100);
    sync_->setRange(0, 1);
    sync_->setTextVisible(false);
    for (const auto& [text, bar] :
         {std::pair{"Signal level:", level_}, std::pair{"Signal quality:", quality_},
          std::pair{"Synchronization:", sync_}}) {
        grid->addWidget(new QLabel(QString::fromLatin1(text), this), row, 0);
        bar->setValue(0);
        grid->addWidget(bar, row++, 1, 1, 2);
    }
    for (auto& [text, value] :
         {std::pair{"Strength:", &strength_}, std::pair{"CNR:", &cnr_}, std::pair{"BER:", &ber_},
          std::pair{"Post-FEC BER:", &post_ber_}, std::pair{"Block errors:", &per_}}) {
        grid->addWidget(new QLabel(QString::fromLatin1(text), this), row, 0);
        *value = new QLabel(QStringLiteral("n/a"), this);
        grid->addWidget(*value, row++, 1, 1, 2);
    }
    delivery_ = new delivery_fields(this);
    auto* columns = new QHBoxLayout;
    columns->addLayout(grid);
    columns->addWidget(delivery_);
    layout->addLayout(columns);

    QDialogButtonBox* buttons =
        add_buttons(*layout, QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Apply);
    QPushButton* apply_button = buttons->button(QDialogButtonBox::Apply);
    apply_button->setText(QStringLiteral("&Apply"));
    connect(apply_button, &QPushButton::clicked, this, &CTuningDlg::apply);
}

// Controls that do not apply to the frontend stay visible, disabled.
void CTuningDlg::enable_by_type() {
    const bool satellite = record_.type == frontend_dvb_s;
    const bool terrestrial = record_.type == frontend_dvb_t;
    if (terrestrial) {
        for (QWidget* widget :
             std::initializer_list<QWidget*>{fec_, symbol_rate_, symbol_rate_label_, qam_, qam_label_})
            widget->setEnabled(false);
    }
    if (satellite) {
        qam_->setEnabled(false);
        qam_label_->setEnabled(false);
    } else {
        disq_->setEnabled(false);
        polarity_->setEnabled(false);
        frequency_label_->setText(QStringLiteral("&Frequency (KHz):"));
    }
    if (device_.has_capability(can::auto_fec)) fec_->setEnabled(false);
    // The device has no 12 V output to switch.
    twelve_volt_->setEnabled(false);
    level_->setEnabled(device_.has_capability(can::level));
    quality_->setEnabled(device_.has_capability(can::quality));
    sync_->setEnabled(device_.has_capability(can::lock));
    if (device_.has_capability(can::auto_bandwidth)) {
        for (QWidget* widget : std::initializer_list<QWidget*>{bandwidth_label_, bandwidth_7_, bandwidth_8_})
            widget->setEnabled(false);
    }
    if (device_.has_capability(can::auto_inversion)) inversion_->setEnabled(false);
    delivery_->enable_for(device_);
}

void CTuningDlg::show_record() {
    delivery_->show(record_.delivery);
    if (record_.type == frontend_dvb_s) {
        frequency_->setText(QString::number(std::llround(record_.frequency * 1000)));
        symbol_rate_->setText(QString::number(record_.word_c));
        int fec = 0;
        for (int i = 0; i < fec_->count(); ++i)
            if (fec_entries[i].code != 0 && fec_entries[i].code == record_.word_b) fec = i;
        fec_->setCurrentIndex(fec);
        // Vertical and circular right share 13 V, horizontal and circular left 18 V.
        polarity_->setCurrentIndex(record_.word_a == 1 || record_.word_a == 3 ? 1 : 0);
        disq_->setCurrentIndex(record_.word_d < 4 ? static_cast<int>(record_.word_d) : 0);
        twelve_volt_->setCurrentIndex(record_.word_e != 0 ? 1 : 0);
        return;
    }
    frequency_->setText(QString::number(std::llround(record_.frequency * 1000)));
    inversion_->setChecked(record_.word_a == 0);
    std::uint32_t bandwidth = record_.word_c;
    if (record_.type == frontend_dvb_c) {
        symbol_rate_->setText(QString::number(record_.word_b / 1000));
        qam_->setCurrentIndex(record_.word_c < std::size(qam_entries) ? static_cast<int>(record_.word_c) : 0);
        bandwidth = record_.word_d;
    }
    bandwidth_7_->setChecked(bandwidth == bandwidth_7_mhz);
    bandwidth_8_->setChecked(bandwidth == bandwidth_8_mhz);
}

void CTuningDlg::show_signal() {
    if (device_.has_capability(can::level)) level_->setValue(static_cast<int>(device_.get_signal_level()));
    if (device_.has_capability(can::quality))
        quality_->setValue(static_cast<int>(device_.get_signal_quality()));
    if (device_.has_capability(can::lock)) sync_->setValue(device_.is_locked() ? 1 : 0);
    signal_statistics statistics;
    if (device_.read_statistics(statistics) != result::ok) return;
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    const error_rates& rates = rates_.add(
        statistics,
        static_cast<std::uint64_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count()));
    strength_->setText(QString::fromStdString(strength_text(statistics.strength_dbm)));
    cnr_->setText(QString::fromStdString(cnr_text(statistics.cnr_db)));
    ber_->setText(QString::fromStdString(rate_text(rates.pre_fec_ber)));
    post_ber_->setText(QString::fromStdString(rate_text(rates.post_fec_ber)));
    per_->setText(QString::fromStdString(rate_text(rates.block_error_rate)));
}

void CTuningDlg::apply() {
    if (record_.type == frontend_dvb_s)
        apply_satellite();
    else
        apply_cable_or_terrestrial();
}

void CTuningDlg::accept() {
    apply();
    CKestrelDialog::accept();
}

void CTuningDlg::apply_satellite() {
    record_.frequency = number(*frequency_) * 0.001;
    record_.word_c = whole_number(*symbol_rate_);
    record_.word_e = twelve_volt_->currentIndex() != 0 ? 1 : 0;
    record_.word_b = fec_entries[std::max(0, fec_->currentIndex())].code;
    record_.word_a = polarity_->currentIndex() != 0 ? 1 : 0;
    record_.word_d = static_cast<std::uint32_t>(std::max(0, disq_->currentIndex()));
    record_.delivery = delivery_->read();
    if (failed(device_.set_12v(static_cast<std::uint32_t>(record_.word_e))))
        show_message(this, QStringLiteral("Failed to set 12V"));
    std::uint32_t tuned = result::ok;
    {
        busy_cursor busy;
        if (record_.delivery == lib13818::Delivery{}) {
            tuned = device_.set_tuner(record_.frequency, record_.word_a, record_.word_b,
                                      static_cast<unsigned long>(record_.word_c) * 1000, record_.word_d);
        } else {
            // Only the record carries a delivery; it takes the symbol rate in symbols per second.
            TUNERPARM tuning = record_;
            tuning.word_c = static_cast<std::uint32_t>(
                std::min<std::uint64_t>(record_.word_c * 1000ULL, std::numeric_limits<std::uint32_t>::max()));
            tuned = device_.set_tuner(tuning);
        }
    }
    if (failed(tuned)) show_message(this, QStringLiteral("Failed to set tuner"));
}

void CTuningDlg::apply_cable_or_terrestrial() {
    record_.frequency = number(*frequency_) * 0.001;
    record_.delivery = delivery_->read();
    record_.word_a = device_.has_capability(can::auto_inversion) ? 2 : (inversion_->isChecked() ? 0 : 1);
    const std::uint32_t bandwidth = device_.has_capability(can::auto_bandwidth) ? bandwidth_auto
                                    : bandwidth_7_->isChecked()                 ? bandwidth_7_mhz
                                                                                : bandwidth_8_mhz;
    if (record_.type == frontend_dvb_c) {
        // The edit shows kilosymbols per second, the record holds symbols per second.
        record_.word_b = static_cast<std::int32_t>(std::min<std::uint64_t>(
            whole_number(*symbol_rate_) * 1000ULL, std::numeric_limits<std::int32_t>::max()));
        record_.word_c = static_cast<std::uint32_t>(std::max(0, qam_->currentIndex()));
        record_.word_d = bandwidth;
    } else {
        record_.word_c = bandwidth;
    }
    if (failed(device_.set_tuner(record_))) show_message(this, QStringLiteral("Failed to set tuner"));
}

}  // namespace kestrel::app
