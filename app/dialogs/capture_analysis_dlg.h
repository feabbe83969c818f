#pragma once

#include <atomic>
#include <cstdint>
#include <string>

#include "analysis/capture_analysis.h"
#include "app/dialogs/worker_dialog.h"

class QLabel;

namespace kestrel::app {

// "Analyse capture...": analyses the capture file on its worker in one pass, showing how
// much has been read, until the end of the file or Cancel (the report then covers what was
// read). exec() returns 0 with a report, 1 after a message when the file could not be read.
class CCaptureAnalysisDlg final : public worker_dialog {
  public:
    CCaptureAnalysisDlg(std::string path, const analysis::analysis_options& options, QWidget* parent);
    ~CCaptureAnalysisDlg() override;

    const analysis::capture_analysis& result() const { return result_; }
    QLabel& progress() { return *progress_; }

  private:
    int work() override;
    void cancel() override { stop_ = true; }
    void poll() override;

    const std::string path_;
    const analysis::analysis_options options_;
    analysis::capture_analysis result_;
    std::atomic<bool> stop_{false};
    std::atomic<std::uint64_t> read_{0};
    std::atomic<std::uint64_t> size_{0};
    QLabel* progress_;
};

}  // namespace kestrel::app
