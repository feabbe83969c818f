#pragma once

// A new file written beside its target and renamed over it only once complete. Until
// commit() succeeds, destroying the object removes the temporary file and its SQLite
// journal, so a failure never leaves half a file and never touches an existing target.

#include <functional>
#include <ostream>
#include <string>

namespace kestrel::dbexport {

class replacement_file {
  public:
    // Creates the empty temporary file in the target's folder; a failure throws
    // export_failure with errno's text.
    explicit replacement_file(std::string target);
    ~replacement_file();
    replacement_file(const replacement_file&) = delete;
    replacement_file& operator=(const replacement_file&) = delete;

    const std::string& path() const { return temporary_; }

    // Flushes the temporary file to the disk, renames it over the target and flushes the
    // folder, so the new name survives a crash.
    void commit();

  private:
    std::string target_;
    std::string temporary_;
    bool committed_ = false;
};

// Writes a whole file at `path` through `write`, by way of a replacement file: "" or the
// reason it failed, and then nothing of it is left.
std::string write_whole_file(const std::string& path, const std::function<void(std::ostream&)>& write);

}  // namespace kestrel::dbexport
