#include "views/display_text.h"

#include <cstring>

namespace kestrel::views {

void blank_controls(std::string& utf8) {
    std::size_t out = 0;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const auto next = i + 1 < utf8.size() ? static_cast<unsigned char>(utf8[i + 1]) : 0;
        if (b < 0x20 || b == 0x7F) {
            utf8[out++] = ' ';
        } else if (b == 0xC2 && next >= 0x80 && next <= 0x9F) {  // U+0080..U+009F
            utf8[out++] = ' ';
            i += 1;
        } else if (b == 0xE2 && next == 0x80 && i + 2 < utf8.size() &&
                   (utf8[i + 2] == '\xA8' || utf8[i + 2] == '\xA9')) {  // U+2028, U+2029
            utf8[out++] = ' ';
            i += 2;
        } else {
            utf8[out++] = utf8[i];
        }
    }
    utf8.resize(out);
}

std::string shown(lib13818::dvb_text_decoder& decoder, const lib13818::DvbString& text) {
    std::string out = decoder.to_utf8(text);
    blank_controls(out);
    return out;
}

std::string shown_raw(lib13818::dvb_text_decoder& decoder, std::string_view raw) {
    std::string out = decoder.to_utf8(raw);
    blank_controls(out);
    return out;
}

std::string shown_name(const char* latin1) {
    std::string out = lib13818::latin1_to_utf8(latin1);
    blank_controls(out);
    return out;
}

std::string shown_code(const lib13818::LanguageCode& code) {
    std::string out =
        lib13818::latin1_to_utf8(std::string_view(code.data(), strnlen(code.data(), code.size())));
    blank_controls(out);
    return out;
}

}  // namespace kestrel::views
