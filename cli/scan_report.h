#pragma once

// What `kestrel-cli scan` prints of the scan result on standard output.

#include <cstdio>

#include "model/scan_result.h"

namespace kestrel::cli {

struct scan_request;

// The output the request asks for, once the scan has ended: the table tree (with the
// value rows), the JSON report or else the summary below. Returns
// the command's exit status for the output alone (0 when it was written).
int report_scan(const scan_request& request, const AllNetworks& networks, std::FILE* out);

// Per network "%04X - NAME" (the registry's name of the original_network_id), under it
// each transponder's label indented two blanks, under that, indented four, one line per
// table kind that holds something: "NAME: N sections", with ", M programs" for PAT and
// PMT (program 0 not counted) and ", M services" for the SDTs.
void print_summary(const AllNetworks& networks, std::FILE* out);

}  // namespace kestrel::cli
