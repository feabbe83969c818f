#pragma once

#include <QString>
#include <array>
#include <atomic>
#include <cstdint>

#include "app/dialogs/worker_dialog.h"
#include "model/scan_result.h"
#include "scan/scan_progress.h"
#include "scan/si_reader.h"

class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrel::app {

// What a scan runs on.
struct scan_parts {
    dvb_device& device;
    settings_store& settings;
    const CSatelliteList& satellites;
};

// "SI reading": runs one scan (the mode of the context) on its worker and shows the
// transport stream being read and the rows of the collection in progress. Cancel (and
// Escape, and closing the window) ends the collection in progress only; "Stop scan" ends
// the whole scan after it. exec() returns the scan's exit code.
class CSIReaderDlg : public worker_dialog {
  public:
    CSIReaderDlg(AllNetworks& networks, const ScanContext& context, scan_parts parts, QWidget* parent);
    ~CSIReaderDlg() override;

    // The tables the last transport stream scanned went without ("" when it had all).
    const std::string& missing_tables() const { return reader_.missing_tables(); }

    // What the progress shows, on the GUI thread: the transport stream being read, and one
    // row of the collection in progress with its bytes so far.
    void show_stream(const stream_texts& texts);
    void show_row(int row, std::string_view name, int pid, std::int64_t bytes);

    QLineEdit& network_ids() { return *network_ids_; }
    QLineEdit& transport_stream() { return *transport_stream_; }
    QLineEdit& transponder() { return *transponder_; }
    // Row 0..3, column 0 "SI type", 1 "PID", 2 "Bytes read".
    QLineEdit& row_edit(int row, int column) { return *rows_[static_cast<std::size_t>(row)][column]; }
    QPushButton& stop_button() { return *stop_; }
    // The last step of a NIT walk: the tuning tried, an entry skipped.
    QLabel& note_line() { return *note_; }

  protected:
    int work() override;
    void cancel() override;
    void poll() override;
    void worker_ended(int exit_code) override;

  private:
    // The scan's progress, handed on to the GUI thread; the byte counts kept in atomics.
    class progress final : public scan_progress {
      public:
        explicit progress(CSIReaderDlg& dialog) : dialog_(dialog) {}
        void show_stream(const stream_texts& texts) override;
        void add_row(int row, std::string_view name, int pid) override;
        void add_bytes(int row, std::int32_t length) override;
        void clear_rows() override;
        void message(std::string_view text) override;
        void note(std::string_view text) override;
        void done(int) override {}

        std::array<std::atomic<std::int64_t>, row_count> bytes{};

      private:
        CSIReaderDlg& dialog_;
    };

    void build_layout();
    void stop_scan();

    AllNetworks& networks_;
    const std::int32_t mode_;
    progress progress_;
    si_reader reader_;
    QLineEdit* network_ids_;
    QLineEdit* transport_stream_;
    QLineEdit* transponder_;
    std::array<std::array<QLineEdit*, 3>, scan_progress::row_count> rows_{};
    std::array<bool, scan_progress::row_count> row_shown_{};  // GUI thread only
    QPushButton* stop_;
    QLabel* note_;
};

}  // namespace kestrel::app
