#include "device/tuner_params.h"

#include <algorithm>
#include <iterator>

namespace kestrel {

namespace {

using lib13818::Modulation;

constexpr Modulation qam_words[] = {Modulation::qam_16, Modulation::qam_32, Modulation::qam_64,
                                    Modulation::qam_128, Modulation::qam_256};
constexpr std::int32_t bandwidth_codes_hz[] = {7000000, 8000000};  // codes 1 and 2

}  // namespace

Modulation modulation_of_qam_word(std::uint32_t word) {
    return word >= 1 && word <= std::size(qam_words) ? qam_words[word - 1] : Modulation::automatic;
}

std::optional<std::uint32_t> qam_word_of(Modulation modulation) {
    const auto* it = std::find(std::begin(qam_words), std::end(qam_words), modulation);
    if (it == std::end(qam_words)) return std::nullopt;
    return static_cast<std::uint32_t>(it - std::begin(qam_words)) + 1;
}

std::int32_t bandwidth_hz_of_code(std::uint32_t code) {
    return code >= 1 && code <= std::size(bandwidth_codes_hz) ? bandwidth_codes_hz[code - 1]
                                                              : lib13818::automatic;
}

std::optional<std::uint32_t> bandwidth_code_of(std::int32_t bandwidth_hz) {
    constexpr std::uint32_t automatic_code = 3;
    if (bandwidth_hz == lib13818::automatic) return automatic_code;
    const auto* it = std::find(std::begin(bandwidth_codes_hz), std::end(bandwidth_codes_hz), bandwidth_hz);
    if (it == std::end(bandwidth_codes_hz)) return std::nullopt;
    return static_cast<std::uint32_t>(it - std::begin(bandwidth_codes_hz)) + 1;
}

}  // namespace kestrel
