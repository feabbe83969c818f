#pragma once

#include <cstdint>

#include "lib13818/descriptors/service_descriptor.h"
#include "model/section_maps.h"

namespace kestrel::views {

// The first service descriptor of the first service `service_id` of onid/tsid in `sdts`
// that has one: sections in key order, services in loop order. Null when there is none.
const lib13818::DescriptorService* find_service(const SdtMap& sdts, std::int32_t onid, std::int32_t tsid,
                                                std::int32_t service_id);

}  // namespace kestrel::views
