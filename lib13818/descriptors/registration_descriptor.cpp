#include <string>

#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

// The identifier is four characters registered with the SMPTE registration authority.
std::string four_characters(std::uint64_t value) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const auto c = static_cast<char>((value >> shift) & 0xFF);
        text += c >= 0x20 && c < 0x7F ? c : '.';
    }
    return text;
}

constexpr field fields[] = {
    uimsbf("format_identifier", 32).hex(8).described_by(four_characters),
    bytes("additional_identification_info", rest()),
};
}  // namespace

// registration_descriptor, tag 0x05 (ISO/IEC 13818-1:2018 clause 2.6.8): the registered format of
// private data ("CUEI", "AC-3", "HEVC").
constexpr description registration{.name = "registration_descriptor", .tag = 0x05, .body = {"", fields}};

}  // namespace lib13818::descriptions
