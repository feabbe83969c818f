#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace kestrel::encode {

using bytes = std::vector<std::uint8_t>;

// A date and time of day in UTC, as SI tables carry it (MJD and BCD).
struct utc_time {
    int year = 2000, month = 1, day = 1;
    int hour = 0, minute = 0, second = 0;
};

// Writes the fields of a section or descriptor front to back, big-endian, with the
// 12-bit (or 8-bit) length fields filled in once what they count is written.
class si_writer {
  public:
    void u8(std::uint32_t v) { out_.push_back(static_cast<std::uint8_t>(v)); }
    void u16(std::uint32_t v);
    void u24(std::uint32_t v);
    void u32(std::uint32_t v);
    void raw(std::span<const std::uint8_t> data) { out_.insert(out_.end(), data.begin(), data.end()); }
    void text(std::string_view s) { out_.insert(out_.end(), s.begin(), s.end()); }
    // An 8-bit length, then the text.
    void counted_text(std::string_view s);
    // A three-letter language or country code.
    void code(std::string_view three_letters);
    // 40 bits: MJD and hours, minutes, seconds in BCD.
    void time(const utc_time& t);
    // 24 bits of BCD hours, minutes, seconds.
    void duration(int hours, int minutes, int seconds);

    // A 16-bit field: `top` in its upper 4 bits, the length of what follows until
    // close_length in its lower 12. Returns where it stands.
    std::size_t open_length(std::uint8_t top = 0xF);
    void close_length(std::size_t at);
    // A one-byte length of what follows until close_short_length.
    std::size_t open_short_length();
    void close_short_length(std::size_t at);

    std::size_t size() const { return out_.size(); }
    bytes& data() { return out_; }

  private:
    bytes out_;
};

// Two BCD digits a byte, most significant first: bcd(1232200, 4) gives 01 23 22 00.
std::uint32_t bcd(std::uint32_t value, int bytes);

}  // namespace kestrel::encode
