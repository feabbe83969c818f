#pragma once

#include <cstdint>

namespace lib13818 {

// The conditional-access provider of a CA_system_ID, by the block its first byte names;
// "unknown provider" outside the blocks known here.
const char* ca_provider_name(int32_t CA_system_ID);

}  // namespace lib13818
