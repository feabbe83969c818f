#include "views/set_tuner.h"

#include <cmath>

#include "lib13818/delivery/delivery_codes.h"

namespace kestrel::views {

std::variant<TUNERPARM, std::string> tuning_from(const lib13818::DescriptorSatelliteDeliverySystem& delivery,
                                                 const TUNERPARM& read_back, std::uint32_t read_result) {
    constexpr std::uint32_t dvb_s = 1;
    if (read_result != 0) return std::string("The current tuning could not be read from the card.");
    if (read_back.type != dvb_s) return std::string("The card is not a DVB-S card.");
    TUNERPARM tuning = read_back;
    tuning.frequency = delivery.frequency;
    tuning.word_a = delivery.polarization;
    tuning.word_b = delivery.FEC_inner;
    tuning.word_c = static_cast<std::uint32_t>(std::lround(delivery.symbol_rate * 1000));
    tuning.delivery =
        lib13818::satellite_delivery(lib13818::satellite_codes(delivery.modulation, delivery.FEC_inner));
    return tuning;
}

}  // namespace kestrel::views
