#pragma once

#include <string>
#include <string_view>

namespace kestrel::startup {

// UTF-8 text from a data file as the single-byte (ISO 8859-1) text the table library and
// the views use: characters up to U+00FF become their byte, typographic quotes and dashes
// their ASCII forms, and any other character (or a malformed sequence) "?".
std::string utf8_to_latin1(std::string_view utf8);

// The single-byte text of the name tables shown again as UTF-8.
std::string latin1_to_utf8(std::string_view latin1);

}  // namespace kestrel::startup
