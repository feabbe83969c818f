#pragma once

// The table of described descriptors: each descriptor's file (lib13818/descriptors/
// *_descriptor.cpp) defines one of these; catalogue.cpp lists them for the loops' lookup.
// Consumers compare a decoded descriptor with one of them: d.is(descriptions::parental_rating).

#include <cstdint>
#include <span>

#include "lib13818/fields/description.h"

namespace lib13818 {

namespace descriptions {
extern const description network_name;                   // 0x40
extern const description cable_delivery_system;          // 0x44
extern const description bouquet_name;                   // 0x47
extern const description parental_rating;                // 0x55
extern const description subtitling;                     // 0x59
extern const description terrestrial_delivery_system;    // 0x5A
extern const description private_data_specifier;         // 0x5F
extern const description frequency_list;                 // 0x62
extern const description data_broadcast_id;              // 0x66
extern const description AC3;                            // 0x6A
extern const description application_signalling;         // 0x6F
extern const description S2_satellite_delivery_system;   // 0x79
extern const description enhanced_AC3;                   // 0x7A
extern const description AAC;                            // 0x7C
extern const description carousel_identifier;            // 0x13
extern const description association_tag;                // 0x14
extern const description T2_delivery_system;             // 0x7F/0x04
extern const description C2_delivery_system;             // 0x7F/0x0D
extern const description S2X_satellite_delivery_system;  // 0x7F/0x17
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
