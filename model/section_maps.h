#pragma once

// The containers of a scanned transport stream that the table collectors file their
// parsed sections into, keyed the way a collector tells sections apart.

#include <cstdint>
#include <map>
#include <span>
#include <utility>
#include <vector>

#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tables/sdt.h"

namespace kestrel {

// The section_length + 3 bytes at the front of `received` (fewer when fewer came).
std::vector<std::uint8_t> received_section(std::span<const std::uint8_t> received);

// A table as the scan files it: the decoded section and, beside it, the section's bytes as
// received (table_id to CRC_32) for the display of its fields. The decoders keep values only,
// which keeps decoding lean. A table filed without its bytes (made by hand, read back from
// elsewhere) keeps none.
template <class Table>
struct with_bytes : Table {
    with_bytes() = default;
    explicit with_bytes(Table table) : Table(std::move(table)) {}

    void keep(std::span<const std::uint8_t> received) { bytes = received_section(received); }

    std::vector<std::uint8_t> bytes;
};

// NIT sections by network_id, then section_number.
using NitMap = std::map<int, std::map<int, with_bytes<lib13818::Nit>>>;
// SDT sections by original_network_id, transport_stream_id, then section_number.
using SdtMap = std::map<int, std::map<int, std::map<int, with_bytes<lib13818::Sdt>>>>;
// EIT sections by original_network_id, transport_stream_id, service_id, then section_number.
using EitMap = std::map<int, std::map<int, std::map<int, std::map<int, with_bytes<lib13818::Eit>>>>>;
// PMTs in the order they were parsed.
using PmtList = std::vector<with_bytes<lib13818::Pmt>>;
// PAT sections in the order they were parsed.
using PatList = std::vector<with_bytes<lib13818::Pat>>;

// Files a parsed section under its own key fields; a section filed under a key already
// present replaces the earlier one.
void file_section(NitMap& map, with_bytes<lib13818::Nit> nit);
void file_section(SdtMap& map, with_bytes<lib13818::Sdt> sdt);
void file_section(EitMap& map, with_bytes<lib13818::Eit> eit);

}  // namespace kestrel
