#include "lib13818/core/charset_tables.h"
#include "lib13818/core/dvb_text.h"

namespace lib13818 {

namespace {

bool is_lower(std::uint8_t b) {
    return b >= 'a' && b <= 'z';
}

// How strongly one byte and its neighbours speak for each reading. A 6937 mark stands
// before a letter that takes its accent; the same byte in 8859 is an upper-case accented
// letter, usually followed by anything else. 0xE0-0xEF are upper-case letters in 6937 but
// the commonest accented lower-case letters of 8859 (é, è, à, ç); 0xF0-0xFF are lower-case
// in both (ø, ß, æ in 6937), so they count less.
struct votes {
    int iso6937 = 0;
    int iso8859 = 0;

    void add(std::string_view text, std::size_t i) {
        const auto at = [&](std::size_t k) {
            return k < text.size() ? static_cast<std::uint8_t>(text[k]) : 0;
        };
        const std::uint8_t b = at(i);
        if (is_6937_mark(b)) {
            const std::uint8_t next = at(i + 1);
            (next != ' ' && combine_6937(b, next) != nullptr ? iso6937 : iso8859) += 2;
        } else if (b >= 0xE0 && i > 0 && is_lower(at(i - 1)) && is_lower(at(i + 1))) {
            iso8859 += b < 0xF0 ? 2 : 1;
        }
    }
};

}  // namespace

std::string guess_default_charset(const std::vector<std::string_view>& selectorless_texts) {
    votes v;
    for (const std::string_view text : selectorless_texts)
        for (std::size_t i = 0; i < text.size(); ++i)
            if (static_cast<std::uint8_t>(text[i]) >= 0xC1) v.add(text, i);
    // Latin-9 rather than Latin-1: it has the euro sign, and the letters French, German
    // and the Nordic languages use are the same in both.
    return v.iso8859 > v.iso6937 ? "ISO-8859-15" : "";
}

}  // namespace lib13818
