#include "lib13818/tables/tot.h"

#include "lib13818/core/value_text.h"

namespace lib13818 {

void Tot::parse_body(reader body) {
    UTC_time = UtcTime::read(body);
    reader loop = body.sub(static_cast<std::size_t>(body.length12()));
    for_each_descriptor(loop, loop_end::exact, [this](int tag, reader d) {
        if (tag == 0x58)
            local_time_offset.emplace_back(d);
        else
            general.emplace_back(d);
    });
    CRC_32 = body.u32();
}

void Tot::dump(std::ostream& out) const {
    ShortSection::dump(out);
    out << "UTC_time: " << UTC_time << '\n' << "crc32: " << CRC_32 << '\n';
}

}  // namespace lib13818
