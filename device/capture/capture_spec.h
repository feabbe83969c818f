#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "device/card.h"

namespace kestrel {

// The capture cards of the card choice: `capture:PATH[?OPTION&...]` (a capture file or a
// manifest) and `demo[?realtime][&dvb-c|&dvb-t]` (the demo network, whose manifest the
// caller found in the data folder; dvb-c and dvb-t play its cable and terrestrial networks,
// demo-dvb-c.manifest and demo-dvb-t.manifest beside it).
//   a capture SPEC that opens: the card, error empty;
//   a capture SPEC that does not: null, error the one-line reason;
//   any other SPEC: null, error empty (not ours).
std::unique_ptr<card> open_capture_spec(std::string_view spec, const std::string& demo_manifest,
                                        std::string& error);

// Where the demo network's manifest lies inside a data folder.
inline constexpr const char* demo_manifest_file = "demo/demo.manifest";

}  // namespace kestrel
