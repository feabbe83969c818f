#pragma once

#include <cstdint>

namespace kestrel {

// Addresses in log lines are printed whole, "%#lx", whatever the pointer width.
inline unsigned long log_address(const void* p) {
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(p));
}
inline unsigned long log_address(void (*f)(void*, std::int32_t, const std::uint8_t*)) {
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(f));
}

}  // namespace kestrel
