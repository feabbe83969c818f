#include "scan/table_selection.h"

#include "settings/keys.h"

namespace kestrel {

bool table_selection::enabled(table_bit bit) const {
    const std::int32_t mask = mask_ ? *mask_ : store_->read_int(settings::table, settings::enable, bit);
    return (mask & bit) != 0;
}

}  // namespace kestrel
