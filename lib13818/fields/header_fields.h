#pragma once

#include "lib13818/fields/description.h"

namespace lib13818::header_fields {

// The fields the framework reads itself: the head of every descriptor, and what covers the
// bytes after its last described field.
inline constexpr field tag = describe::uimsbf("descriptor_tag", 8).hex(2);
inline constexpr field length = describe::uimsbf("descriptor_length", 8);
inline constexpr field extension = describe::uimsbf("descriptor_tag_extension", 8).hex(2);
inline constexpr field padding = describe::reserved(0);
inline constexpr field additional_bytes = describe::bytes("additional_bytes", describe::rest());

// True for the header's fields, which every description has without naming them.
bool is_header(const field& f);

}  // namespace lib13818::header_fields
