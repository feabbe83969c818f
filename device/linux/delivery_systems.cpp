#include "device/linux/delivery_systems.h"

#include <algorithm>

#include "device/card.h"
#include "device/linux/delivery_properties.h"

namespace kestrel {

namespace {

struct system_entry {
    std::uint32_t system;
    const char* name;
    std::int32_t type;
};

constexpr system_entry systems_known[] = {
    {SYS_DVBC_ANNEX_A, "DVB-C", frontend_dvb_c},
    {SYS_DVBC_ANNEX_B, "DVB-C annex B", frontend_none},
    {SYS_DVBC_ANNEX_C, "DVB-C annex C", frontend_dvb_c},
    {SYS_DVBT, "DVB-T", frontend_dvb_t},
    {SYS_DVBT2, "DVB-T2", frontend_dvb_t},
    {SYS_DVBH, "DVB-H", frontend_none},
    {SYS_DVBS, "DVB-S", frontend_dvb_s},
    {SYS_DVBS2, "DVB-S2", frontend_dvb_s},
    {SYS_DSS, "DSS", frontend_none},
    {SYS_TURBO, "Turbo", frontend_none},
    {SYS_ISDBT, "ISDB-T", frontend_none},
    {SYS_ISDBS, "ISDB-S", frontend_none},
    {SYS_ISDBC, "ISDB-C", frontend_none},
    {SYS_ATSC, "ATSC", frontend_none},
    {SYS_ATSCMH, "ATSC-M/H", frontend_none},
    {SYS_DTMB, "DTMB", frontend_none},
    {SYS_CMMB, "CMMB", frontend_none},
    {SYS_DAB, "DAB", frontend_none},
};

const system_entry* entry_of(std::uint32_t system) {
    const auto* it = std::find_if(std::begin(systems_known), std::end(systems_known),
                                  [&](const system_entry& e) { return e.system == system; });
    return it == std::end(systems_known) ? nullptr : it;
}

// What a driver without DTV_ENUM_DELSYS tunes.
std::optional<std::uint32_t> legacy_system(const dvb_frontend_info& info) {
    switch (info.type) {
        case FE_QPSK:
            return SYS_DVBS;
        case FE_QAM:
            return SYS_DVBC_ANNEX_A;
        case FE_OFDM:
            return SYS_DVBT;
        case FE_ATSC:
            return SYS_ATSC;
        default:
            return std::nullopt;
    }
}

}  // namespace

std::vector<std::uint32_t> read_delivery_systems(system_calls& calls, int frontend,
                                                 const dvb_frontend_info& info) {
    dtv_property enumerate{};
    enumerate.cmd = DTV_ENUM_DELSYS;
    dtv_properties list{1, &enumerate};
    std::vector<std::uint32_t> systems;
    if (calls.ioctl(frontend, FE_GET_PROPERTY, &list, "FE_GET_PROPERTY").ok()) {
        const auto& buffer = enumerate.u.buffer;
        const std::uint32_t n = std::min<std::uint32_t>(buffer.len, sizeof buffer.data);
        for (std::uint32_t i = 0; i < n; ++i)
            if (buffer.data[i] != SYS_UNDEFINED) systems.push_back(buffer.data[i]);
    }
    if (systems.empty())
        if (const auto legacy = legacy_system(info)) systems.push_back(*legacy);
    return systems;
}

std::int32_t frontend_type_of_system(std::uint32_t system) {
    const system_entry* e = entry_of(system);
    return e != nullptr ? e->type : frontend_none;
}

std::optional<std::uint32_t> default_system(const std::vector<std::uint32_t>& systems,
                                            lib13818::DeliverySystem wanted) {
    const auto first_of = [&](auto&& take) -> std::optional<std::uint32_t> {
        const auto it = std::find_if(systems.begin(), systems.end(), take);
        if (it == systems.end()) return std::nullopt;
        return *it;
    };
    if (wanted == lib13818::DeliverySystem::automatic)
        return first_of([](std::uint32_t s) { return frontend_type_of_system(s) != frontend_none; });
    const std::uint32_t system = kernel_value(wanted);
    if (const auto exact = first_of([&](std::uint32_t s) { return s == system; })) return exact;
    if (lib13818::is_second_generation(wanted)) return std::nullopt;
    const std::int32_t type = frontend_type_of_system(system);
    return first_of([&](std::uint32_t s) { return frontend_type_of_system(s) == type; });
}

std::string delivery_system_name(std::uint32_t system) {
    const system_entry* e = entry_of(system);
    return e != nullptr ? e->name : "system " + std::to_string(system);
}

std::string delivery_system_names(const std::vector<std::uint32_t>& systems) {
    std::string names;
    for (const std::uint32_t s : systems)
        names += (names.empty() ? "" : ", ") + delivery_system_name(s);
    return names.empty() ? "no delivery system" : names;
}

}  // namespace kestrel
