#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <string>

#include "scan/scan_progress.h"

namespace kestrel::cli {

// The scan's progress as lines: the transport stream when it is known, one line per
// collection with its rows' final byte counts (unless quiet), every message, and the
// notes of a NIT walk unless quiet.
class scan_progress_printer final : public scan_progress {
  public:
    scan_progress_printer(std::FILE* out, bool quiet) : out_(out), quiet_(quiet) {}

    void show_stream(const stream_texts& texts) override;
    void add_row(int row, std::string_view name, int pid) override;
    void add_bytes(int row, std::int32_t length) override;
    void clear_rows() override;
    void message(std::string_view text) override;
    void note(std::string_view text) override {
        if (!quiet_) message(text);
    }
    void done(int) override {}

  private:
    struct row {
        std::string name;
        int pid = 0;
    };

    std::FILE* out_;
    bool quiet_;
    std::array<row, row_count> rows_;
    int used_ = 0;
    std::array<std::atomic<std::uint64_t>, row_count> bytes_{};
};

}  // namespace kestrel::cli
