#include "lib13818/tables/tdt.h"

#include "lib13818/core/value_text.h"

namespace lib13818 {

void Tdt::dump(std::ostream& out) const {
    ShortSection::dump(out);
    out << "UTC_time: " << UTC_time << '\n';
}

}  // namespace lib13818
