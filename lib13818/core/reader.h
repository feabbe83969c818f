#pragma once

#include <cstddef>
#include <cstdint>

#include "lib13818/core/error.h"

namespace lib13818 {

// A bounded forward view over section bytes. Every decoder reads through one, so no
// declared length can make it read outside the bytes it was given: reading past the
// end throws "too little data" with the position where the read would have started.
// A reader also knows where its section starts, so that decoders can say where a field
// stands in the section; a reader made from bare bytes counts from their first.
class reader {
  public:
    reader() = default;
    reader(const std::uint8_t* data, std::size_t size) : origin_(data), pos_(data), end_(data + size) {}
    // The `size` bytes at `data`, inside the section that starts at `origin`.
    reader(const std::uint8_t* origin, const std::uint8_t* data, std::size_t size)
        : origin_(origin), pos_(data), end_(data + size) {}

    std::size_t remaining() const { return static_cast<std::size_t>(end_ - pos_); }
    bool at_end() const { return pos_ == end_; }
    const std::uint8_t* position() const { return pos_; }
    const std::uint8_t* end() const { return end_; }
    const std::uint8_t* origin() const { return origin_; }
    // Where the next byte stands in the section.
    std::size_t offset() const { return static_cast<std::size_t>(pos_ - origin_); }

    std::uint8_t u8() {
        need(1);
        return *pos_++;
    }
    std::uint16_t u16() {
        need(2);
        std::uint16_t v = static_cast<std::uint16_t>((pos_[0] << 8) | pos_[1]);
        pos_ += 2;
        return v;
    }
    std::uint32_t u32() {
        need(4);
        std::uint32_t v = (std::uint32_t{pos_[0]} << 24) | (std::uint32_t{pos_[1]} << 16) |
                          (std::uint32_t{pos_[2]} << 8) | pos_[3];
        pos_ += 4;
        return v;
    }
    // The 12-bit length field in the low bits of the next two bytes.
    int32_t length12() { return u16() & 0x0FFF; }

    // The next n bytes, consumed.
    const std::uint8_t* bytes(std::size_t n) {
        need(n);
        const std::uint8_t* p = pos_;
        pos_ += n;
        return p;
    }
    void skip(std::size_t n) { bytes(n); }

    // A reader over the next n bytes, which this reader then skips.
    reader sub(std::size_t n) {
        const std::uint8_t* p = bytes(n);
        return reader(origin_, p, n);
    }

    // Throws "too little data" unless n more bytes are there.
    void need(std::size_t n) const {
        if (n > remaining()) throw error(messages::too_little_data, pos_);
    }

  private:
    const std::uint8_t* origin_ = nullptr;
    const std::uint8_t* pos_ = nullptr;
    const std::uint8_t* end_ = nullptr;
};

}  // namespace lib13818
