#include <gtest/gtest.h>

#include <sstream>

#include "lib13818/fields/catalogue.h"
#include "lib13818/tests/described_helpers.h"

namespace lib13818 {
namespace {

// 474, 482 and 490 MHz in units of 10 Hz.
const Bytes f474 = {0x02, 0xD3, 0x44, 0x40};
const Bytes f482 = {0x02, 0xDF, 0x79, 0x40};
const Bytes f490 = {0x02, 0xEB, 0xAE, 0x40};
constexpr std::uint64_t mhz = 1000000;

const std::vector<described_case>& delivery_cases() {
    static const std::vector<described_case> cases = {
        {"S2 with every optional part",
         descriptor(0x79, {0xC3, 0xFD, 0x86, 0xA0, 0x07, 0x05}),
         &descriptions::S2_satellite_delivery_system,
         {{"scrambling_sequence_selector", 1},
          {"multiple_input_stream_flag", 1},
          {"not_timeslice_flag", 0},
          {"TS_GS_mode", 3},
          {"scrambling_sequence_index", 100000},
          {"input_stream_identifier", 7},
          {"timeslice_number", 5}}},
        {"S2 of an edition before the time slice",
         descriptor(0x79, {0x3F}),
         &descriptions::S2_satellite_delivery_system,
         {{"TS_GS_mode", 3},
          {"scrambling_sequence_index", {}},
          {"input_stream_identifier", {}},
          {"timeslice_number", {}}}},
        {"cable, BCD in 100 Hz and 100 symbol/s",
         descriptor(0x44, {0x03, 0x46, 0x00, 0x00, 0xFF, 0xF2, 0x03, 0x00, 0x69, 0x00, 0x05}),
         &descriptions::cable_delivery_system,
         {{"frequency", 346 * mhz},
          {"FEC_outer", 2},
          {"modulation", 3},
          {"symbol_rate", 6900000},
          {"FEC_inner", 5}}},
        {"terrestrial, binary in 10 Hz",
         descriptor(0x5A, concat({f474, {0x1F, 0x82, 0x33, 0xFF, 0xFF, 0xFF, 0xFF}})),
         &descriptions::terrestrial_delivery_system,
         {{"centre_frequency", 474 * mhz},
          {"bandwidth", 0},
          {"priority", 1},
          {"constellation", 2},
          {"hierarchy_information", 0},
          {"code_rate-HP_stream", 2},
          {"code_rate-LP_stream", 1},
          {"guard_interval", 2},
          {"transmission_mode", 1},
          {"other_frequency_flag", 1}}},
        {"frequency list, terrestrial coding",
         descriptor(0x62, concat({{0xFF}, f482, f490})),
         &descriptions::frequency_list,
         {{"coding_type", 3},
          {"frequencies/0/centre_frequency", 482 * mhz},
          {"frequencies/1/centre_frequency", 490 * mhz},
          {"frequencies/2/centre_frequency", {}}}},
        {"frequency list, satellite coding in 10 kHz",
         descriptor(0x62, {0xFD, 0x01, 0x17, 0x57, 0x25}),
         &descriptions::frequency_list,
         {{"coding_type", 1}, {"frequencies/0/centre_frequency", 11757250}}},
        {"T2 with TFS: frequency_loop_length counts bytes",
         descriptor(
             0x7F,
             concat(
                 {{0x04, 0x01, 0x80, 0x01, 0x03, 0x55, 0x00, 0x01, 0x08}, f474, f482, {0x05, 0x01}, f490})),
         &descriptions::T2_delivery_system,
         {{"plp_id", 1},
          {"T2_system_id", 0x8001},
          {"SISO_MISO", 0},
          {"bandwidth", 0},
          {"guard_interval", 2},
          {"transmission_mode", 5},
          {"tfs_flag", 1},
          {"cells/0/cell_id", 1},
          {"cells/0/frequencies/0/centre_frequency", 474 * mhz},
          {"cells/0/frequencies/1/centre_frequency", 482 * mhz},
          {"cells/0/subcells/0/cell_id_extension", 1},
          {"cells/0/subcells/0/transposer_frequency", 490 * mhz},
          {"cells/1/cell_id", {}}}},
        {"T2 without TFS: one frequency a cell",
         descriptor(
             0x7F,
             concat(
                 {{0x04, 0x00, 0x00, 0x02, 0x13, 0x54, 0x00, 0x02}, f474, {0x00, 0x00, 0x03}, f482, {0x00}})),
         &descriptions::T2_delivery_system,
         {{"bandwidth", 4},
          {"tfs_flag", 0},
          {"cells/0/cell_id", 2},
          {"cells/0/frequencies/0/centre_frequency", 474 * mhz},
          {"cells/0/subcells/0/cell_id_extension", {}},
          {"cells/1/cell_id", 3},
          {"cells/1/frequencies/0/centre_frequency", 482 * mhz}}},
        {"short T2: the PLP alone",
         descriptor(0x7F, {0x04, 0x03, 0x00, 0x01}),
         &descriptions::T2_delivery_system,
         {{"plp_id", 3}, {"T2_system_id", 1}, {"SISO_MISO", {}}, {"cells/0/cell_id", {}}}},
        {"C2, tuning frequency in Hz",
         descriptor(0x7F, {0x0D, 0x05, 0x07, 0x1C, 0x8C, 0xF5, 0xC0, 0x41}),
         &descriptions::C2_delivery_system,
         {{"plp_id", 5},
          {"data_slice_id", 7},
          {"C2_System_tuning_frequency", 479 * mhz},
          {"C2_System_tuning_frequency_type", 1},
          {"active_OFDM_symbol_duration", 0},
          {"guard_interval", 1}}},
        {"S2X with time slicing",
         descriptor(0x7F, {0x17, 0x0F, 0x9F, 0x01, 0x17, 0x57, 0x25, 0x01, 0x92, 0xBC, 0xF0, 0x27, 0x50, 0x00,
                           0x09, 0x03}),
         &descriptions::S2X_satellite_delivery_system,
         {{"receiver_profiles", 1},
          {"S2X_mode", 2},
          {"frequency", 11757250},
          {"west_east_flag", 1},
          {"polarization", 1},
          {"roll_off", 4},
          {"symbol_rate", 27500000},
          {"input_stream_identifier", 9},
          {"timeslice_number", 3}}},
        {"S2X with one bonded channel",
         descriptor(0x7F, {0x17, 0x0F, 0xDF, 0x01, 0x17, 0x57, 0x25, 0x01, 0x92, 0x80, 0xF0, 0x27, 0x50,
                           0x00, 0x7F, 0x01, 0x17, 0x97, 0x50, 0x01, 0x92, 0x80, 0xF0, 0x27, 0x50, 0x00}),
         &descriptions::S2X_satellite_delivery_system,
         {{"S2X_mode", 3},
          {"input_stream_identifier", {}},
          {"num_channel_bonds_minus_one", 0},
          {"bonded_channels/0/frequency", 11797500},
          {"bonded_channels/1/frequency", {}}}},
    };
    return cases;
}

TEST(DescribedDelivery, DecodesEveryFieldInItsUnit) {
    for (const described_case& c : delivery_cases())
        expect_decoded(c);
}

TEST(DescribedDelivery, OrbitalPositionsCountTenthsOfADegree) {
    const loop_result loop = read_loop(delivery_cases()[10].bytes);
    EXPECT_EQ(loop.described.at(0).number("orbital_position"), 192u);
}

TEST(DescribedDelivery, AMisspeltFieldNameThrows) {
    const loop_result loop = read_loop(delivery_cases()[0].bytes);
    EXPECT_THROW(loop.described.at(0).number("input_stream_id"), std::invalid_argument);
}

TEST(DescribedDelivery, TruncatedDescriptorsWarnAndNeverReadOutside) {
    const std::vector<truncated_case> cases = {
        {"a cable descriptor shorter than its fixed part",
         descriptor(0x44, {0x03, 0x46, 0x00, 0x00}),
         false,
         "cable_delivery_system_descriptor: descriptor_length 4 is shorter than its fixed part",
         {}},
        {"a T2 frequency loop running past the descriptor",
         descriptor(0x7F, concat({{0x04, 0x01, 0x80, 0x01, 0x03, 0x55, 0x00, 0x01, 0x20}, f474, {0x00}})),
         false,
         "T2_delivery_system_descriptor: frequencies disagrees with descriptor_length 14",
         {}},
        {"a T2 subcell loop that is not whole entries",
         descriptor(0x7F,
                    concat({{0x04, 0x01, 0x80, 0x01, 0x03, 0x54, 0x00, 0x01}, f474, {0x04, 0x01}, f490})),
         false,
         "T2_delivery_system_descriptor: transposer_frequency disagrees with descriptor_length 18",
         {}},
        {"frequencies that are not whole",
         descriptor(0x62, concat({{0xFF}, f482, {0x02, 0xEB}})),
         false,
         "frequency_list_descriptor: centre_frequency disagrees with descriptor_length 7",
         {}},
        {"an association tag whose selector does not fill its length",
         descriptor(0x14, {0x00, 0x0B, 0x00, 0x00, 0x04, 0x80, 0x00, 0x00, 0x02}),
         false,
         "association_tag_descriptor: timeout disagrees with descriptor_length 9",
         {}},
        {"an extension descriptor without its tag extension",
         descriptor(0x7F, {}),
         false,
         "extension_descriptor: descriptor_length 0 is shorter than its fixed part, which needs "
         "descriptor_tag_extension",
         {}},
        {"an S2 selector promising an index the descriptor does not hold",
         descriptor(0x79, {0x83}),
         true,
         "S2_satellite_delivery_system_descriptor: scrambling_sequence_selector announces "
         "scrambling_sequence_index, which descriptor_length 1 leaves out",
         {{"TS_GS_mode", 3}, {"scrambling_sequence_index", {}}}},
        {"an S2 whose index is there but not its stream identifier",
         descriptor(0x79, {0xC3, 0xFD, 0x86, 0xA0}),
         true,
         "multiple_input_stream_flag announces input_stream_identifier",
         {{"scrambling_sequence_index", 100000}, {"input_stream_identifier", {}}, {"timeslice_number", {}}}},
        {"a T2 cut inside its extended part",
         descriptor(0x7F, {0x04, 0x03, 0x00, 0x01, 0x03}),
         true,
         "T2_delivery_system_descriptor: descriptor_length 5 ends before guard_interval",
         {{"plp_id", 3}, {"SISO_MISO", 0}, {"guard_interval", {}}}},
    };
    for (const truncated_case& c : cases)
        expect_truncated(c);
}

TEST(DescribedDelivery, DumpShowsEveryFieldInDecimal) {
    const loop_result loop = read_loop(delivery_cases()[6].bytes);
    std::ostringstream out;
    loop.described.at(0).dump(out);
    EXPECT_EQ(out.str(),
              "descriptor_tag: 7f T2_delivery_system_descriptor\n"
              "descriptor_length 23\n"
              "descriptor_tag_extension 4\n"
              "plp_id 1\n"
              "T2_system_id 32769\n"
              "SISO_MISO 0 - SISO\n"
              "bandwidth 0 - 8 MHz\n"
              "guard_interval 2 - 1/8\n"
              "transmission_mode 5 - 32k\n"
              "other_frequency_flag 0\n"
              "tfs_flag 1\n"
              "  cell_id 1\n"
              "  frequency_loop_length 8\n"
              "    centre_frequency 474000000 Hz\n"
              "    centre_frequency 482000000 Hz\n"
              "  subcell_info_loop_length 5\n"
              "    cell_id_extension 1\n"
              "    transposer_frequency 490000000 Hz\n");
}

}  // namespace
}  // namespace lib13818
