#include "device/linux/frontend_statistics.h"

#include <linux/dvb/frontend.h>
#include <sys/ioctl.h>

#include <iterator>
#include <optional>

#include "device/linux/delivery_properties.h"

namespace kestrel {

namespace {

// The global value of a statistics property (stat[0]), when it comes in the scale asked for.
const dtv_stats* in_scale(const dtv_property& p, fecap_scale_params scale) {
    return p.u.st.len > 0 && p.u.st.stat[0].scale == scale ? &p.u.st.stat[0] : nullptr;
}
std::optional<std::uint64_t> relative(const dtv_property& p) {
    if (const dtv_stats* s = in_scale(p, FE_SCALE_RELATIVE)) return s->uvalue;
    return std::nullopt;
}
std::optional<double> decibels(const dtv_property& p) {
    if (const dtv_stats* s = in_scale(p, FE_SCALE_DECIBEL)) return static_cast<double>(s->svalue) / 1000.0;
    return std::nullopt;
}
std::optional<error_count> counted(const dtv_property& errors, const dtv_property& total) {
    const dtv_stats* e = in_scale(errors, FE_SCALE_COUNTER);
    const dtv_stats* t = in_scale(total, FE_SCALE_COUNTER);
    if (e == nullptr || t == nullptr) return std::nullopt;
    return error_count{e->uvalue, t->uvalue};
}

}  // namespace

void read_level_and_error_rate(system_calls& calls, int frontend, signal_state& out) {
    dtv_property stats[] = {property(DTV_STAT_SIGNAL_STRENGTH), property(DTV_STAT_PRE_ERROR_BIT_COUNT),
                            property(DTV_STAT_PRE_TOTAL_BIT_COUNT)};
    dtv_properties list{static_cast<std::uint32_t>(std::size(stats)), stats};
    bool have_level = false, have_ber = false;
    if (calls.ioctl(frontend, FE_GET_PROPERTY, &list, "FE_GET_PROPERTY").ok()) {
        if (const auto level = relative(stats[0])) {
            out.level_percent = static_cast<std::uint16_t>(*level * 100 / 65535);
            have_level = true;
        }
        if (const auto bits = counted(stats[1], stats[2]); bits && bits->total > 0) {
            out.bit_error_rate = static_cast<double>(bits->errors) / static_cast<double>(bits->total);
            have_ber = true;
        }
    }
    std::uint16_t strength = 0;
    if (!have_level &&
        calls.ioctl(frontend, FE_READ_SIGNAL_STRENGTH, &strength, "FE_READ_SIGNAL_STRENGTH").ok())
        out.level_percent = static_cast<std::uint16_t>(strength * 100u / 65535u);
    // FE_READ_BER has no common unit; drivers mostly count errors per 10^8 bits.
    std::uint32_t ber = 0;
    if (!have_ber && calls.ioctl(frontend, FE_READ_BER, &ber, "FE_READ_BER").ok())
        out.bit_error_rate = ber / 1e8;
}

void read_frontend_statistics(system_calls& calls, int frontend, bool locked, signal_statistics& out) {
    out = {};
    dtv_property stats[] = {property(DTV_STAT_SIGNAL_STRENGTH),      property(DTV_STAT_CNR),
                            property(DTV_STAT_PRE_ERROR_BIT_COUNT),  property(DTV_STAT_PRE_TOTAL_BIT_COUNT),
                            property(DTV_STAT_POST_ERROR_BIT_COUNT), property(DTV_STAT_POST_TOTAL_BIT_COUNT),
                            property(DTV_STAT_ERROR_BLOCK_COUNT),    property(DTV_STAT_TOTAL_BLOCK_COUNT)};
    dtv_properties list{static_cast<std::uint32_t>(std::size(stats)), stats};
    if (!calls.ioctl(frontend, FE_GET_PROPERTY, &list, "FE_GET_PROPERTY").ok()) return;
    if (locked) {
        out.strength_dbm = decibels(stats[0]);
        out.cnr_db = decibels(stats[1]);
    }
    out.pre_fec_bits = counted(stats[2], stats[3]);
    out.post_fec_bits = counted(stats[4], stats[5]);
    out.blocks = counted(stats[6], stats[7]);
}

}  // namespace kestrel
