#include "lib13818/names/si_names.h"

#include <iterator>

#include "lib13818/names/delivery_codes.h"

namespace lib13818 {

namespace {
constexpr const char* reserved_for_future_use = "reserved for future use";

// names[value] when the table has that entry, else `otherwise`.
template <std::size_t N>
const char* entry_or(const char* const (&names)[N], int32_t value, const char* otherwise) {
    return value >= 0 && value < static_cast<int32_t>(N) ? names[value] : otherwise;
}
}  // namespace

const char* service_type_name(int32_t service_type) {
    static const char* const names[] = {
        reserved_for_future_use,
        "digital television service",
        "digital radio sound service",
        "teletext service",
        "NVOD reference service",
        "NVOD time-shifted service",
        "mosiac service",
        "PAL coded signal",
        "SECAM coded signal",
        "D/D2-MAC",
        "FM Radio",
        "NTSC coded signal",
    };
    if (service_type >= 0x80 && service_type <= 0xFE) return "user defined";
    return entry_or(names, service_type, reserved_for_future_use);
}

const char* polarisation_name(int32_t polarization) {
    static const char* const names[] = {"linear - horizontal", "linear - vertical", "circular - horizontal",
                                        "circular - vertical"};
    return entry_or(names, polarization, "<unknown>");
}

const char* modulation_name(int32_t modulation) {
    static const char* const names[] = {"not defined", "QPSK"};
    return entry_or(names, modulation, "reserved");
}

const char* fec_inner_name(int32_t fec_inner) {
    return codes::name_or(codes::fec_inner, fec_inner, "reserved");
}

const char* teletext_type_name(int32_t teletext_type) {
    static const char* const names[] = {reserved_for_future_use, "initial teletext page",
                                        "teletext subtitle page", "additional information page",
                                        "programme schedule page"};
    return entry_or(names, teletext_type, names[0]);
}

}  // namespace lib13818
