#include "analysis/continuity.h"

namespace kestrel::analysis {

continuity_state::outcome continuity_state::irregular(std::uint8_t counter, bool discontinuity) {
    const int last = last_;
    if (last < 0 || discontinuity) {
        last_ = counter;
        copy_seen_ = false;
        return {};
    }
    if (counter == last) {
        if (!copy_seen_) {
            copy_seen_ = true;
            return {};
        }
        return {verdict::extra_copy};
    }
    last_ = counter;
    copy_seen_ = false;
    return {verdict::jump, static_cast<std::uint8_t>((counter - last - 1 + 16) & 0x0F)};
}

}  // namespace kestrel::analysis
