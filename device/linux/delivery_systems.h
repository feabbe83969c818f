#pragma once

#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "device/linux/linux_kernel.h"
#include "lib13818/delivery/delivery.h"

namespace kestrel {

// The delivery systems (SYS_DVBT, SYS_DVBS2, ...) a Linux frontend offers, in the order the
// driver gives them: DTV_ENUM_DELSYS, or for a driver older than that the one system its
// FE_GET_INFO type stands for. FE_GET_INFO alone would not do for a multi-standard frontend,
// whose type there follows whatever system was tuned last.
std::vector<std::uint32_t> read_delivery_systems(system_calls& calls, int frontend,
                                                 const dvb_frontend_info& info);

// The frontend type (DVB-S, DVB-C, DVB-T) a delivery system belongs to; frontend_none for
// systems the device does not tune (ISDB, ATSC, ...).
std::int32_t frontend_type_of_system(std::uint32_t system);
// The system a card made for `wanted` tunes when a tuning names none: for automatic the
// first offered system of a type the device tunes; for DVB-S, DVB-C or DVB-T that system
// when offered, else the first offered of its type (a frontend with DVB-S2 alone serves
// DVB-S); for DVB-S2 or DVB-T2 that system. Empty when the frontend offers no such system.
std::optional<std::uint32_t> default_system(const std::vector<std::uint32_t>& systems,
                                            lib13818::DeliverySystem wanted);

// "DVB-S2", "DVB-C", "ISDB-T", ...; "DVB-S, DVB-S2" for a list.
std::string delivery_system_name(std::uint32_t system);
std::string delivery_system_names(const std::vector<std::uint32_t>& systems);

}  // namespace kestrel
