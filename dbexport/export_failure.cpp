#include "dbexport/export_failure.h"

#include <cstdio>
#include <cstring>

namespace kestrel::dbexport {

std::string failure_text(long code, std::string_view description, std::string_view source) {
    char number[24];
    std::snprintf(number, sizeof number, "%#lx", static_cast<unsigned long>(code));
    std::string text = "Error: ";
    text += number;
    text += "\nDesc: ";
    text += description;
    text += "\nSource: ";
    text += source;
    return text;
}

void fail_with_errno(int error_number) {
    throw export_failure(failure_text(error_number, std::strerror(error_number), "system"));
}

}  // namespace kestrel::dbexport
