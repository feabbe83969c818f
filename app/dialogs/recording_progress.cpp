#include "app/dialogs/recording_progress.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel::app {

namespace {

QString failures(const std::vector<streaming::pid_outcome>& outcomes) {
    QStringList lines;
    for (const streaming::pid_outcome& o : outcomes) {
        if (o.error.empty()) continue;
        const QString error = QString::fromStdString(o.error);
        // A refused entry of the PID list has no PID of its own; its text names it.
        lines << (o.pid == streaming::empty_pid ? error : QString::asprintf("PID 0x%04X: ", o.pid) + error);
    }
    return lines.join(QLatin1Char('\n'));
}

QLabel* add_row(QGridLayout& rows, const QString& label, const QString& value) {
    const int row = rows.rowCount();
    rows.addWidget(new QLabel(label), row, 0);
    auto* shown = new QLabel(value);
    shown->setMinimumWidth(shown->fontMetrics().horizontalAdvance(QStringLiteral("000000000000 kb/s")));
    rows.addWidget(shown, row, 1);
    return shown;
}

}  // namespace

recording_progress::recording_progress(const QString& title, streaming::recording& recording, QWidget* parent)
    : worker_dialog(title, parent), recording_(recording), rows_(new QGridLayout) {
    bytes_ = add_row(*rows_, QStringLiteral("Bytes read:"), QStringLiteral("0"));
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    connect(cancel_, &QPushButton::clicked, this, &recording_progress::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(rows_);
    layout->addWidget(cancel_, 0, Qt::AlignCenter);
}

// A dialog destroyed while its recording runs stops it, so that the worker can be joined.
recording_progress::~recording_progress() {
    if (worker_running()) recording_.cancel();
}

int recording_progress::work() {
    recording_.start();
    recording_.join();
    if (const QString text = failures(recording_.outcomes()); !text.isEmpty()) post_message(text);
    return 0;
}

void recording_progress::cancel() {
    recording_.cancel();
}

void recording_progress::poll() {
    bytes_->setText(QString::number(recording_.bytes_read()));
}

CPIDStreamingRawDlg::CPIDStreamingRawDlg(streaming::single_pid_recording& recording, QWidget* parent)
    : recording_progress(QStringLiteral("Streaming"), recording, parent), single_(recording) {
    rate_ = add_row(rows(), QStringLiteral("Transfer rate:"), QStringLiteral("0 kb/s"));
}

void CPIDStreamingRawDlg::poll() {
    recording_progress::poll();
    rate_->setText(QString::fromStdString(streaming::rate_text(single_.rate())));
}

CMulPIDStreamingRawDlg::CMulPIDStreamingRawDlg(streaming::multi_pid_recording& recording, QWidget* parent)
    : recording_progress(QStringLiteral("Multiple PID streaming"), recording, parent) {}

}  // namespace kestrel::app
