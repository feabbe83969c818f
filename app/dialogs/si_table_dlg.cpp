#include "app/dialogs/si_table_dlg.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLineEdit>
#include <QVBoxLayout>
#include <bit>
#include <climits>

#include "app/message_box.h"
#include "settings/keys.h"

namespace kestrel::app {

namespace {

struct table_box {
    std::uint32_t bit;
    const char* text;
};

// The tables grouped by the PID they come on, as the boxes stand.
struct pid_group {
    const char* title;
    std::initializer_list<table_box> tables;
};

const pid_group groups[] = {
    {"PIDs 0x00, 0x01, 0x13 and the PMTs",
     {{0x0001, "&PAT - (0x00)"},
      {0x0002, "&CAT - (0x01)"},
      {0x0008, "P&MT - (0x02)"},
      {0x1000, "&RST - (0x71)"}}},
    {"PID 0x10", {{0x0010, "&NIT - actual network (0x40)"}, {0x0020, "NIT - &other network (0x41)"}}},
    {"PID 0x11",
     {{0x0400, "&SDT - actual transport stream (0x42)"},
      {0x0800, "SDT - other &transport stream (0x46)"},
      {0x0004, "&BAT - (0x4a)"}}},
    {"PID 0x12",
     {{0x0040, "&EIT - actual transport stream , present/following (0x4e)"},
      {0x0080, "EIT - other transport stream , present/&following (0x4f)"},
      {0x0100, "EIT - actual transport stream , sc&hedule (0x50 - 0x5f)"},
      {0x0200, "EIT - other transport stream , sched&ule (0x60 - 0x6f)"}}},
    {"PID 0x14", {{0x2000, "TDT - (0x&70)"}, {0x4000, "TOT - (0x7&3)"}}},
};

// A bit reads with itself as the default: with nothing stored every table is read.
bool table_enabled(settings_store& settings, std::uint32_t bit) {
    const auto mask = static_cast<std::uint32_t>(
        settings.read_int(settings::table, settings::enable, static_cast<std::int32_t>(bit)));
    return (mask & bit) != 0;
}

}  // namespace

CSITableDlg::CSITableDlg(settings_store& settings, QWidget* parent)
    : CKestrelDialog(QStringLiteral("SI table configuration"), settings, parent),
      delay_(new QLineEdit(this)) {
    auto* layout = new QVBoxLayout(this);
    auto* grid = new QGridLayout;
    int column = 0, row = 0;
    for (const pid_group& group : groups) {
        auto* box = new QGroupBox(QString::fromLatin1(group.title), this);
        auto* box_layout = new QVBoxLayout(box);
        for (const table_box& table : group.tables) {
            QCheckBox*& check = boxes_[std::countr_zero(table.bit)];
            check = new QCheckBox(QString::fromLatin1(table.text), box);
            check->setChecked(table_enabled(settings_, table.bit));
            box_layout->addWidget(check);
        }
        grid->addWidget(box, row, column);
        if (++column == 2) {
            column = 0;
            ++row;
        }
    }
    layout->addLayout(grid);
    delay_->setValidator(new QIntValidator(0, INT_MAX, delay_));
    delay_->setText(QString::number(settings::read(settings_, settings::readdelay)));
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("&Delay between PID stream reads(ms):"), delay_);
    layout->addLayout(form);
    add_buttons(*layout);
}

QCheckBox& CSITableDlg::table(std::uint32_t bit) {
    return *boxes_[std::countr_zero(bit)];
}

void CSITableDlg::accept() {
    bool ok = false;
    const int delay = delay_->text().toInt(&ok);
    if (!ok || delay < 0) {
        show_message(this, QStringLiteral("Please enter an integer."));
        delay_->setFocus();
        return;
    }
    std::uint32_t mask = 0;
    for (int bit = 0; bit < table_count; ++bit)
        if (boxes_[bit]->isChecked()) mask |= 1U << bit;
    settings_.write_int(settings::table, settings::enable, static_cast<std::int32_t>(mask));
    settings::write(settings_, settings::readdelay, delay);
    CKestrelDialog::accept();
}

}  // namespace kestrel::app
