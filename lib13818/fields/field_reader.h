#pragma once

#include <cstdint>
#include <vector>

#include "lib13818/core/reader.h"
#include "lib13818/core/section.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// Decodes the descriptor that `d` spans exactly (tag byte first) by its description.
// `specifier` is the private_data_specifier in force in its loop (decoded_field's
// no_specifier when none is); its section offsets come from `d`'s origin.
//
// Faults never read outside `d` and never throw:
// - a descriptor shorter than its fixed part, or whose inner lengths (loops, counted
//   texts and bytes, sized groups) disagree with its length, is not decoded: false, with a
//   warning naming the descriptor and the field at fault;
// - a part that a flag (or another field) announces but the length leaves out keeps the
//   fields before it: true, with a warning saying what is missing.
// Bytes after the last described field are kept as "additional_bytes".
bool read_described(const description& what, reader d, std::uint64_t specifier, DescriptorDescribed& out,
                    std::vector<SectionWarning>& warnings);

}  // namespace lib13818
