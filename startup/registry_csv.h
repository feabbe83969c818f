#pragma once

#include <istream>
#include <vector>

#include "lib13818/names/registry.h"

namespace kestrel::startup {

// The rows of a registry file: CSV (RFC 4180) with the header "id,name", one identifier a
// row as "0xNNNN", names in UTF-8, converted here to ISO 8859-1.
struct RegistryFile {
    std::vector<lib13818::RegistryRow> rows;
    // Rows that could not be read (no id, an id that is not a 16-bit hex number, no name).
    int skipped = 0;
};

RegistryFile read_registry_csv(std::istream& in);

}  // namespace kestrel::startup
