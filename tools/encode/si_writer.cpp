#include "tools/encode/si_writer.h"

#include <stdexcept>

namespace kestrel::encode {

namespace {

// Modified Julian Date of a Gregorian date (ETSI EN 300 468 annex C).
std::uint32_t mjd(int year, int month, int day) {
    const int l = (month == 1 || month == 2) ? 1 : 0;
    const int y = year - 1900;
    return static_cast<std::uint32_t>(14956 + day + static_cast<int>((y - l) * 365.25) +
                                      static_cast<int>((month + 1 + l * 12) * 30.6001));
}

}  // namespace

std::uint32_t bcd(std::uint32_t value, int bytes) {
    std::uint32_t out = 0;
    for (int i = 0; i < bytes * 2; ++i) {
        out |= (value % 10) << (4 * i);
        value /= 10;
    }
    return out;
}

void si_writer::u16(std::uint32_t v) {
    u8(v >> 8);
    u8(v);
}

void si_writer::u24(std::uint32_t v) {
    u8(v >> 16);
    u16(v);
}

void si_writer::u32(std::uint32_t v) {
    u16(v >> 16);
    u16(v);
}

void si_writer::counted_text(std::string_view s) {
    if (s.size() > 255) throw std::length_error("text longer than 255 bytes");
    u8(static_cast<std::uint32_t>(s.size()));
    text(s);
}

void si_writer::code(std::string_view three_letters) {
    if (three_letters.size() != 3) throw std::invalid_argument("a code has three letters");
    text(three_letters);
}

void si_writer::time(const utc_time& t) {
    u16(mjd(t.year, t.month, t.day));
    u8(bcd(static_cast<std::uint32_t>(t.hour), 1));
    u8(bcd(static_cast<std::uint32_t>(t.minute), 1));
    u8(bcd(static_cast<std::uint32_t>(t.second), 1));
}

void si_writer::duration(int hours, int minutes, int seconds) {
    u8(bcd(static_cast<std::uint32_t>(hours), 1));
    u8(bcd(static_cast<std::uint32_t>(minutes), 1));
    u8(bcd(static_cast<std::uint32_t>(seconds), 1));
}

std::size_t si_writer::open_length(std::uint8_t top) {
    const std::size_t at = out_.size();
    u16(std::uint32_t{top} << 12);
    return at;
}

void si_writer::close_length(std::size_t at) {
    const std::size_t length = out_.size() - at - 2;
    if (length > 0x0FFF) throw std::length_error("loop longer than 4095 bytes");
    out_[at] = static_cast<std::uint8_t>((out_[at] & 0xF0) | (length >> 8));
    out_[at + 1] = static_cast<std::uint8_t>(length);
}

std::size_t si_writer::open_short_length() {
    u8(0);
    return out_.size() - 1;
}

void si_writer::close_short_length(std::size_t at) {
    const std::size_t length = out_.size() - at - 1;
    if (length > 0xFF) throw std::length_error("descriptor longer than 255 bytes");
    out_[at] = static_cast<std::uint8_t>(length);
}

}  // namespace kestrel::encode
