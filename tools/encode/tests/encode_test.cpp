#include <gtest/gtest.h>

#include "lib13818/core/crc32.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::encode {
namespace {

TEST(Encode, PatAndPmtReadBackThroughTheDecoders) {
    const bytes pat = pat_section({0x00, 0x0001, 3, 0, 0}, {{0, 0x10}, {0x11, 0x100}});
    lib13818::Pat p;
    p.parse(pat.data(), pat.size());
    EXPECT_EQ(p.table_id_extension, 1);
    EXPECT_EQ(p.version_number, 3);
    ASSERT_EQ(p.count(), 2u);
    EXPECT_EQ(p.program(1).program_number, 0x11);
    EXPECT_EQ(p.program(1).PID, 0x100);

    const bytes pmt = pmt_section(
        {0x02, 0x11, 0, 0, 0}, 0x101, ca_descriptor(0x0B00, 0x104),
        {{0x02, 0x101, stream_identifier_descriptor(1)}, {0x04, 0x102, iso639_language_descriptor("eng")}});
    lib13818::Pmt m;
    m.parse(pmt.data(), pmt.size());
    EXPECT_EQ(m.PCR_PID, 0x101);
    ASSERT_EQ(m.streams.size(), 2u);
    EXPECT_EQ(m.streams[1].stream_type, 0x04);
    EXPECT_EQ(m.streams[1].elementary_PID, 0x102);
}

TEST(Encode, SiFieldsLandWhereTheStandardPutsThem) {
    satellite_delivery d;
    d.frequency_khz = 12322000;
    d.orbital_tenths = 235;
    d.polarization = 1;
    d.symbol_rate = 27500000;
    d.fec_inner = 3;
    EXPECT_EQ(satellite_delivery_system_descriptor(d),
              (bytes{0x43, 11, 0x01, 0x23, 0x22, 0x00, 0x02, 0x35, 0xA1, 0x02, 0x75, 0x00, 0x03}));

    // 2026-03-14 is MJD 61113 (0xEEB9).
    const bytes tdt = tdt_section({2026, 3, 14, 18, 5, 9});
    EXPECT_EQ(tdt, (bytes{0x70, 0x70, 0x05, 0xEE, 0xB9, 0x18, 0x05, 0x09}));
    const bytes tot = tot_section({2026, 3, 14, 18, 5, 9}, {});
    EXPECT_EQ(tot.size(), 14u);
    EXPECT_EQ(lib13818::crc32(tot.data(), tot.size()), 0u);

    const bytes eit =
        eit_section({0x50, 0x21, 0, 48, 56}, {4, 0x2F00, 48, 0x50},
                    {{7, {2026, 3, 14, 18, 0, 0}, 45, 4, true, short_event_descriptor("eng", "N", "T")}});
    EXPECT_EQ(lib13818::crc32(eit.data(), eit.size()), 0u);
    EXPECT_EQ(eit[1], 0xF0);  // syntax 1, reserved_future_use 1, reserved 11
    EXPECT_EQ(bytes(eit.begin() + 8, eit.begin() + 14), (bytes{0x00, 0x04, 0x2F, 0x00, 48, 0x50}));
    EXPECT_EQ(eit[14 + 10], 0x90);  // running 4, free_CA 1, loop length's top bits 0
}

}  // namespace
}  // namespace kestrel::encode
