#include "app/dialogs/settings_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QVBoxLayout>
#include <algorithm>

#include "settings/keys.h"

namespace kestrel::app {

namespace {

constexpr int highest_level = 3;

}  // namespace

CSettingsDlg::CSettingsDlg(settings_store& settings, QWidget* parent)
    : CKestrelDialog(QStringLiteral("Settings"), settings, parent), level_(new QComboBox(this)) {
    for (int i = 0; i <= highest_level; ++i)
        level_->addItem(QString::number(i));
    level_->setCurrentIndex(std::clamp(settings::read(settings_, settings::loglevel), 0, highest_level));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Log level"), level_);
    layout->addLayout(form);
    add_buttons(*layout);
}

void CSettingsDlg::accept() {
    settings::write(settings_, settings::loglevel, level_->currentIndex());
    CKestrelDialog::accept();
}

}  // namespace kestrel::app
