#include "app/dialogs/lnb_disq_dlg.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

#include "app/message_box.h"
#include "device/card.h"
#include "startup/lnb_settings.h"

namespace kestrel::app {

namespace {

QLineEdit* khz_edit(std::uint32_t value, QWidget* parent) {
    auto* edit = new QLineEdit(QString::number(value), parent);
    edit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,10}")), edit));
    return edit;
}

}  // namespace

CLnbDisqDlg::CLnbDisqDlg(settings_store& settings, dvb_device& device, QWidget* parent)
    : CKestrelDialog(QStringLiteral("LNB/Disq configuration"), settings, parent), device_(device) {
    const LnbConfig stored = startup::load_lnb_settings(settings_, device_.get_frontend_type()).lnb;
    auto* layout = new QVBoxLayout(this);

    auto* disq = new QGroupBox(QStringLiteral("Disq"), this);
    auto* disq_layout = new QVBoxLayout(disq);
    auto* group = new QButtonGroup(this);
    const QString mode_texts[] = {QStringLiteral("&None"), QStringLiteral("&Simple (tone burst)"),
                                  QStringLiteral("&Version 1.0")};
    for (int i = 0; i < 3; ++i) {
        modes_[i] = new QRadioButton(mode_texts[i], disq);
        group->addButton(modes_[i], i);
        disq_layout->addWidget(modes_[i]);
    }
    modes_[std::min<std::uint32_t>(stored.diseqc_mode, diseqc_mode::committed)]->setChecked(true);
    layout->addWidget(disq);

    auto* lnb = new QGroupBox(QStringLiteral("LNB configuration"), this);
    auto* form = new QFormLayout(lnb);
    lof1_ = khz_edit(stored.lof1, lnb);
    switch_ = khz_edit(stored.switch_khz, lnb);
    lof2_ = khz_edit(stored.lof2, lnb);
    power_ = new QCheckBox(QStringLiteral("LNB &power"), lnb);
    power_->setChecked(stored.lnb_power);
    form->addRow(QStringLiteral("LOF &1 (kHz)"), lof1_);
    form->addRow(QStringLiteral("s&witch (kHz)"), switch_);
    form->addRow(QStringLiteral("LOF &2 (kHz)"), lof2_);
    form->addRow(power_);
    layout->addWidget(lnb);
    add_buttons(*layout);
}

std::optional<std::uint32_t> CLnbDisqDlg::read_khz(QLineEdit& edit, const QString& label) {
    bool ok = false;
    const qulonglong value = edit.text().toULongLong(&ok);
    if (ok && value >= 1 && value <= 4294967295ULL) return static_cast<std::uint32_t>(value);
    show_message(this, QStringLiteral("%1 must be a number from 1 to 4294967295.").arg(label));
    edit.setFocus();
    edit.selectAll();
    return std::nullopt;
}

// The channel is read back before anything changes: tuned again afterwards with the new
// LNB values, it stays the channel the user was watching.
void CLnbDisqDlg::accept() {
    const auto lof1 = read_khz(*lof1_, QStringLiteral("LOF 1 (kHz)"));
    if (!lof1) return;
    const auto switch_khz = read_khz(*switch_, QStringLiteral("switch (kHz)"));
    if (!switch_khz) return;
    const auto lof2 = read_khz(*lof2_, QStringLiteral("LOF 2 (kHz)"));
    if (!lof2) return;

    TUNERPARM current;
    const bool read_back = device_.get_tuner(current) == result::ok;
    const LnbConfig lnb{static_cast<std::uint32_t>(std::max(0, modes_[0]->group()->checkedId())), *lof1,
                        *lof2, *switch_khz, power_->isChecked()};
    startup::save_lnb_settings(settings_, device_.get_frontend_type(), lnb, nullptr);
    if (read_back) {
        device_.set_lnb_config(lnb);
        if (current.type == frontend_dvb_s) current.word_c *= 1000;  // read back in kilosymbols
        device_.set_tuner(current);
    } else {
        startup::restore_lnb_settings(settings_, device_);
    }
    CKestrelDialog::accept();
}

}  // namespace kestrel::app
