#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// A log's output file: owns the descriptor, writes each line with one system call (so a
// crash loses nothing already written and O_APPEND writers never tear each other's lines).
class log_file {
  public:
    log_file() = default;
    ~log_file() { close(); }
    log_file(const log_file&) = delete;
    log_file& operator=(const log_file&) = delete;

    // Opens or creates `path` for writing: appended to, or emptied when `truncate`.
    bool open(const std::string& path, bool truncate);
    bool is_open() const { return fd_ >= 0; }
    // True when the file holds no bytes.
    bool is_empty() const;
    // Write errors are ignored: a log never stops the program.
    void write(std::string_view line) const;
    void close();

  private:
    int fd_ = -1;
};

}  // namespace kestrel
