#include <gtest/gtest.h>

#include "device/card.h"
#include "lib13818/core/reader.h"
#include "scan/nit_tunings.h"
#include "tools/encode/descriptors.h"

namespace kestrel {
namespace {

encode::bytes join(std::initializer_list<encode::bytes> parts) {
    encode::bytes out;
    for (const encode::bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

// The entry of transport stream 7 of network 0x3000 with these descriptors.
lib13818::NitTransportStream entry_of(const encode::bytes& descriptors) {
    const auto length = static_cast<std::uint16_t>(0xF000 | descriptors.size());
    const encode::bytes loop = join(
        {{0x00, 0x07, 0x30, 0x00, static_cast<std::uint8_t>(length >> 8), static_cast<std::uint8_t>(length)},
         descriptors});
    lib13818::reader r(loop.data(), loop.size());
    std::vector<lib13818::SectionWarning> warnings;
    return lib13818::NitTransportStream(r, warnings);
}

encode::bytes dvb_t(std::uint32_t khz, bool other_frequencies) {
    encode::terrestrial_delivery d;
    d.frequency_khz = khz;
    d.other_frequencies = other_frequencies;
    return encode::terrestrial_delivery_system_descriptor(d);
}

encode::bytes t2(std::uint8_t plp, std::vector<std::uint32_t> cells_khz, bool short_form = false) {
    encode::t2_delivery d;
    d.plp_id = plp;
    d.short_form = short_form;
    d.cell_frequencies_khz = std::move(cells_khz);
    return encode::t2_delivery_system_descriptor(d);
}

// The tunings as the walk says them, " | " between; "skipped" when there are none.
std::string tunings(const encode::bytes& descriptors, std::int32_t frontend, std::size_t& warnings) {
    walk_context context;
    context.frontend = frontend;
    context.tuned.type = static_cast<std::uint32_t>(frontend);
    context.tuned.frequency = 522;
    context.offers_s2 = context.offers_t2 = true;
    const entry_tunings found = tunings_of(entry_of(descriptors), context);
    warnings = found.warnings.size();
    std::string text = found.skipped.empty() ? "" : "skipped";
    for (const TUNERPARM& t : found.tunings)
        text += (text.empty() ? "" : " | ") + tuning_text(t);
    return text;
}

TEST(NitTunings, BuildEachFamilysTuningsFromTheWholeLoop) {
    encode::satellite_delivery s2{12188000, 235, true, 1, 2, 27500000, 2, true};
    const encode::bytes cable = encode::cable_delivery_system_descriptor({346000, 5, 6900000});
    const struct {
        std::int32_t frontend;
        encode::bytes descriptors;
        const char* expected;
        std::size_t warnings;
    } cases[] = {
        {frontend_dvb_t,
         join({dvb_t(506000, true), encode::terrestrial_frequency_list_descriptor({498000, 514000})}),
         "DVB-T 506.000 MHz | DVB-T 498.000 MHz | DVB-T 514.000 MHz", 0},
        {frontend_dvb_t,
         join({dvb_t(506000, false), encode::terrestrial_frequency_list_descriptor({498000})}),
         "DVB-T 506.000 MHz", 0},
        {frontend_dvb_t, t2(1, {578000, 586000}), "DVB-T2 578.000 MHz PLP 1 | DVB-T2 586.000 MHz PLP 1", 0},
        // A short T2 descriptor: the frequency of the 0x5A beside it, else the one tuned.
        {frontend_dvb_t, join({dvb_t(506000, false), t2(2, {}, true)}), "DVB-T2 506.000 MHz PLP 2", 0},
        {frontend_dvb_t, t2(0, {}, true), "DVB-T2 522.000 MHz PLP 0", 0},
        {frontend_dvb_t, join({dvb_t(0, true), encode::terrestrial_frequency_list_descriptor({514000})}),
         "DVB-T 514.000 MHz", 1},
        {frontend_dvb_t, dvb_t(1500000, false), "skipped", 1},
        {frontend_dvb_c, join({cable, encode::descriptor(0x62, {0xFE, 0x03, 0x54, 0x00, 0x00})}),
         "DVB-C 346.000 MHz | DVB-C 354.000 MHz", 0},
        {frontend_dvb_s,
         join({encode::satellite_delivery_system_descriptor(s2),
               encode::s2_satellite_delivery_system_descriptor(2)}),
         "DVB-S2 12188.000 MHz V ISI 2 position 0", 0},
        {frontend_dvb_t, {}, "DVB-T 522.000 MHz", 0},  // no delivery descriptor: where the card stands
        {frontend_dvb_t, cable, "skipped", 0},
    };
    for (const auto& c : cases) {
        std::size_t warnings = 0;
        EXPECT_EQ(tunings(c.descriptors, c.frontend, warnings), c.expected);
        EXPECT_EQ(warnings, c.warnings) << c.expected;
    }
}

TUNERPARM satellite(double ghz, int polarisation, std::uint32_t position, std::int32_t stream = -1,
                    std::int32_t gold = -1) {
    TUNERPARM t;
    t.type = frontend_dvb_s;
    t.frequency = ghz;
    t.word_a = polarisation;
    t.word_d = position;
    t.delivery.stream_id = stream;
    t.delivery.scrambling_index = gold;
    return t;
}

TUNERPARM terrestrial(double mhz, std::int32_t plp = -1) {
    TUNERPARM t;
    t.type = frontend_dvb_t;
    t.frequency = mhz;
    t.delivery.stream_id = plp;
    return t;
}

TEST(NitTunings, TellSignalsApartByTheirPhysicalIdentity) {
    const struct {
        const char* what;
        TUNERPARM a, b;
        bool same;
    } cases[] = {
        {"within 2 MHz", satellite(11.0, 0, 0), satellite(11.0015, 0, 0), true},
        {"3 MHz apart", satellite(11.0, 0, 0), satellite(11.003, 0, 0), false},
        {"H and V", satellite(11.0, 0, 0), satellite(11.0, 1, 0), false},
        {"two DiSEqC positions", satellite(11.0, 0, 0), satellite(11.0, 0, 1), false},
        {"two input streams", satellite(12.188, 1, 0, 1), satellite(12.188, 1, 0, 2), false},
        {"Gold index 0 is none named", satellite(12.188, 1, 0, 1, 0), satellite(12.188, 1, 0, 1), true},
        {"two Gold indexes", satellite(12.188, 1, 0, 1, 8), satellite(12.188, 1, 0, 1, 0), false},
        {"within 1 MHz", terrestrial(578.0), terrestrial(578.8), true},
        {"1.2 MHz apart", terrestrial(578.0), terrestrial(579.2), false},
        {"two PLPs", terrestrial(578.0, 0), terrestrial(578.0, 1), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(same_signal(c.a, c.b), c.same) << c.what;
        EXPECT_EQ(same_signal(c.b, c.a), c.same) << c.what;
    }
}

}  // namespace
}  // namespace kestrel
