#pragma once

// For the benchmarks: every operator new and delete of the program is counted, so that a
// benchmark can say how much heap a call held at its peak.

#include <cstddef>

namespace kestrel::bench {

// Starts a measurement: the peak becomes the heap in use now.
void reset_heap_peak();
// The most heap in use since reset_heap_peak, above what was in use then, in bytes.
std::size_t heap_peak_since_reset();

}  // namespace kestrel::bench
