#include "app/dialogs/pid_streaming_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <cstdio>

#include "app/dialogs/dialog_rows.h"
#include "app/dialogs/recording_progress.h"
#include "app/stream_file.h"

namespace kestrel::app {

namespace {

// Multiples of the 188-byte transport packet.
constexpr const char* buffer_sizes[] = {"188",  "376",   "752",   "1504", "3008",
                                        "6016", "12032", "24064", "48128"};
constexpr int first_buffer = 5;  // "6016"
constexpr int pids_per_row = 4;

}  // namespace

CPIDStreamingDlg::CPIDStreamingDlg(const views::pid_list& pids, dvb_device& device, settings_store& settings,
                                   file_chooser& files, QWidget* parent)
    : CKestrelDialog(QStringLiteral("Mutiple PID streaming"), settings, parent),
      device_(device),
      files_(files),
      base_name_(read_stream_file(settings, settings::mulpidfile)),
      pids_(pids),
      base_edit_(new QLineEdit(base_name_, this)),
      buffer_combo_(choice_list(buffer_sizes, first_buffer, *this)) {
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Base file name:"), browse_row(*base_edit_, *this, [this] { browse(); }));
    form->addRow(QStringLiteral("DVB buffer"), buffer_combo_);

    auto* grid = new QGridLayout;
    for (std::size_t i = 0; i < pid_edits_.size(); ++i) {
        pid_edits_[i] = new QLineEdit(this);
        pid_edits_[i]->setAccessibleName(QStringLiteral("PID %1").arg(i + 1));
        grid->addWidget(pid_edits_[i], static_cast<int>(i) / pids_per_row,
                        static_cast<int>(i) % pids_per_row);
    }
    show_pids();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(grid);
    QDialogButtonBox* buttons = add_buttons(*layout, QDialogButtonBox::Close);
    QPushButton* reset = buttons->addButton(QStringLiteral("Reset filter"), QDialogButtonBox::ResetRole);
    QPushButton* start_button = buttons->addButton(QStringLiteral("Start..."), QDialogButtonBox::ActionRole);
    connect(reset, &QPushButton::clicked, this, &CPIDStreamingDlg::reset_filter);
    connect(start_button, &QPushButton::clicked, this, &CPIDStreamingDlg::start);
}

void CPIDStreamingDlg::show_pids() {
    for (std::size_t i = 0; i < pids_.size(); ++i)
        pid_edits_[i]->setText(QString::asprintf("%04x", static_cast<unsigned>(pids_[i])));
}

void CPIDStreamingDlg::reset_filter() {
    pids_.fill(views::null_pid);
    show_pids();
}

void CPIDStreamingDlg::browse() {
    const QString chosen = files_.save_file(
        {base_name_,
         QStringLiteral("ts"),
         {QStringLiteral("Transport streams (*.ts)"), QStringLiteral("binary files (*.bin)")}},
        this);
    if (chosen.isEmpty()) return;
    base_name_ = chosen;
    base_edit_->setText(base_name_);
}

// As the C library's "%4x" reads: blanks skipped, at most four hexadecimal digits.
void CPIDStreamingDlg::read_pids() {
    for (std::size_t i = 0; i < pids_.size(); ++i) {
        unsigned value = 0;
        if (std::sscanf(pid_edits_[i]->text().toLatin1().constData(), "%4x", &value) == 1)
            pids_[i] = static_cast<std::int32_t>(value);
    }
}

void CPIDStreamingDlg::start() {
    read_pids();
    base_name_ = base_edit_->text();
    streaming::multi_pid_recording recording(device_, base_name_.toStdString(), pids_);
    CMulPIDStreamingRawDlg(recording, this).exec();
    write_stream_file(settings_, settings::mulpidfile, base_name_);
}

}  // namespace kestrel::app
