#pragma once

#include "epg/guide.h"
#include "lib13818/descriptors/component_descriptor.h"

namespace kestrel::epg {

// What a component descriptor says, by stream_content and component_type (ETSI EN 300 468
// V1.16.1 table 26): video aspect and definition, audio mode, subtitles; texts decoded by
// the caller.
component describe_component(int stream_content, int component_type);

}  // namespace kestrel::epg
