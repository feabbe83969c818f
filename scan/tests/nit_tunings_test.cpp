#include <gtest/gtest.h>

#include "device/card.h"
#include "lib13818/core/reader.h"
#include "scan/nit_tunings.h"
#include "tools/encode/descriptors.h"

namespace kestrel {
namespace {

using lib13818::DeliverySystem;

// The entry of a NIT's transport stream loop with these descriptors.
lib13818::NitTransportStream entry_of(const encode::bytes& descriptors) {
    encode::bytes loop{0x00,
                       0x07,
                       0x30,
                       0x00,
                       static_cast<std::uint8_t>(0xF0 | (descriptors.size() >> 8)),
                       static_cast<std::uint8_t>(descriptors.size())};
    loop.insert(loop.end(), descriptors.begin(), descriptors.end());
    lib13818::reader r(loop.data(), loop.size());
    std::vector<lib13818::SectionWarning> warnings;
    return lib13818::NitTransportStream(r, warnings);
}

encode::bytes join(std::initializer_list<encode::bytes> parts) {
    encode::bytes out;
    for (const encode::bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
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

struct tuned {
    double mhz;
    std::int32_t stream;
    DeliverySystem system;
};

TEST(NitTunings, BuildEachFamilysTuningsFromTheWholeLoop) {
    encode::satellite_delivery s2;
    s2.frequency_khz = 12188000;
    s2.polarization = 1;
    s2.symbol_rate = 27500000;
    s2.s2 = true;
    s2.modulation = 2;
    const encode::bytes cable_list = encode::descriptor(0x62, {0xFE, 0x03, 0x54, 0x00, 0x00});
    const struct {
        const char* what;
        std::int32_t frontend;
        encode::bytes descriptors;
        std::vector<tuned> expected;
        bool skipped;
        std::size_t warnings;
    } cases[] = {
        {"0x5A, then its other frequencies",
         frontend_dvb_t,
         join({dvb_t(506000, true), encode::terrestrial_frequency_list_descriptor({498000, 514000})}),
         {{506, -1, DeliverySystem::dvb_t},
          {498, -1, DeliverySystem::dvb_t},
          {514, -1, DeliverySystem::dvb_t}},
         false,
         0},
        {"0x5A without other_frequency_flag",
         frontend_dvb_t,
         join({dvb_t(506000, false), encode::terrestrial_frequency_list_descriptor({498000})}),
         {{506, -1, DeliverySystem::dvb_t}},
         false,
         0},
        {"T2 cells with the PLP",
         frontend_dvb_t,
         t2(1, {578000, 586000}),
         {{578, 1, DeliverySystem::dvb_t2}, {586, 1, DeliverySystem::dvb_t2}},
         false,
         0},
        {"short T2 takes the 0x5A's frequency",
         frontend_dvb_t,
         join({dvb_t(506000, false), t2(2, {}, true)}),
         {{506, 2, DeliverySystem::dvb_t2}},
         false,
         0},
        {"short T2 alone is at the tuned frequency",
         frontend_dvb_t,
         t2(0, {}, true),
         {{522, 0, DeliverySystem::dvb_t2}},
         false,
         0},
        {"centre frequency 0 is not tuned, the other one is",
         frontend_dvb_t,
         join({dvb_t(0, true), encode::terrestrial_frequency_list_descriptor({514000})}),
         {{514, -1, DeliverySystem::dvb_t}},
         false,
         1},
        {"out of band only", frontend_dvb_t, dvb_t(1500000, false), {}, true, 1},
        {"cable and its frequency list",
         frontend_dvb_c,
         join({encode::cable_delivery_system_descriptor({346000, 5, 6900000}), cable_list}),
         {{346, -1, DeliverySystem::dvb_c}, {354, -1, DeliverySystem::dvb_c}},
         false,
         0},
        {"0x43 with 0x79: the input stream",
         frontend_dvb_s,
         join({encode::satellite_delivery_system_descriptor(s2),
               encode::s2_satellite_delivery_system_descriptor(2)}),
         {{12.188, 2, DeliverySystem::dvb_s2}},
         false,
         0},
        {"no delivery descriptor: where the card stands",
         frontend_dvb_t,
         {},
         {{522, -1, DeliverySystem::dvb_t}},
         false,
         0},
        {"another family's descriptor",
         frontend_dvb_t,
         encode::cable_delivery_system_descriptor({346000, 5, 6900000}),
         {},
         true,
         0},
    };
    for (const auto& c : cases) {
        walk_context context;
        context.frontend = c.frontend;
        context.tuned.type = static_cast<std::uint32_t>(c.frontend);
        context.tuned.frequency = 522;
        context.tuned.delivery.system = DeliverySystem::dvb_t;
        context.offers_s2 = context.offers_t2 = true;
        const entry_tunings found = tunings_of(entry_of(c.descriptors), context);
        ASSERT_EQ(found.tunings.size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            EXPECT_NEAR(found.tunings[i].frequency, c.expected[i].mhz, 1e-6) << c.what << " " << i;
            EXPECT_EQ(found.tunings[i].delivery.stream_id, c.expected[i].stream) << c.what;
            EXPECT_EQ(found.tunings[i].delivery.system, c.expected[i].system) << c.what;
        }
        EXPECT_EQ(!found.skipped.empty(), c.skipped) << c.what << ": " << found.skipped;
        EXPECT_EQ(found.warnings.size(), c.warnings) << c.what;
    }
}

TEST(NitTunings, SkipADvbT2EntryTheFrontendDoesNotOffer) {
    walk_context context;
    context.frontend = frontend_dvb_t;
    context.tuned.type = frontend_dvb_t;
    const entry_tunings found = tunings_of(entry_of(t2(1, {578000})), context);
    EXPECT_TRUE(found.tunings.empty());
    EXPECT_EQ(found.skipped, "TSID 0x0007 (ONID 0x3000): DVB-T2, which the frontend does not offer");
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
