#pragma once

#include <cstdint>

namespace kestrel::startup {

// The program's version, compiled in from the project version ("0.1.0"), and its build
// number, the version's fourth component.
const char* version_text();
std::uint32_t build_number();

}  // namespace kestrel::startup
