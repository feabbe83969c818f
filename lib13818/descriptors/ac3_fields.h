#pragma once

#include "lib13818/fields/description.h"

namespace lib13818::descriptions {

// What the AC-3 and enhanced AC-3 descriptors share (ETSI EN 300 468 V1.16.1 Annex D): four
// flags first, each announcing one of the optional bytes after the flags.
inline constexpr field ac3_flag_fields[] = {
    describe::flag("component_type_flag"),
    describe::flag("bsid_flag"),
    describe::flag("mainid_flag"),
    describe::flag("asvc_flag"),
};
inline constexpr record ac3_flags{"flags", ac3_flag_fields};

inline constexpr field ac3_optional_fields[] = {
    describe::uimsbf("component_type", 8).when_set("component_type_flag"),
    describe::uimsbf("bsid", 8).when_set("bsid_flag"),
    describe::uimsbf("mainid", 8).when_set("mainid_flag"),
    describe::uimsbf("asvc", 8).when_set("asvc_flag"),
};
inline constexpr record ac3_optional{"optional", ac3_optional_fields};

}  // namespace lib13818::descriptions
