#include "lib13818/tables/tot.h"

#include "lib13818/core/value_text.h"
#include "lib13818/descriptors/dump_descriptors.h"
#include "lib13818/fields/described_loop.h"

namespace lib13818 {

void Tot::parse_body(reader body) {
    UTC_time = UtcTime::read(body);
    reader loop = body.sub(static_cast<std::size_t>(body.length12()));
    described_loop others(general, described, warnings);
    for_each_descriptor(loop, loop_end::exact, [&](int tag, reader d) {
        if (tag == 0x58)
            local_time_offset.emplace_back(d);
        else
            others.add(d);
    });
    CRC_32 = body.u32();
}

void Tot::dump(std::ostream& out) const {
    ShortSection::dump(out);
    out << "UTC_time: " << UTC_time << '\n' << "crc32: " << CRC_32 << '\n';
    dump_warnings(out, warnings);
    dump_descriptors(out, described);
}

}  // namespace lib13818
