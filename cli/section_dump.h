#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>

namespace kestrel::cli {

// Decodes one complete section by its table_id and writes the table's dump (its texts
// through the decoder attached to `out`), or "error: <what> at byte N" when the table
// library refuses it (N counted from the table_id byte; no position when the fault has
// none), or
// "unsupported table_id 0xNN" for a table it does not know.
void dump_section(std::ostream& out, const std::uint8_t* section, std::size_t size);

}  // namespace kestrel::cli
