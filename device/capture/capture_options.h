#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

// What a capture SPEC asks for: `capture:PATH[?OPTION[&OPTION]...]` with the options
// `realtime` (pace the replay to the stream clock) and, for a single capture file,
// `dvb-c` or `dvb-t` (its frontend; DVB-S otherwise).
struct capture_options {
    std::string path;
    bool realtime = false;
    std::int32_t frontend = 0;  // 0: the manifest's, or DVB-S for a single capture
};

// Reads the part of a SPEC after "capture:" (or a demo path with its options):
// "" or a one-line reason.
std::string parse_capture_options(std::string_view text, capture_options& out);

// True when path names a single capture rather than a manifest: a transport stream file
// name (.ts, .m2ts, .mts, .trp, .tp) or a file whose first bytes are a transport stream.
bool is_single_capture(const std::string& path);

}  // namespace kestrel
