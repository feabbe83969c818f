#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "lib13818/core/dvb_text.h"

namespace kestrel::cli {

// The --charset of this run ("" when the user gave none). main sets it once, after
// checking the name, before a command runs.
void set_charset_override(std::string name);
const std::string& charset_override();

// The table for DVB texts without a selector: the run's --charset when given, else the
// one the texts themselves suggest (guess_default_charset).
std::string default_charset(const std::vector<std::string_view>& selectorless_texts);

// A decoder for the texts of these sections: default_charset over the selector-less texts
// of their EIT and SDT sections (sections that do not decode give none).
lib13818::dvb_text_decoder sections_text_decoder(const std::vector<std::span<const std::uint8_t>>& sections);

}  // namespace kestrel::cli
