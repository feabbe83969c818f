// libFuzzer target: arbitrary bytes as a run of sections into the guide's collector, then
// the guide built and written as text, JSON and XMLTV. Each section is given its CRC, so
// that the fuzzer reaches the decoders rather than the CRC check. Any crash, hang or
// exception is a finding.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

#include "epg/guide_builder.h"
#include "epg/guide_json.h"
#include "epg/guide_text.h"
#include "epg/xmltv_writer.h"
#include "lib13818/core/crc32.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    kestrel::epg::section_store store;
    // Sections one after another, each its section_length + 3 bytes; the CRC sealed when
    // the section is long enough to hold one.
    for (std::size_t at = 0; at + 3 <= size;) {
        const std::size_t length = 3 + (((data[at + 1] & 0x0F) << 8) | data[at + 2]);
        const std::size_t n = std::min(length, size - at);
        std::vector<std::uint8_t> section(data + at, data + at + n);
        if (section.size() >= 8 && section.size() == length) lib13818::seal_section(section);
        store.feed(section);
        at += n;
    }
    const kestrel::epg::guide g = kestrel::epg::build_guide(store, {});
    std::ostringstream out;
    kestrel::epg::write_text(out, g);
    kestrel::epg::write_json(out, g);
    kestrel::epg::write_xmltv(out, g, "kestrel/fuzz");
    return 0;
}
