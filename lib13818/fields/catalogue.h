#pragma once

// The table of described descriptors: each descriptor's file (lib13818/descriptors/
// *_descriptor.cpp) defines one of these; catalogue.cpp lists them for the loops' lookup.
// Consumers compare a decoded descriptor with one of them: d.is(descriptions::parental_rating).

#include <cstdint>
#include <span>

#include "lib13818/fields/description.h"

namespace lib13818 {

namespace descriptions {
extern const description hierarchy;                      // 0x04
extern const description registration;                   // 0x05
extern const description data_stream_alignment;          // 0x06
extern const description target_background_grid;         // 0x07
extern const description video_window;                   // 0x08
extern const description system_clock;                   // 0x0B
extern const description multiplex_buffer_utilization;   // 0x0C
extern const description maximum_bitrate;                // 0x0E
extern const description smoothing_buffer;               // 0x10
extern const description IBP;                            // 0x12
extern const description carousel_identifier;            // 0x13
extern const description association_tag;                // 0x14
extern const description MPEG4_video;                    // 0x1B
extern const description MPEG4_audio;                    // 0x1C
extern const description AVC_video;                      // 0x28
extern const description AVC_timing_and_HRD;             // 0x2A
extern const description MPEG2_AAC_audio;                // 0x2B
extern const description HEVC_video;                     // 0x38
extern const description network_name;                   // 0x40
extern const description stuffing;                       // 0x42
extern const description cable_delivery_system;          // 0x44
extern const description VBI_data;                       // 0x45
extern const description VBI_teletext;                   // 0x46
extern const description bouquet_name;                   // 0x47
extern const description country_availability;           // 0x49
extern const description linkage;                        // 0x4A
extern const description NVOD_reference;                 // 0x4B
extern const description time_shifted_service;           // 0x4C
extern const description mosaic;                         // 0x51
extern const description parental_rating;                // 0x55
extern const description telephone;                      // 0x57
extern const description subtitling;                     // 0x59
extern const description terrestrial_delivery_system;    // 0x5A
extern const description multilingual_network_name;      // 0x5B
extern const description multilingual_bouquet_name;      // 0x5C
extern const description multilingual_service_name;      // 0x5D
extern const description multilingual_component;         // 0x5E
extern const description private_data_specifier;         // 0x5F
extern const description service_move;                   // 0x60
extern const description short_smoothing_buffer;         // 0x61
extern const description frequency_list;                 // 0x62
extern const description partial_transport_stream;       // 0x63
extern const description data_broadcast;                 // 0x64
extern const description scrambling;                     // 0x65
extern const description data_broadcast_id;              // 0x66
extern const description transport_stream;               // 0x67
extern const description DSNG;                           // 0x68
extern const description PDC;                            // 0x69
extern const description AC3;                            // 0x6A
extern const description ancillary_data;                 // 0x6B
extern const description cell_list;                      // 0x6C
extern const description cell_frequency_link;            // 0x6D
extern const description announcement_support;           // 0x6E
extern const description application_signalling;         // 0x6F
extern const description adaptation_field_data;          // 0x70
extern const description service_identifier;             // 0x71
extern const description service_availability;           // 0x72
extern const description default_authority;              // 0x73
extern const description related_content;                // 0x74
extern const description TVA_id;                         // 0x75
extern const description content_identifier;             // 0x76
extern const description time_slice_fec_identifier;      // 0x77
extern const description ECM_repetition_rate;            // 0x78
extern const description S2_satellite_delivery_system;   // 0x79
extern const description enhanced_AC3;                   // 0x7A
extern const description DTS;                            // 0x7B
extern const description AAC;                            // 0x7C
extern const description XAIT_location;                  // 0x7D
extern const description FTA_content_management;         // 0x7E
extern const description T2_delivery_system;             // 0x7F/0x04
extern const description supplementary_audio;            // 0x7F/0x06
extern const description network_change_notify;          // 0x7F/0x07
extern const description message;                        // 0x7F/0x08
extern const description target_region;                  // 0x7F/0x09
extern const description target_region_name;             // 0x7F/0x0A
extern const description service_relocated;              // 0x7F/0x0B
extern const description C2_delivery_system;             // 0x7F/0x0D
extern const description T2MI;                           // 0x7F/0x11
extern const description URI_linkage;                    // 0x7F/0x13
extern const description AC4;                            // 0x7F/0x15
extern const description S2X_satellite_delivery_system;  // 0x7F/0x17
extern const description audio_preselection;             // 0x7F/0x19
extern const description TTML_subtitling;                // 0x7F/0x20
extern const description logical_channel_eacem;          // 0x83 of EACEM
extern const description hd_simulcast_logical_channel;   // 0x88 of EACEM
extern const description logical_channel_nordig;         // 0x83 of NorDig
// What the others of their kind show: an extension descriptor whose tag extension no
// description has, and a private descriptor that none has for its specifier.
extern const description extension;
extern const description user_defined;
}  // namespace descriptions

// The description of a descriptor with `tag`: for 0x7F the one of `extension` (or the
// extension fallback), for the private tags 0x80-0xFE the one of the private_data_specifier
// `specifier` in force (or the user-defined fallback); null when the tag is not described.
const description* find_description(std::uint8_t tag, int extension, std::uint64_t specifier);

// Every description, fallbacks last.
std::span<const description* const> catalogue();

}  // namespace lib13818
