// Arbitrary bytes as a capture manifest: every line either parses or gives a one-line reason.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "device/capture/manifest.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrel::capture_manifest manifest;
    const std::string error = kestrel::parse_manifest({reinterpret_cast<const char*>(data), size},
                                                      "fuzz.manifest", "/captures", manifest);
    if (error.empty() == manifest.transponders.empty()) __builtin_trap();
    if (error.find('\n') != std::string::npos) __builtin_trap();
    return 0;
}
