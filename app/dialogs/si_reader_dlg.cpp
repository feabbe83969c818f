#include "app/dialogs/si_reader_dlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "log/trace_log.h"
#include "scan/table_selection.h"

namespace kestrel::app {

namespace {

QString text(std::string_view s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

QLineEdit* read_only_edit(QWidget* parent) {
    auto* edit = new QLineEdit(parent);
    edit->setReadOnly(true);
    edit->setFocusPolicy(Qt::NoFocus);
    return edit;
}

}  // namespace

CSIReaderDlg::CSIReaderDlg(AllNetworks& networks, const ScanContext& context, scan_parts parts,
                           QWidget* parent)
    : worker_dialog(QStringLiteral("SI reading"), parent),
      networks_(networks),
      mode_(context.mode),
      progress_(*this),
      reader_(parts.device, parts.settings, parts.satellites, table_selection(parts.settings), progress_),
      network_ids_(read_only_edit(this)),
      transport_stream_(read_only_edit(this)),
      transponder_(read_only_edit(this)),
      stop_(new QPushButton(QStringLiteral("Stop scan"), this)),
      note_(new QLabel(this)) {
    build_layout();
}

CSIReaderDlg::~CSIReaderDlg() {
    progress_.stop_after_collection();
    cancel_and_join();
}

void CSIReaderDlg::build_layout() {
    auto* layout = new QVBoxLayout(this);
    auto* stream = new QGridLayout;
    stream->addWidget(new QLabel(QStringLiteral("NID / ORIG NID:"), this), 0, 0);
    stream->addWidget(network_ids_, 0, 1);
    stream->addWidget(new QLabel(QStringLiteral("TSID:"), this), 1, 0);
    stream->addWidget(transport_stream_, 1, 1);
    stream->addWidget(new QLabel(QStringLiteral("Trasnponder:"), this), 2, 0);
    stream->addWidget(transponder_, 2, 1);
    layout->addLayout(stream);

    auto* table = new QGridLayout;
    const QString headers[] = {QStringLiteral("SI type"), QStringLiteral("PID"),
                               QStringLiteral("Bytes read")};
    for (int column = 0; column < 3; ++column)
        table->addWidget(new QLabel(headers[column], this), 0, column);
    for (std::size_t row = 0; row < rows_.size(); ++row)
        for (int column = 0; column < 3; ++column) {
            rows_[row][column] = read_only_edit(this);
            table->addWidget(rows_[row][column], static_cast<int>(row) + 1, column);
        }
    layout->addLayout(table);
    layout->addWidget(note_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    buttons->addButton(stop_, QDialogButtonBox::ActionRole);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSIReaderDlg::reject);
    connect(stop_, &QPushButton::clicked, this, &CSIReaderDlg::stop_scan);
    layout->addWidget(buttons);
    setMinimumWidth(420);
}

int CSIReaderDlg::work() {
    return reader_.run(networks_, mode_);
}

// The collection in progress ends; the scan goes on with its next step (the reader logs it).
void CSIReaderDlg::cancel() {
    reader_.cancel();
}

// The scan ends after the collection in progress.
void CSIReaderDlg::stop_scan() {
    expect_gui_thread("CSIReaderDlg::stop_scan");
    global_trace().log(1, "CSIReaderDlg::stop_scan()");
    progress_.stop_after_collection();
    stop_->setEnabled(false);
}

void CSIReaderDlg::poll() {
    for (std::size_t row = 0; row < rows_.size(); ++row)
        if (row_shown_[row]) rows_[row][2]->setText(QString::number(progress_.bytes[row].load()));
}

void CSIReaderDlg::worker_ended(int) {
    global_trace().log(1, "CSIReaderDlg::OnEndDlg(%#x,%#x)", 0u, 0u);
}

void CSIReaderDlg::show_stream(const stream_texts& texts) {
    network_ids_->setText(text(texts.network_ids));
    transport_stream_->setText(text(texts.transport_stream));
    transponder_->setText(text(texts.transponder));
}

void CSIReaderDlg::show_row(int row, std::string_view name, int pid, std::int64_t bytes) {
    const auto index = static_cast<std::size_t>(row);
    row_shown_[index] = true;
    rows_[index][0]->setText(text(name));
    rows_[index][1]->setText(QStringLiteral("%1").arg(pid, 4, 16, QLatin1Char('0')).toUpper());
    rows_[index][2]->setText(QString::number(bytes));
}

void CSIReaderDlg::progress::show_stream(const stream_texts& texts) {
    dialog_.post([this, texts] { dialog_.show_stream(texts); });
}

void CSIReaderDlg::progress::add_row(int row, std::string_view name, int pid) {
    if (row < 0 || row >= row_count) return;
    // Before the row's filters start: its count begins at 0.
    bytes[static_cast<std::size_t>(row)].store(0);
    dialog_.post([this, row, name = std::string(name), pid] {
        dialog_.show_row(row, name, pid, bytes[static_cast<std::size_t>(row)].load());
    });
}

void CSIReaderDlg::progress::add_bytes(int row, std::int32_t length) {
    if (row >= 0 && row < row_count) bytes[static_cast<std::size_t>(row)].fetch_add(length);
}

void CSIReaderDlg::progress::clear_rows() {
    dialog_.post([this] {
        dialog_.row_shown_.fill(false);
        for (auto& row : dialog_.rows_)
            for (QLineEdit* edit : row)
                edit->clear();
    });
}

void CSIReaderDlg::progress::message(std::string_view message_text) {
    dialog_.post_message(text(message_text));
}

void CSIReaderDlg::progress::note(std::string_view note_text) {
    dialog_.post([this, line = text(note_text)] { dialog_.note_->setText(line); });
}

}  // namespace kestrel::app
