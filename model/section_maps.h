#pragma once

// The containers of a scanned transport stream that the table collectors file their
// parsed sections into, keyed the way a collector tells sections apart.

#include <algorithm>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

#include "lib13818/core/section.h"

#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tables/sdt.h"

namespace kestrel {

// NIT sections by network_id, then section_number.
using NitMap = std::map<int, std::map<int, lib13818::Nit>>;
// SDT sections by original_network_id, transport_stream_id, then section_number.
using SdtMap = std::map<int, std::map<int, std::map<int, lib13818::Sdt>>>;
// EIT sections by original_network_id, transport_stream_id, service_id, then section_number.
using EitMap = std::map<int, std::map<int, std::map<int, std::map<int, lib13818::Eit>>>>;
// PMTs in the order they were parsed.
using PmtList = std::vector<lib13818::Pmt>;
// PAT sections in the order they were parsed.
using PatList = std::vector<lib13818::Pat>;

// Files a parsed section under its own key fields; a section filed under a key already
// present replaces the earlier one.
void file_section(NitMap& map, lib13818::Nit nit);
void file_section(SdtMap& map, lib13818::Sdt sdt);
void file_section(EitMap& map, lib13818::Eit eit);

// Keeps the bytes of a parsed section in its table, for the display of its fields: the
// section_length + 3 bytes at the front of `received` (fewer when fewer came).
template <class Table>
void keep_section_bytes(Table& table, std::span<const std::uint8_t> received) {
    const std::size_t size =
        std::min(lib13818::section_size(received.data(), received.size()), received.size());
    table.bytes.assign(received.begin(), received.begin() + static_cast<std::ptrdiff_t>(size));
}

}  // namespace kestrel
