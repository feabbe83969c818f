#include "app/dialogs/lnb_config_dlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QVBoxLayout>

#include "settings/keys.h"

namespace kestrel::app {

CLnbConfigDlg::CLnbConfigDlg(settings_store& settings, const CSatelliteList& satellites, QWidget* parent)
    : CKestrelDialog(QStringLiteral("LNB config"), settings, parent) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    for (int n = 0; n < positions; ++n) {
        used_[n] = new QCheckBox(QStringLiteral("LNB &%1").arg(n + 1), this);
        satellite_[n] = new QComboBox(this);
        satellite_[n]->setMinimumContentsLength(24);
        for (const auto& [name, transponders] : satellites.satellites())
            satellite_[n]->addItem(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        grid->addWidget(used_[n], n, 0);
        grid->addWidget(satellite_[n], n, 1);
        connect(used_[n], &QCheckBox::toggled, satellite_[n], &QWidget::setEnabled);
        show_stored(n);
    }
    layout->addLayout(grid);
    add_buttons(*layout);
}

// The stored satellite of a position: the list's entry of that name, the same name in
// other letter case, else the stored name as an entry of its own, so that OK keeps it.
void CLnbConfigDlg::show_stored(int position) {
    const std::string stored = settings::read(settings_, settings::lnb_satellite[position]);
    QComboBox& list = *satellite_[position];
    const bool in_use = !stored.empty();
    used_[position]->setChecked(in_use);
    list.setEnabled(in_use);
    if (!in_use) return;
    const QString name = QString::fromLatin1(stored.data(), static_cast<qsizetype>(stored.size()));
    int index = list.findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (index < 0) index = list.findText(name, Qt::MatchFixedString);
    if (index < 0) {
        list.addItem(name);
        index = list.count() - 1;
    }
    list.setCurrentIndex(index);
}

void CLnbConfigDlg::accept() {
    for (int n = 0; n < positions; ++n) {
        const std::string name =
            used_[n]->isChecked() ? satellite_[n]->currentText().toLatin1().toStdString() : "";
        settings::write(settings_, settings::lnb_satellite[n], name);
    }
    CKestrelDialog::accept();
}

}  // namespace kestrel::app
