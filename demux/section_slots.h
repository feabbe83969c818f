#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace kestrel {

// A handler's section buffer: a fixed number of fixed-size slots, allocated once, each
// remembering how many bytes it holds so that a parse is never given more.
class section_slots {
  public:
    // count empty slots of size bytes each.
    void allocate(std::size_t count, std::size_t size);

    std::size_t count() const { return lengths_.size(); }
    std::size_t size() const { return size_; }

    // Copies the section into slot `index`, cut to the slot size; false (and nothing
    // copied) when there is no such slot.
    bool store(std::size_t index, const std::uint8_t* section, std::size_t length);
    // The bytes slot `index` holds (none for an empty or missing slot).
    std::span<const std::uint8_t> section(std::size_t index) const;

  private:
    std::vector<std::uint8_t> bytes_;
    std::vector<std::size_t> lengths_;
    std::size_t size_ = 0;
};

}  // namespace kestrel
