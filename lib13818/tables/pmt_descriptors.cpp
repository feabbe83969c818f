#include "lib13818/tables/pmt_descriptors.h"

#include "lib13818/fields/described_loop.h"

namespace lib13818 {

namespace {
template <class Kind>
void dump_all(std::ostream& out, const std::vector<Kind>& descriptors) {
    for (const Kind& d : descriptors)
        d.dump(out);
}
}  // namespace

void PmtDescriptors::read_loop(reader loop, loop_end rule, teletext_kind teletext_rule,
                               std::vector<SectionWarning>& warnings) {
    described_loop others(general, described, warnings);
    for_each_descriptor(loop, rule, [&](std::uint8_t tag, reader d) {
        switch (tag) {
            case DescriptorCA::tag:
                return void(CA.emplace_back(d));
            case DescriptorISO639Language::tag:
                return void(ISO_639_language.emplace_back(d));
            case DescriptorVideoStream::tag:
                return void(video_stream.emplace_back(d));
            case DescriptorAudioStream::tag:
                return void(audio_stream.emplace_back(d));
            case DescriptorCAIdentifier::tag:
                return void(CA_identifier.emplace_back(d));
            case DescriptorSTD::tag:
                return void(STD.emplace_back(d));
            case DescriptorPrivateDataIndicator::tag:
                return void(private_data_indicator.emplace_back(d));
            case DescriptorCopyright::tag:
                return void(copyright.emplace_back(d));
            case DescriptorStreamIdentifier::tag:
                return void(stream_identifier.emplace_back(d));
            case DescriptorTeletext::tag:
                if (teletext_rule == teletext_kind::decoded) return void(teletext.emplace_back(d));
                return void(general.emplace_back(d));
        }
        others.add(d);
    });
}

void PmtDescriptors::dump(std::ostream& out) const {
    dump_all(out, general);
    dump_all(out, CA);
    dump_all(out, ISO_639_language);
    dump_all(out, video_stream);
    dump_all(out, teletext);
    dump_all(out, audio_stream);
    dump_all(out, CA_identifier);
    dump_all(out, STD);
    dump_all(out, private_data_indicator);
    dump_all(out, copyright);
    dump_all(out, stream_identifier);
    dump_all(out, described);
}

}  // namespace lib13818
