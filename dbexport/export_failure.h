#pragma once

// How the export reports a failure: one text for a message box or standard error,
// "Error: <code>\nDesc: <description>\nSource: <source>", the code in hexadecimal.

#include <stdexcept>
#include <string>
#include <string_view>

namespace kestrel::dbexport {

std::string failure_text(long code, std::string_view description, std::string_view source);

// Thrown inside the export and caught at its edge, which returns the text.
class export_failure : public std::runtime_error {
  public:
    explicit export_failure(const std::string& text) : std::runtime_error(text) {}
};

// A failed system call: its errno, the system's text for it and "system".
[[noreturn]] void fail_with_errno(int error_number);

}  // namespace kestrel::dbexport
