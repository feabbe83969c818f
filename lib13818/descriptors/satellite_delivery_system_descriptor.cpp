#include "lib13818/descriptors/satellite_delivery_system_descriptor.h"

#include "lib13818/core/values.h"

namespace lib13818 {

namespace {
// Sums `count` BCD nibbles of `bytes`, high nibble first, the first digit weighing 100 and
// each next one a tenth of the one before. Digits above 9 are taken as they stand.
double bcd_digits(const std::uint8_t* bytes, int count) {
    static constexpr double weights[] = {100, 10, 1, 0.1, 0.01, 0.001, 0.0001, 0.00001};
    double value = 0;
    for (int i = 0; i < count; ++i) {
        const std::uint8_t b = bytes[i / 2];
        value += weights[i] * ((i % 2 == 0) ? b >> 4 : b & 0x0F);
    }
    return value;
}
}  // namespace

DescriptorSatelliteDeliverySystem::DescriptorSatelliteDeliverySystem(reader r) : Descriptor(r) {
    const std::uint8_t* digits = r.bytes(4);
    frequency = bcd_digits(digits, 8);
    for (int i = 0; i < 4; ++i)
        frequency_10khz = frequency_10khz * 100 + static_cast<std::uint32_t>(bcd(digits[i]));
    orbital_position = bcd_digits(r.bytes(2), 4);
    const std::uint8_t flags = r.u8();
    west_east_flag = flags >> 7;
    polarization = (flags >> 5) & 3;
    modulation = flags & 0x1F;
    roll_off = (flags >> 3) & 3;
    modulation_system = (flags >> 2) & 1;
    modulation_type = flags & 3;
    const std::uint8_t* rate = r.bytes(4);
    symbol_rate = bcd_digits(rate, 7);
    FEC_inner = rate[3] & 0x0F;
}

void DescriptorSatelliteDeliverySystem::dump_body(std::ostream& out) const {
    out << "frequency " << frequency << '\n'
        << "orbital_position " << orbital_position << '\n'
        << "west_east_flag " << west_east_flag << '\n'
        << "polarization " << polarization << '\n'
        << "modulation " << modulation << '\n'
        << "symbol_rate " << symbol_rate << '\n'
        << "FEC_inner " << FEC_inner << '\n'
        << "roll_off " << roll_off << '\n'
        << "modulation_system " << modulation_system << '\n'
        << "modulation_type " << modulation_type << '\n';
}

}  // namespace lib13818
