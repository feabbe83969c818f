#pragma once

#include <charconv>
#include <string_view>

namespace kestrel::cli {

// A whole number as the commands take it: all of `text`, in `base`, from low to high.
template <class Number>
bool whole_number(std::string_view text, Number low, Number high, Number& out, int base = 10) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), out, base);
    return !text.empty() && error == std::errc() && end == text.data() + text.size() && out >= low &&
           out <= high;
}

}  // namespace kestrel::cli
