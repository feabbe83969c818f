#include "lib13818/names/stream_type_names.h"

#include <iterator>

namespace lib13818 {

const char* stream_type_name(int32_t stream_type) {
    static const char* const names[] = {
        "RESERVED",
        "ISO11172 VIDEO",
        "ISO13818-2 VIDEO",
        "ISO11172 AUDIO",
        "ISO13818-3 AUDIO",
        "ISO13818-1 PRIVATE SECTIONS",
        "ISO13818-1 PRIVATE DATA PES",
        "ISO13522 MHEG",
        "ISO13818-1 Annex A DSM CC",
        "ITU-T H.222.1",
        "ISO13818-6 TYPE A",
        "ISO13818-6 TYPE B",
        "ISO13818-6 TYPE C",
        "ISO13818-6 TYPE D",
        "ISO13818-1 AUXILIARY",
    };
    if (stream_type >= 0 && stream_type < static_cast<int32_t>(std::size(names))) return names[stream_type];
    return stream_type >= 0x80 ? "USER PRIVATE" : "RESERVED";
}

}  // namespace lib13818
