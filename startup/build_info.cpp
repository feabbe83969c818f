#include "startup/build_info.h"

namespace kestrel::startup {

const char* version_text() {
    return KESTREL_VERSION;
}

std::uint32_t build_number() {
    return KESTREL_BUILD;
}

}  // namespace kestrel::startup
