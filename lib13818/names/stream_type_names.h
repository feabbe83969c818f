#pragma once

#include <cstdint>

namespace lib13818 {

// The display name of a PMT stream_type (ISO/IEC 13818-1 Table 2-34 as far as 0x0E).
const char* stream_type_name(int32_t stream_type);

}  // namespace lib13818
