#pragma once

// Described descriptors as JSON, from their descriptions alone: the standard's names in
// lower case, coded values as numbers with a "_name" beside them where the value has one,
// measured values in their unit (the key says which: frequency_hz), texts decoded with their
// bytes beside them under "_raw", bytes in hex, loops as arrays (of values, when their
// entries hold one value each). Length fields and reserved bits are left out.

#include <vector>

#include <nlohmann/json.hpp>

#include "lib13818/core/dvb_text.h"
#include "lib13818/fields/described_descriptor.h"

namespace kestrel::views {

nlohmann::ordered_json described_json(const lib13818::DescriptorDescribed& d,
                                      lib13818::dvb_text_decoder& text);
// One entry of a descriptor's loop, keyed as in the descriptor's own JSON.
nlohmann::ordered_json described_json(const lib13818::described_record& r,
                                      lib13818::dvb_text_decoder& text);

// One array per kind of `described`, kinds in tag order, under each kind's key in `descriptors`.
void put_described(nlohmann::ordered_json& descriptors,
                   const std::vector<lib13818::DescriptorDescribed>& described,
                   lib13818::dvb_text_decoder& text);

}  // namespace kestrel::views
