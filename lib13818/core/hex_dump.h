#pragma once

#include <cstdint>
#include <ostream>
#include <vector>

namespace lib13818 {

// Writes bytes 16 a line: each as two hex digits and a blank, then " : " and the same
// bytes as characters, '.' for any that is not a letter. A short last line is padded.
void hex_dump(std::ostream& out, const std::vector<std::uint8_t>& bytes);

}  // namespace lib13818
