#include "lib13818/core/dvb_text.h"

namespace lib13818 {

// First stand-in: every byte read as ISO 8859-1, selectors skipped.
struct dvb_text_decoder::converters {};

namespace {

std::string latin1_to_utf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (b < 0x80) {
            out += c;
        } else {
            out += static_cast<char>(0xC0 | (b >> 6));
            out += static_cast<char>(0x80 | (b & 0x3F));
        }
    }
    return out;
}

}  // namespace

dvb_text_decoder::dvb_text_decoder(std::string default_charset)
    : default_charset_(std::move(default_charset)), converters_(std::make_unique<converters>()) {}
dvb_text_decoder::~dvb_text_decoder() = default;
dvb_text_decoder::dvb_text_decoder(dvb_text_decoder&&) noexcept = default;
dvb_text_decoder& dvb_text_decoder::operator=(dvb_text_decoder&&) noexcept = default;

std::string dvb_text_decoder::to_utf8(const DvbString& text) {
    return latin1_to_utf8(text.text);
}

std::string dvb_text_decoder::to_utf8(std::string_view raw) {
    if (!raw.empty() && static_cast<unsigned char>(raw[0]) < 0x20) raw.remove_prefix(1);
    return latin1_to_utf8(raw);
}

std::string guess_default_charset(const std::vector<std::string_view>&) {
    return "";
}

}  // namespace lib13818
