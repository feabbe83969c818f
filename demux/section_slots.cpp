#include "demux/section_slots.h"

#include <algorithm>

namespace kestrel {

void section_slots::allocate(std::size_t count, std::size_t size) {
    bytes_.assign(count * size, 0);
    lengths_.assign(count, 0);
    size_ = size;
}

bool section_slots::store(std::size_t index, const std::uint8_t* section, std::size_t length) {
    if (index >= count()) return false;
    lengths_[index] = std::min(length, size_);
    std::copy_n(section, lengths_[index], bytes_.begin() + static_cast<std::ptrdiff_t>(index * size_));
    return true;
}

std::span<const std::uint8_t> section_slots::section(std::size_t index) const {
    if (index >= count()) return {};
    return {bytes_.data() + index * size_, lengths_[index]};
}

}  // namespace kestrel
