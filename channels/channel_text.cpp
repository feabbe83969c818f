#include "channels/channel_text.h"

namespace kestrel::channels {

std::string plain_field(std::string_view text, std::string_view reserved, char replacement) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            out += ' ';
        else if (reserved.find(c) != std::string_view::npos)
            out += replacement;
        else
            out += c;
    }
    return out;
}

}  // namespace kestrel::channels
