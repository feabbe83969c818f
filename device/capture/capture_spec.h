#pragma once

#include <memory>
#include <string>
#include <string_view>

#include "device/card.h"

namespace kestrel {

// The capture cards of the card choice: `capture:PATH[?OPTION&...]` (a capture file or a
// manifest) and `demo[?realtime]` (the demo network in the data folder).
//   a capture SPEC that opens: the card, error empty;
//   a capture SPEC that does not: null, error "SPEC: reason" on one line;
//   any other SPEC: null, error empty (not ours).
std::unique_ptr<card> open_capture_spec(std::string_view spec, std::string& error);

// The demo network's manifest: demo/demo.manifest beside the executable, else in the
// installed data folder. The first place when neither has it.
std::string demo_manifest_path();

}  // namespace kestrel
