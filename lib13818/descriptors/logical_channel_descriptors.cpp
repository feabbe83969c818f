#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr std::uint32_t eacem = 0x00000028;
constexpr std::uint32_t nordig = 0x00000029;

// EACEM numbers have 10 bits, NorDig's 14.
constexpr field eacem_channel_fields[] = {
    uimsbf("service_id", 16).hex(4),
    flag("visible_service_flag"),
    reserved(5),
    uimsbf("logical_channel_number", 10),
};
constexpr record eacem_channel{"channel", eacem_channel_fields};
constexpr field eacem_fields[] = {loop("channels", eacem_channel, rest())};

constexpr field nordig_channel_fields[] = {
    uimsbf("service_id", 16).hex(4),
    flag("visible_service_flag"),
    reserved(1),
    uimsbf("logical_channel_number", 14),
};
constexpr record nordig_channel{"channel", nordig_channel_fields};
constexpr field nordig_fields[] = {loop("channels", nordig_channel, rest())};
}  // namespace

// The channel numbers a receiver gives the services of a network, in the NIT's transport
// stream loops or a BAT: logical_channel_descriptor, tag 0x83 after private_data_specifier
// 0x00000028 (EACEM, IEC 62216) or 0x00000029 (NorDig Unified), and EACEM's
// HD_simulcast_logical_channel_descriptor, tag 0x88, the numbers of HD receivers.
constexpr description logical_channel_eacem{.name = "logical_channel_descriptor",
                                            .tag = 0x83,
                                            .private_data_specifier = eacem,
                                            .body = {"", eacem_fields}};
constexpr description hd_simulcast_logical_channel{.name = "HD_simulcast_logical_channel_descriptor",
                                                   .tag = 0x88,
                                                   .private_data_specifier = eacem,
                                                   .body = {"", eacem_fields}};
constexpr description logical_channel_nordig{.name = "logical_channel_descriptor",
                                             .tag = 0x83,
                                             .private_data_specifier = nordig,
                                             .body = {"", nordig_fields}};

}  // namespace lib13818::descriptions
