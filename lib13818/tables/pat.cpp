#include "lib13818/tables/pat.h"

#include <iomanip>

namespace lib13818 {

void Pat::parse_body(reader body) {
    constexpr std::size_t entry_size = 4;
    if (body.remaining() % entry_size != 0) throw error(error::kind_pat_loop);
    while (!body.at_end()) {
        PatProgram p;
        p.program_number = body.u16();
        p.PID = body.u16() & 0x1FFF;
        programs.push_back(p);
    }
}

void Pat::dump(std::ostream& out) const {
    out << std::hex << std::setfill(' ');
    for (const PatProgram& p : programs) {
        out << "program_number: " << std::setw(4) << p.program_number << '\n'
            << "program_map_pid: " << std::setw(4) << p.PID << '\n';
    }
    out << std::dec;
}

}  // namespace lib13818
