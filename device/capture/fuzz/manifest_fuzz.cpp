// Arbitrary bytes as a capture manifest: every line either parses or gives a one-line reason,
// and a line that parses carries a system of the manifest's frontend and a stream only where
// that system has streams.

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
    for (const kestrel::capture_transponder& t : manifest.transponders) {
        const bool named = t.system != lib13818::DeliverySystem::automatic;
        if (named && kestrel::frontend_type_of(t.system) != manifest.type) __builtin_trap();
        if (t.stream_id != lib13818::automatic &&
            (!lib13818::is_second_generation(t.system) || t.stream_id < 0 || t.stream_id > 255))
            __builtin_trap();
    }
    return 0;
}
