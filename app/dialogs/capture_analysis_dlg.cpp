#include "app/dialogs/capture_analysis_dlg.h"

#include <QLabel>

namespace kestrel::app {

CCaptureAnalysisDlg::CCaptureAnalysisDlg(std::string path, const analysis::analysis_options& options,
                                         QWidget* parent)
    : worker_dialog(QStringLiteral("Analyse capture"), parent),
      path_(std::move(path)),
      options_(options),
      progress_(new QLabel(this)) {
    lay_out_waiting(QStringLiteral("Analysing %1. Please wait...").arg(QString::fromStdString(path_)),
                    progress_);
    poll();
}

CCaptureAnalysisDlg::~CCaptureAnalysisDlg() {
    cancel_and_join();
}

int CCaptureAnalysisDlg::work() {
    result_ =
        analysis::analyse_capture(path_, options_, stop_, [this](std::uint64_t read, std::uint64_t size) {
            read_.store(read, std::memory_order_relaxed);
            size_.store(size, std::memory_order_relaxed);
        });
    // A file that fails on the way still has a report of what was read.
    if (result_.error.empty() || result_.report.packets > 0) return 0;
    post_message(QString::fromStdString(result_.error));
    return 1;
}

void CCaptureAnalysisDlg::poll() {
    progress_->setText(
        QStringLiteral("%1 of %2 MiB read")
            .arg(static_cast<double>(read_.load(std::memory_order_relaxed)) / (1 << 20), 0, 'f', 1)
            .arg(static_cast<double>(size_.load(std::memory_order_relaxed)) / (1 << 20), 0, 'f', 1));
}

}  // namespace kestrel::app
