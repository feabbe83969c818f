#pragma once

// The progress of a PID recording while it runs: the bytes read (and, for one PID, the
// transfer rate), polled from the recording's counters; Cancel stops the recording; once it
// has ended, each PID that failed is said in one message naming the PID and its file. The
// dialog closes itself when the recording ends.
//
// The recording is the owner's: constructed before the dialog and destroyed after it, not
// started yet. The dialog's worker starts it and waits for its end.

#include "app/dialogs/worker_dialog.h"
#include "streaming/recording.h"

class QGridLayout;
class QLabel;
class QPushButton;

namespace kestrel::app {

class recording_progress : public worker_dialog {
  public:
    ~recording_progress() override;

    QLabel& bytes_read() { return *bytes_; }
    QPushButton& cancel_button() { return *cancel_; }

  protected:
    recording_progress(const QString& title, streaming::recording& recording, QWidget* parent);
    // The rows of labels and values, for a row of a derived dialog.
    QGridLayout& rows() { return *rows_; }
    void poll() override;

  private:
    int work() override;
    void cancel() override;

    streaming::recording& recording_;
    QGridLayout* rows_;
    QLabel* bytes_;
    QPushButton* cancel_;
};

// "Streaming": one PID recorded into one file.
class CPIDStreamingRawDlg final : public recording_progress {
  public:
    CPIDStreamingRawDlg(streaming::single_pid_recording& recording, QWidget* parent);

    QLabel& transfer_rate() { return *rate_; }

  private:
    void poll() override;

    const streaming::single_pid_recording& single_;
    QLabel* rate_;
};

// "Multiple PID streaming": up to 32 PIDs, each into its own file.
class CMulPIDStreamingRawDlg final : public recording_progress {
  public:
    CMulPIDStreamingRawDlg(streaming::multi_pid_recording& recording, QWidget* parent);
};

}  // namespace kestrel::app
