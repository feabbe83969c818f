#include "app/dialogs/single_pid_streaming_dlg.h"

#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/dialogs/dialog_rows.h"
#include "app/dialogs/recording_progress.h"
#include "app/stream_file.h"
#include "log/trace_log.h"

namespace kestrel::app {

namespace {

constexpr const char* modes[] = {"adaption_field",    "headers_incl_adapt_and_PES", "ES_Data",
                                 "TS_Packet_payload", "PES_headers_only",           "adaption_fields",
                                 "entire_packet"};
constexpr const char* buffer_sizes[] = {"100", "200", "400", "800", "1000", "2000", "4000", "8000", "10000"};
constexpr int first_buffer = 5;  // "2000": 8192 bytes

}  // namespace

CSinglePIDStreamingDlg::CSinglePIDStreamingDlg(int pid, dvb_device& device, settings_store& settings,
                                               file_chooser& files, QWidget* parent)
    : CKestrelDialog(QStringLiteral("PID Streaming"), settings, parent),
      device_(device),
      files_(files),
      file_name_(read_stream_file(settings, settings::pidfile)),
      pid_(pid),
      pid_edit_(new QLineEdit(QString::asprintf("%04X", static_cast<unsigned>(pid)), this)),
      mode_combo_(choice_list(modes, mode_, *this)),
      file_edit_(new QLineEdit(file_name_, this)),
      buffer_combo_(choice_list(buffer_sizes, first_buffer, *this)) {
    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("PID:"), pid_edit_);
    form->addRow(QStringLiteral("Mode"), mode_combo_);
    form->addRow(QStringLiteral("File"), browse_row(*file_edit_, *this, [this] { browse(); }));
    form->addRow(QStringLiteral("DVB buffer size (hex)"), buffer_combo_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(new QLabel(QStringLiteral("Above values in HEX"), this));
    QDialogButtonBox* buttons = add_buttons(*layout, QDialogButtonBox::Close);
    QPushButton* start_button = buttons->addButton(QStringLiteral("Start"), QDialogButtonBox::ActionRole);
    connect(start_button, &QPushButton::clicked, this, &CSinglePIDStreamingDlg::start);
}

void CSinglePIDStreamingDlg::browse() {
    const QString chosen = files_.save_file({file_name_, QStringLiteral("bin"), {}}, this);
    if (chosen.isEmpty()) return;
    file_name_ = chosen;
    file_edit_->setText(file_name_);
}

void CSinglePIDStreamingDlg::read_controls() {
    bool ok = false;
    if (const int pid = pid_edit_->text().trimmed().toInt(&ok, 16); ok) pid_ = pid;
    if (const int size = buffer_combo_->currentText().toInt(&ok, 16); ok) buffer_size_ = size;
    file_name_ = file_edit_->text();
    if (const int mode = mode_combo_->currentIndex(); mode >= 0 && mode < std::ssize(modes)) mode_ = mode;
}

void CSinglePIDStreamingDlg::start() {
    read_controls();
    global_trace().log(0, "calling CPIDStreamingRawDlg::DoModal()");
    write_stream_file(settings_, settings::pidfile, file_name_);
    streaming::single_pid_recording recording(device_, file_name_.toStdString(), pid_, buffer_size_);
    CPIDStreamingRawDlg(recording, this).exec();
    global_trace().log(0, "called CPIDStreamingRawDlg::DoModal()");
}

}  // namespace kestrel::app
