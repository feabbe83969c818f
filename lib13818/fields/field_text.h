#pragma once

// The values of described fields as text, for the dump and the value rows alike.

#include <cstdint>
#include <string>

#include "lib13818/core/values.h"
#include "lib13818/fields/described_descriptor.h"

namespace lib13818 {

// The name of a coded value, from the field's table or rule; empty when it has none.
std::string value_name_of(const field& f, std::uint64_t value);

// True when `f` shows in dumps, rows and JSON: all but reserved bits.
bool is_shown(const field& f);

// An integer field as text: its quantity in its unit ("474000000 Hz", "19.2 degrees"),
// else the number in decimal, or in hexadecimal when `hex` is asked and the field has hex
// digits; " - " and the name follow for a coded value that has one.
std::string number_text(const decoded_field& f, bool hex);

// The quantity of a measured field's value without its unit: an integer, or a decimal
// fraction when the unit divides ("19.2").
std::string quantity_text(const unit& u, std::uint64_t value);

// The values of the 24- and 40-bit kinds.
LanguageCode language_of(std::uint64_t value);
UtcTime utc_time_of(std::uint64_t value);
Duration duration_of(std::uint64_t value);

}  // namespace lib13818
