#pragma once

#include <ostream>

namespace lib13818 {

// Dumps every descriptor of each sequence, sequence by sequence, in the order given.
template <class... Sequences>
void dump_descriptors(std::ostream& out, const Sequences&... sequences) {
    auto dump_sequence = [&out](const auto& sequence) {
        for (const auto& d : sequence)
            d.dump(out);
    };
    (dump_sequence(sequences), ...);
}

}  // namespace lib13818
