// libFuzzer target: arbitrary bytes into every table's parse, and the dump of whatever
// parses; the same bytes as one descriptor loop, so that every described descriptor meets
// them without a section around it. Any outcome but a parsed table or a lib13818::error is
// a finding.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <vector>

#include "lib13818/core/crc32.h"
#include "lib13818/core/error.h"
#include "lib13818/fields/described_loop.h"
#include "lib13818/tables/bat.h"
#include "lib13818/tables/cat.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tables/rst.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tables/tdt.h"
#include "lib13818/tables/tot.h"

namespace {

template <class Table>
void parse_and_dump(const std::uint8_t* data, std::size_t size) {
    Table table;
    try {
        table.parse(data, size);
    } catch (const lib13818::error&) {
        return;
    }
    std::ostringstream out;
    table.dump(out);
}

using Parser = void (*)(const std::uint8_t*, std::size_t);

// Every table of the library, one line each.
constexpr Parser tables[] = {
    parse_and_dump<lib13818::Pat>, parse_and_dump<lib13818::Cat>, parse_and_dump<lib13818::Pmt>,
    parse_and_dump<lib13818::Nit>, parse_and_dump<lib13818::Sdt>, parse_and_dump<lib13818::Bat>,
    parse_and_dump<lib13818::Eit>, parse_and_dump<lib13818::Tdt>, parse_and_dump<lib13818::Tot>,
    parse_and_dump<lib13818::Rst>,
};

void feed(const std::vector<std::uint8_t>& bytes) {
    for (Parser parse : tables)
        parse(bytes.data(), bytes.size());
}

// The bytes as the descriptors of one loop, each dumped.
void feed_descriptors(const std::uint8_t* data, std::size_t size) {
    std::vector<lib13818::DescriptorGeneric> general;
    std::vector<lib13818::DescriptorDescribed> described;
    std::vector<lib13818::SectionWarning> warnings;
    lib13818::described_loop loop(general, described, warnings);
    try {
        lib13818::for_each_descriptor(lib13818::reader(data, size), lib13818::loop_end::lenient,
                                      [&](int, lib13818::reader d) { loop.add(d); });
    } catch (const lib13818::error&) {
    }
    std::ostringstream out;
    for (const auto& d : described)
        d.dump(out);
}

void append_crc(std::vector<std::uint8_t>& bytes) {
    bytes.resize(bytes.size() + 4);
    lib13818::seal_section(bytes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The bytes as they stand: nearly always a CRC error, but the length checks run.
    feed(std::vector<std::uint8_t>(data, data + size));
    feed_descriptors(data, size);

    // The bytes with a correct CRC appended, so that the decoders behind the CRC run.
    std::vector<std::uint8_t> with_crc(data, data + size);
    append_crc(with_crc);
    feed(with_crc);

    // The same with section_length fitted to the bytes, so that every input reaches a body.
    constexpr std::size_t header_size = 3;
    constexpr std::size_t max_section_length = 0x0FFF;
    if (size >= header_size && size + 4 - header_size <= max_section_length) {
        std::vector<std::uint8_t> fitted(data, data + size);
        const std::size_t length = size + 4 - header_size;
        fitted[1] = static_cast<std::uint8_t>((fitted[1] & 0xF0) | (length >> 8));
        fitted[2] = static_cast<std::uint8_t>(length & 0xFF);
        append_crc(fitted);
        feed(fitted);
    }
    return 0;
}
