#pragma once

#include <ostream>
#include <vector>

#include "lib13818/core/reader.h"
#include "lib13818/core/section.h"
#include "lib13818/descriptors/audio_stream_descriptor.h"
#include "lib13818/descriptors/ca_descriptor.h"
#include "lib13818/descriptors/ca_identifier_descriptor.h"
#include "lib13818/descriptors/copyright_descriptor.h"
#include "lib13818/descriptors/generic_descriptor.h"
#include "lib13818/descriptors/iso639_language_descriptor.h"
#include "lib13818/descriptors/private_data_indicator_descriptor.h"
#include "lib13818/descriptors/std_descriptor.h"
#include "lib13818/descriptors/stream_identifier_descriptor.h"
#include "lib13818/descriptors/teletext_descriptor.h"
#include "lib13818/descriptors/video_stream_descriptor.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// The descriptors of one PMT loop (the program's or an elementary stream's), one sequence
// per decoded kind in stream order; the described ones in `described`, every other tag in
// `general`.
struct PmtDescriptors {
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorCA> CA;
    std::vector<DescriptorISO639Language> ISO_639_language;
    std::vector<DescriptorVideoStream> video_stream;
    std::vector<DescriptorTeletext> teletext;  // elementary stream loops only
    std::vector<DescriptorAudioStream> audio_stream;
    std::vector<DescriptorCAIdentifier> CA_identifier;
    std::vector<DescriptorSTD> STD;
    std::vector<DescriptorPrivateDataIndicator> private_data_indicator;
    std::vector<DescriptorCopyright> copyright;
    std::vector<DescriptorStreamIdentifier> stream_identifier;
    std::vector<DescriptorDescribed> described;

    // Whether a loop decodes teletext descriptors; the program loop keeps them generic.
    enum class teletext_kind { generic, decoded };

    // Decodes the loop into the sequences; what a described descriptor's faults leave out
    // is a warning of the section.
    void read_loop(reader loop, loop_end rule, teletext_kind teletext_rule,
                   std::vector<SectionWarning>& warnings);
    // The dumps of every descriptor, kind by kind.
    void dump(std::ostream& out) const;
};

}  // namespace lib13818
