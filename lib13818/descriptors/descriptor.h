#pragma once

#include <cstdint>
#include <ostream>

#include "lib13818/core/reader.h"

namespace lib13818 {

// The base of every decoded descriptor: tag and length, a display name and a text dump.
// Descriptors are values, held by kind in the vectors of their table or loop entry.
class Descriptor {
  public:
    virtual ~Descriptor() = default;

    // The header line (tag in two hex digits and the name), then the fields. Leaves the
    // stream in hexadecimal with fill '0', as the field writers expect.
    void dump(std::ostream& out) const;
    virtual const char* name() const = 0;
    virtual void dump_body(std::ostream& out) const = 0;

    int32_t descriptor_tag = 0;
    int32_t descriptor_length = 0;

  protected:
    Descriptor() = default;
    Descriptor(const Descriptor&) = default;
    Descriptor& operator=(const Descriptor&) = default;
    // Reads tag and length from r, which spans exactly this descriptor.
    explicit Descriptor(reader& r);
};

// Where a descriptor loop must stop. Some loops must end exactly at their declared end;
// a descriptor there that runs past it is "descriptor start end mismatch". In the other
// loops such a descriptor is "too little data". Either way nothing outside the loop is read.
enum class loop_end { exact, lenient };

// Walks the descriptor loop over all of `loop` and calls visit(tag, reader) once per
// descriptor, the reader spanning exactly that descriptor from its tag byte.
template <class Visit>
void for_each_descriptor(reader loop, loop_end rule, Visit&& visit) {
    while (!loop.at_end()) {
        const std::uint8_t* p = loop.position();
        if (loop.remaining() < 2 || std::size_t{p[1]} + 2 > loop.remaining()) {
            if (rule == loop_end::exact) throw error(messages::start_end_mismatch, p);
            throw error(messages::too_little_data, p);
        }
        visit(p[0], loop.sub(std::size_t{p[1]} + 2));
    }
}

}  // namespace lib13818
