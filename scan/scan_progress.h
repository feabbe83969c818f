#pragma once

// The progress of a scan as the person watching it sees it: which transport stream is read
// (its network ids, transport_stream_id and tuning), the up to four rows of the collection
// in progress (table name, PID, bytes read), messages, and the end. The desktop program's
// scan dialog and kestrel-cli's scan command implement it.
//
// Conventions:
// - The scan calls show_stream, add_row, clear_rows, message and done from the one thread
//   it runs on (the scan worker). A dialog hands them on to its own thread (a queued
//   signal); none of them may wait for that thread.
// - add_bytes runs on the card's delivery thread, once per delivery of a row's filters,
//   concurrently with the worker. It must be lock-free or hold a lock only briefly, never
//   wait for another thread (the device's stop of all filters waits for running
//   deliveries) and stay race-free: keep the counts in atomics and let a timer read them.
// - Rows are numbered 0..3 per collection; add_row gives a row its name and PID with a
//   count of 0; clear_rows ends the collection, after which no add_bytes of its rows comes.
// - message carries a text to show the user ("Failed to read NIT"); the scan never shows
//   anything itself. note carries a step of a NIT walk (the tuning tried, an entry
//   skipped): a line of progress, never a message to confirm; ignored by default.
// - done comes exactly once per scan, last, with the scan's exit code.
// - stop_after_collection (any thread, the user's "Stop scan" or Ctrl-C) asks the scan to
//   end at its next step: the collection in progress runs on (unless it is cancelled as
//   well), the transport stream in progress is added with what it has, the tuning in
//   force before the scan is restored.

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// The three texts of the transport stream in progress, empty while it is not known.
struct stream_texts {
    std::string network_ids;       // "%04X / %04X": network_id, original_network_id
    std::string transport_stream;  // "%04X": transport_stream_id
    std::string transponder;       // the transponder's short label
};

class scan_progress {
  public:
    static constexpr int row_count = 4;

    virtual ~scan_progress() = default;

    virtual void show_stream(const stream_texts& texts) = 0;
    virtual void add_row(int row, std::string_view name, int pid) = 0;
    // On the card's delivery thread.
    virtual void add_bytes(int row, std::int32_t length) = 0;
    virtual void clear_rows() = 0;
    virtual void message(std::string_view text) = 0;
    virtual void note(std::string_view) {}
    virtual void done(int exit_code) = 0;

    void stop_after_collection() { stop_.store(true); }
    bool stop_wanted() const { return stop_.load(); }

  private:
    std::atomic<bool> stop_{false};
};

}  // namespace kestrel
