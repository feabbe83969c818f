#pragma once

// Texts as the views show them: UTF-8, each on one line.

#include <string>
#include <string_view>

#include "lib13818/core/dvb_text.h"
#include "lib13818/core/values.h"

namespace kestrel::views {

// Turns every control character (C0, DEL, C1, the Unicode line and paragraph separators)
// of UTF-8 text into a blank, so that a name never breaks a line of the output.
void blank_controls(std::string& utf8);

// DVB text decoded and put on one line. `raw` still carries its selector at the front.
std::string shown(lib13818::dvb_text_decoder& decoder, const lib13818::DvbString& text);
std::string shown_raw(lib13818::dvb_text_decoder& decoder, std::string_view raw);

// A registry name on one line.
std::string shown_name(const char* latin1);

// A language or country code: its bytes up to the first NUL, on one line.
std::string shown_code(const lib13818::LanguageCode& code);

}  // namespace kestrel::views
