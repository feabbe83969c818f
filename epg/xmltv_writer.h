#pragma once

#include <cstddef>
#include <ostream>
#include <string>

#include "epg/guide.h"

namespace kestrel::epg {

// The guide as an XMLTV document (the XMLTV project's xmltv.dtd): <tv generator-info-name>,
// a <channel id="SID.TSID.ONID.dvb.guide"> (decimal) with its display name and
// <url system="dvb">dvb://onid.tsid.sid</url> (hex) for each service with a titled event
// that has a start, then a <programme start stop channel> per such event, its children in
// the DTD's order. Times are UTC, "YYYYMMDDhhmmss +0000". Events without a title or a valid
// start are left out; an empty description is omitted; texts other than the description
// hold no line breaks. Returns the number of programmes written.
std::size_t write_xmltv(std::ostream& out, const guide& g, const std::string& generator);

// The channel id of a service: "SID.TSID.ONID.dvb.guide".
std::string channel_id(const service_key& key);

// Writes the document to `path` whole or not at all: into a temporary file beside it,
// renamed over it when complete (an existing file is replaced). "" or the reason it failed.
std::string write_xmltv_file(const std::string& path, const guide& g, const std::string& generator,
                             std::size_t& programmes);

}  // namespace kestrel::epg
