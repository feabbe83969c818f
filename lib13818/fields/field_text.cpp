#include "lib13818/fields/field_text.h"

#include <cstdio>

namespace lib13818 {

std::string value_name_of(const field& f, std::uint64_t value) {
    if (f.describe != nullptr) return f.describe(value);
    for (const value_name& n : f.names)
        if (n.value == value) return n.name;
    return {};
}

bool is_shown(const field& f) {
    return f.kind != field_kind::reserved;
}

std::string quantity_text(const unit& u, std::uint64_t value) {
    const std::uint64_t scaled = value * u.multiplier;
    if (u.divisor == 1) return std::to_string(scaled);
    int decimals = 0;
    for (std::uint32_t d = u.divisor; d > 1; d /= 10)
        ++decimals;
    std::string whole = std::to_string(scaled / u.divisor);
    std::string fraction = std::to_string(scaled % u.divisor);
    fraction.insert(0, static_cast<std::size_t>(decimals) - fraction.size(), '0');
    return whole + "." + fraction;
}

std::string number_text(const decoded_field& f, bool hex) {
    const field& spec = *f.spec;
    if (spec.kind == field_kind::specifier && f.value == decoded_field::no_specifier) return "no specifier";
    std::string text;
    if (spec.measure != nullptr) {
        text = quantity_text(*spec.measure, f.value) + " " + spec.measure->text;
    } else if (hex && spec.hex_digits > 0) {
        char digits[24];
        std::snprintf(digits, sizeof digits, "%0*llx", spec.hex_digits,
                      static_cast<unsigned long long>(f.value));
        text = digits;
    } else {
        text = std::to_string(f.value);
    }
    const std::string name = value_name_of(spec, f.value);
    return name.empty() ? text : text + " - " + name;
}

LanguageCode language_of(std::uint64_t value) {
    return {static_cast<char>(value >> 16), static_cast<char>(value >> 8), static_cast<char>(value), '\0'};
}

UtcTime utc_time_of(std::uint64_t value) {
    const std::uint8_t bytes[5] = {static_cast<std::uint8_t>(value >> 32),
                                   static_cast<std::uint8_t>(value >> 24),
                                   static_cast<std::uint8_t>(value >> 16),
                                   static_cast<std::uint8_t>(value >> 8), static_cast<std::uint8_t>(value)};
    reader r(bytes, sizeof bytes);
    return UtcTime::read(r);
}

Duration duration_of(std::uint64_t value) {
    return {bcd(static_cast<std::uint8_t>(value >> 16)), bcd(static_cast<std::uint8_t>(value >> 8)),
            bcd(static_cast<std::uint8_t>(value))};
}

}  // namespace lib13818
