#include <gtest/gtest.h>

#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/field_text.h"
#include "lib13818/tests/described_helpers.h"

namespace lib13818 {
namespace {

Bytes extension(std::uint8_t tag_extension, const Bytes& body) {
    return descriptor(0x7F, concat({{tag_extension}, body}));
}

// 474 and 482 MHz in units of 10 Hz.
const Bytes f474 = {0x02, 0xD3, 0x44, 0x40};
const Bytes f482 = {0x02, 0xDF, 0x79, 0x40};

TEST(DescribedFamilies, VideoDescriptors) {
    const std::vector<described_case> cases = {
        {"AVC video",
         descriptor(0x28, {0x64, 0x43, 0x28, 0xBF}),
         &descriptions::AVC_video,
         {{"profile_idc", 100},
          {"constraint_set1_flag", 1},
          {"AVC_compatible_flags", 3},
          {"level_idc", 40},
          {"AVC_24_hour_picture_flag", 0},
          {"Frame_Packing_SEI_not_present_flag", 1}}},
        {"AVC timing with a 27 MHz time scale",
         descriptor(0x2A, {0xFF, 0x7F, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x01, 0x2C, 0x00, 0x00, 0x0E, 0x10,
                           0xBF}),
         &descriptions::AVC_timing_and_HRD,
         {{"N", 1},
          {"K", 300},
          {"num_units_in_tick", 3600},
          {"fixed_frame_rate_flag", 1},
          {"temporal_poc_flag", 0}}},
        {"AVC timing at 90 kHz",
         descriptor(0x2A, {0x7F, 0x80, 0x00, 0x00, 0x07, 0x08, 0x7F}),
         &descriptions::AVC_timing_and_HRD,
         {{"hrd_management_valid_flag", 0},
          {"N", {}},
          {"num_units_in_tick", 1800},
          {"fixed_frame_rate_flag", 0}}},
        {"AVC timing without timing",
         descriptor(0x2A, {0xFE, 0xDF}),
         &descriptions::AVC_timing_and_HRD,
         {{"90kHz_flag", {}},
          {"num_units_in_tick", {}},
          {"fixed_frame_rate_flag", 1},
          {"temporal_poc_flag", 1}}},
        {"HEVC with its temporal layers",
         descriptor(0x38, {0x22, 0x20, 0x00, 0x00, 0x00, 0xB0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x99, 0x9E, 0x3F,
                           0x7F}),
         &descriptions::HEVC_video,
         {{"tier_flag", 1},
          {"profile_idc", 2},
          {"profile_compatibility_indication", 0x20000000},
          {"frame_only_constraint_flag", 1},
          {"level_idc", 153},
          {"HDR_WCG_idc", 2},
          {"temporal_id_min", 1},
          {"temporal_id_max", 3}}},
        {"hierarchy",
         descriptor(0x04, {0xF3, 0xC1, 0x40, 0xC5}),
         &descriptions::hierarchy,
         {{"hierarchy_type", 3},
          {"hierarchy_layer_index", 1},
          {"tref_present_flag", 0},
          {"hierarchy_channel", 5}}},
        {"registration with identification info",
         descriptor(0x05, {'H', 'E', 'V', 'C', 0x01}),
         &descriptions::registration,
         {{"format_identifier", 0x48455643}}},
        {"maximum bitrate in units of 50 bytes/s",
         descriptor(0x0E, {0xC0, 0x61, 0xA8}),
         &descriptions::maximum_bitrate,
         {{"maximum_bitrate", 10000000}}},
        {"video window",
         descriptor(0x08, {0x00, 0x28, 0x00, 0x53}),
         &descriptions::video_window,
         {{"horizontal_offset", 10}, {"vertical_offset", 5}, {"window_priority", 3}}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedFamilies, AudioDescriptors) {
    const std::vector<described_case> cases = {
        {"MPEG-2 AAC",
         descriptor(0x2B, {0x01, 0x02, 0x00}),
         &descriptions::MPEG2_AAC_audio,
         {{"MPEG-2_AAC_profile", 1}, {"MPEG-2_AAC_channel_configuration", 2}}},
        {"DTS",
         descriptor(0x7B, {0xD3, 0xC7, 0x8F, 0xB8, 0x4C, 0xAA}),
         &descriptions::DTS,
         {{"sample_rate_code", 13},
          {"bit_rate_code", 15},
          {"nblks", 15},
          {"fsize", 2012},
          {"surround_mode", 9},
          {"lfe_flag", 1},
          {"extended_surround_flag", 0}}},
        {"AC-4 with its configuration and table of contents",
         extension(0x15, {0xC0, 0xC0, 0x02, 0xAA, 0xBB, 0x01}),
         &descriptions::AC4,
         {{"ac4_dialog_enhancement_enabled", 1}, {"ac4_channel_mode", 2}, {"ac4_toc_len", 2}}},
        {"AC-4 with neither", extension(0x15, {0x00}), &descriptions::AC4, {{"ac4_channel_mode", {}}}},
        {"supplementary audio with a language",
         extension(0x06, {0x87, 'e', 'n', 'g'}),
         &descriptions::supplementary_audio,
         {{"mix_type", 1}, {"editorial_classification", 1}, {"ISO_639_language_code", 0x656E67}}},
        {"two audio preselections, one counting its components, one with a future extension",
         extension(0x19, {0x10, 0x09, 0x8A, 'e', 'n', 'g', 0x40, 0x11, 0x12, 0x10, 0x05, 0x07, 0x01, 0xAA}),
         &descriptions::audio_preselection,
         {{"num_preselections", 2},
          {"preselections/0/audio_rendering_indication", 1},
          {"preselections/0/message_id", {}},
          {"preselections/0/aux_components/1/component_tag", 0x12},
          {"preselections/1/preselection_id", 2},
          {"preselections/1/message_id", 7},
          {"preselections/1/num_aux_components", {}},
          {"preselections/1/future_extension_length", 1}}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedFamilies, LinkageVariants) {
    const Bytes ids = {0x00, 0x01, 0x00, 0x02, 0x00, 0x03};
    const std::vector<described_case> cases = {
        {"information service with private data",
         descriptor(0x4A, concat({ids, {0x01, 0xAA}})),
         &descriptions::linkage,
         {{"service_id", 3}, {"linkage_type", 1}, {"hand-over_type", {}}, {"table_type", {}}}},
        {"mobile hand-over from the NIT to a neighbouring country",
         descriptor(0x4A, concat({ids, {0x08, 0x1E, 0x30, 0x01, 0x00, 0x42}})),
         &descriptions::linkage,
         {{"hand-over_type", 1}, {"origin_type", 0}, {"network_id", 0x3001}, {"initial_service_id", 0x42}}},
        {"mobile hand-over from the SDT to an identical service",
         descriptor(0x4A, concat({ids, {0x08, 0x0F}})),
         &descriptions::linkage,
         {{"hand-over_type", 0}, {"origin_type", 1}, {"network_id", {}}, {"initial_service_id", {}}}},
        {"system software update",
         descriptor(0x4A, concat({ids, {0x09, 0x06, 0x00, 0x15, 0xA0, 0x02, 0x01, 0x02}})),
         &descriptions::linkage,
         {{"OUI_data_length", 6}, {"OUIs/0/OUI", 0x0015A0}, {"OUIs/0/selector_length", 2}}},
        {"SSU BAT",
         descriptor(0x4A, concat({ids, {0x0A, 0x02}})),
         &descriptions::linkage,
         {{"table_type", 2}}},
        {"INT in a BAT",
         descriptor(0x4A, concat({ids, {0x0C, 0x02, 0x12, 0x34}})),
         &descriptions::linkage,
         {{"table_type", 2}, {"bouquet_id", 0x1234}}},
        {"INT in a NIT",
         descriptor(0x4A, concat({ids, {0x0C, 0x01}})),
         &descriptions::linkage,
         {{"table_type", 1}, {"bouquet_id", {}}}},
        {"event linkage",
         descriptor(0x4A, concat({ids, {0x0D, 0x11, 0x11, 0xBF}})),
         &descriptions::linkage,
         {{"target_event_id", 0x1111}, {"target_listed", 1}, {"event_simulcast", 0}}},
        {"extended event linkage: a user-defined target, then one named by three ids",
         descriptor(0x4A, concat({ids,
                                  {0x0E, 0x0E, 0x00, 0x01, 0xDC, 0xBE, 0xEF, 0x00, 0x02, 0x07, 0x0A, 0x0A,
                                   0x0B, 0x0B, 0x0C, 0x0C}})),
         &descriptions::linkage,
         {{"events/0/link_type", 1},
          {"events/0/user_defined_id", 0xBEEF},
          {"events/0/target_service_id", {}},
          {"events/1/target_transport_stream_id", 0x0A0A},
          {"events/1/target_original_network_id", 0x0B0B},
          {"events/1/target_service_id", 0x0C0C},
          {"events/1/user_defined_id", {}}}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedFamilies, NamesAndIdentifiers) {
    const std::vector<described_case> cases = {
        {"network names in two languages",
         descriptor(0x5B, {'e', 'n', 'g', 3, 'A', 'B', 'C', 'f', 'r', 'a', 2, 'D', 'E'}),
         &descriptions::multilingual_network_name,
         {{"names/0/network_name_length", 3}, {"names/1/ISO_639_language_code", 0x667261}}},
        {"service provider and service names",
         descriptor(0x5D, {'d', 'e', 'u', 2, 'P', 'r', 3, 'S', 'v', 'c'}),
         &descriptions::multilingual_service_name,
         {{"names/0/service_provider_name_length", 2}, {"names/0/service_name_length", 3}}},
        {"component descriptions",
         descriptor(0x5E, {0x05, 'e', 'n', 'g', 1, 'x'}),
         &descriptions::multilingual_component,
         {{"component_tag", 5}, {"descriptions/0/text_description_length", 1}}},
        {"a CRID carried whole, then one by reference",
         descriptor(0x76, {0xC4, 4, '/', 'a', 'b', 'c', 0xC9, 0x01, 0x02}),
         &descriptions::content_identifier,
         {{"crids/0/crid_type", 0x31},
          {"crids/0/crid_length", 4},
          {"crids/0/crid_ref", {}},
          {"crids/1/crid_type", 0x32},
          {"crids/1/crid_location", 1},
          {"crids/1/crid_ref", 0x0102},
          {"crids/1/crid_length", {}}}},
        {"telephone number in parts",
         descriptor(0x57, {0xE3, 0xC0, 0xA4, '4', '4', '2', '0', '1', '2', '3', '4'}),
         &descriptions::telephone,
         {{"foreign_availability", 1},
          {"connection_type", 3},
          {"country_prefix_length", 2},
          {"international_area_code_length", 0},
          {"national_area_code_length", 2},
          {"core_number_length", 4}}},
        {"TV-Anytime ids",
         descriptor(0x75, {0x00, 0x07, 0xFC, 0x00, 0x08, 0xF9}),
         &descriptions::TVA_id,
         {{"TVA_ids/0/running_status", 4}, {"TVA_ids/1/TVA_id", 8}, {"TVA_ids/1/running_status", 1}}},
        {"PDC label of 24 May, 20:15",
         descriptor(0x69, {0xFC, 0x2D, 0x0F}),
         &descriptions::PDC,
         {{"day", 24}, {"month", 5}, {"hour", 20}, {"minute", 15}}},
        {"related content has no fields", descriptor(0x74, {}), &descriptions::related_content, {}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedFamilies, CellsAndAnnouncements) {
    const std::vector<described_case> cases = {
        {"a cell list with one subcell",
         descriptor(0x6C, {0x00, 0x01, 0x12, 0x34, 0x56, 0x78, 0x01, 0x00, 0x20, 0x08, 0x01, 0x11, 0x11, 0x22,
                           0x22, 0x00, 0x30, 0x04}),
         &descriptions::cell_list,
         {{"cells/0/cell_latitude", 0x1234},
          {"cells/0/cell_extent_of_latitude", 0x010},
          {"cells/0/cell_extent_of_longitude", 0x020},
          {"cells/0/subcells/0/subcell_longitude", 0x2222},
          {"cells/0/subcells/0/subcell_extent_of_latitude", 3},
          {"cells/0/subcells/0/subcell_extent_of_longitude", 4}}},
        {"cell frequencies with a transposer",
         descriptor(0x6D, concat({{0x00, 0x02}, f474, {0x05, 0x01}, f482, {0x00, 0x03}, f482, {0x00}})),
         &descriptions::cell_frequency_link,
         {{"cells/0/frequency", 474000000},
          {"cells/0/subcells/0/transposer_frequency", 482000000},
          {"cells/1/cell_id", 3},
          {"cells/1/subcells/0/cell_id_extension", {}}}},
        {"service availability",
         descriptor(0x72, {0xFF, 0x00, 0x01, 0x00, 0x02}),
         &descriptions::service_availability,
         {{"availability_flag", 1}, {"cells/1/cell_id", 2}}},
        {"announcements in the usual audio and in another service",
         descriptor(0x6E, {0x00, 0x11, 0x08, 0x4A, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x04}),
         &descriptions::announcement_support,
         {{"announcements/0/reference_type", 0},
          {"announcements/0/service_id", {}},
          {"announcements/1/announcement_type", 4},
          {"announcements/1/service_id", 3},
          {"announcements/1/component_tag", 4}}},
        {"a mosaic cell linked to an event",
         descriptor(0x51, {0x99, 0x03, 0xF9, 0x02, 0xC0, 0xC1, 0x04, 0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x07,
                           0x07}),
         &descriptions::mosaic,
         {{"number_of_horizontal_elementary_cells", 1},
          {"logical_cells/0/logical_cell_presentation_info", 1},
          {"logical_cells/0/elementary_cells/1/elementary_cell_id", 1},
          {"logical_cells/0/bouquet_id", {}},
          {"logical_cells/0/service_id", 3},
          {"logical_cells/0/event_id", 0x0707}}},
        {"VBI lines of teletext, then a reserved service",
         descriptor(0x45, {0x01, 0x02, 0xE7, 0xC8, 0x03, 0x01, 0xFF}),
         &descriptions::VBI_data,
         {{"data_services/0/lines/0/field_parity", 1},
          {"data_services/0/lines/1/line_offset", 8},
          {"data_services/1/lines/0/line_offset", {}}}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedFamilies, ExtensionDescriptors) {
    const std::vector<described_case> cases = {
        {"target regions of two depths",
         extension(0x09, {'G', 'B', 'R', 0xF9, 0x05, 0xFF, 'F', 'R', 'A', 0x01, 0x02, 0x00, 0x03}),
         &descriptions::target_region,
         {{"regions/0/primary_region_code", 5},
          {"regions/0/secondary_region_code", {}},
          {"regions/0/country_code", {}},
          {"regions/1/country_code", 0x465241},
          {"regions/1/tertiary_region_code", 3}}},
        {"a target region name",
         extension(0x0A, {'G', 'B', 'R', 'e', 'n', 'g', 0x83, 'L', 'o', 'n', 0x01, 0x02}),
         &descriptions::target_region_name,
         {{"regions/0/region_depth", 2},
          {"regions/0/region_name_length", 3},
          {"regions/0/secondary_region_code", 2},
          {"regions/0/tertiary_region_code", {}}}},
        {"a network change keeping a transport stream",
         extension(0x07, {0x00, 0x01, 0x10, 0x01, 0x02, 0xC0, 0x79, 0x12, 0x45, 0x00, 0x01, 0x30, 0x00, 0x18,
                          0x03, 0x01, 0x01, 0x02, 0x02}),
         &descriptions::network_change_notify,
         {{"cells/0/changes/0/network_change_version", 2},
          {"cells/0/changes/0/change_type", 8},
          {"cells/0/changes/0/message_id", 3},
          {"cells/0/changes/0/invariant_ts_onid", 0x0202}}},
        {"TTML subtitles with profiles, a qualifier and a font",
         extension(0x20, {'e', 'n', 'g', 0x05, 0xC2, 0x01, 0x02, 0x00, 0x00, 0x00, 0x10, 0x01, 0x05, 0x02,
                          'a', 'b'}),
         &descriptions::TTML_subtitling,
         {{"subtitle_purpose", 1},
          {"profiles/1/dvb_ttml_profile", 2},
          {"qualifier", 0x10},
          {"fonts/0/essential_font_id", 5},
          {"text_length", 2}}},
        {"URI linkage of an online SDT",
         extension(0x13, {0x00, 0x03, 'a', 'b', 'c', 0x00, 0x3C}),
         &descriptions::URI_linkage,
         {{"uri_length", 3}, {"min_polling_interval", 60}}},
        {"T2-MI",
         extension(0x11, {0xF9, 0xFA, 0xFF}),
         &descriptions::T2MI,
         {{"t2mi_stream_id", 1}, {"num_t2mi_streams_minus_one", 2}, {"pcr_iscr_common_clock_flag", 1}}},
    };
    for (const described_case& c : cases)
        expect_decoded(c);
}

TEST(DescribedFamilies, TruncatedDescriptorsOfEachFamily) {
    const std::vector<truncated_case> cases = {
        {"HEVC announcing temporal layers it does not hold",
         descriptor(0x38, {0x22, 0x20, 0x00, 0x00, 0x00, 0xB0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x99, 0x9E}),
         true,
         "HEVC_video_descriptor: temporal_layer_subset_flag announces temporal_id_min, which "
         "descriptor_length 13 "
         "leaves out",
         {{"level_idc", 153}, {"temporal_id_min", {}}}},
        {"DTS shorter than its fixed part",
         descriptor(0x7B, {0xD3, 0xC7, 0x8F, 0xB8}),
         false,
         "DTS_descriptor: descriptor_length 4 is shorter than its fixed part",
         {}},
        {"a hand-over without the network it announces",
         descriptor(0x4A, {0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x08, 0x1E}),
         true,
         "linkage_descriptor: hand-over_type announces network_id, which descriptor_length 8 leaves out",
         {{"hand-over_type", 1}, {"network_id", {}}}},
        {"extended event links running past the descriptor",
         descriptor(0x4A, {0x00, 0x01, 0x00, 0x02, 0x00, 0x03, 0x0E, 0x09, 0x00, 0x01, 0xDC, 0xBE, 0xEF}),
         false,
         "linkage_descriptor: events disagrees with descriptor_length 13",
         {}},
        {"a service name running past the descriptor",
         descriptor(0x5D, {'d', 'e', 'u', 0, 4, 'S', 'v', 'c'}),
         false,
         "multilingual_service_name_descriptor: service_name disagrees with descriptor_length 8",
         {}},
        {"a CRID longer than the descriptor",
         descriptor(0x76, {0xC4, 9, '/', 'a'}),
         false,
         "content_identifier_descriptor: crid disagrees with descriptor_length 4",
         {}},
        {"subcells that are not whole entries",
         descriptor(0x6C, {0x00, 0x01, 0x12, 0x34, 0x56, 0x78, 0x01, 0x00, 0x20, 0x02, 0x01, 0x11}),
         false,
         "cell_list_descriptor: subcell_latitude disagrees with descriptor_length 12",
         {}},
        {"TTML counting more profiles than it holds",
         extension(0x20, {'e', 'n', 'g', 0x05, 0x02, 0x01}),
         false,
         "TTML_subtitling_descriptor: dvb_ttml_profile disagrees with descriptor_length 7",
         {}},
    };
    for (const truncated_case& c : cases)
        expect_truncated(c);
}

TEST(DescribedFamilies, TextsAndFourCharacterIdentifiers) {
    const loop_result loop = read_loop(
        concat({descriptor(0x76, {0xC4, 4, '/', 'a', 'b', 'c'}),
                descriptor(0x5C, {'e', 'n', 'g', 2, 'B', 'q'}), descriptor(0x05, {'C', 'U', 'E', 'I'})}));
    ASSERT_EQ(loop.described.size(), 3u);
    EXPECT_EQ(loop.described[0].records("crids").front().bytes("crid"), "/abc");
    EXPECT_EQ(loop.described[1].records("names").front().bytes("bouquet_name"), "Bq");
    const decoded_field* format = loop.described[2].body().find("format_identifier");
    ASSERT_NE(format, nullptr);
    EXPECT_EQ(value_name_of(*format->spec, format->value), "CUEI");
    EXPECT_EQ(value_name_of(*format->spec, 0x41430001), "AC..");
}

}  // namespace
}  // namespace lib13818
