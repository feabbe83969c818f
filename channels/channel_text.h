#pragma once

// Texts of the scan as a channel list's line-based formats can carry them.

#include <string>
#include <string_view>

namespace kestrel::channels {

// `text` with control characters (line breaks among them) as blanks and each character of
// `reserved` (the format's separators) replaced by `replacement`.
std::string plain_field(std::string_view text, std::string_view reserved, char replacement);

}  // namespace kestrel::channels
