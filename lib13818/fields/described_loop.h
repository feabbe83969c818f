#pragma once

#include <cstdint>
#include <vector>

#include "lib13818/core/reader.h"
#include "lib13818/core/section.h"
#include "lib13818/descriptors/generic_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// The descriptors of one loop that its table does not decode into kinds of its own. Those
// the catalogue describes become DescriptorDescribed values in stream order; private ones
// (tags 0x80-0xFE) are read in the scope of the last private_data_specifier before them in
// the same loop. The others, and described ones too faulty to decode, stay generic; every
// fault adds a warning to the section. Make one per loop: the scope ends with it.
class described_loop {
  public:
    described_loop(std::vector<DescriptorGeneric>& general, std::vector<DescriptorDescribed>& described,
                   std::vector<SectionWarning>& warnings)
        : general_(general), described_(described), warnings_(warnings) {}

    // `d` spans exactly one descriptor, tag byte first.
    void add(reader d);

  private:
    std::vector<DescriptorGeneric>& general_;
    std::vector<DescriptorDescribed>& described_;
    std::vector<SectionWarning>& warnings_;
    std::uint64_t specifier_ = decoded_field::no_specifier;
};

}  // namespace lib13818
