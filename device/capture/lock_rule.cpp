#include "device/capture/lock_rule.h"

#include <cstdint>
#include <cstdlib>

namespace kestrel {

namespace {

constexpr std::int64_t satellite_tolerance_khz = 2000;
constexpr std::int64_t terrestrial_tolerance_khz = 1000;
constexpr std::uint32_t vertical_volts = 13;
constexpr std::uint32_t horizontal_volts = 18;

bool polarisation_receives(char polarisation, std::uint32_t volts) {
    if (volts == vertical_volts) return polarisation == 'V' || polarisation == 'R';
    if (volts == horizontal_volts) return polarisation == 'H' || polarisation == 'L';
    return false;
}

}  // namespace

int receiving_transponder(const capture_manifest& manifest, const ChannelRecord& channel, int position) {
    if (manifest.always_locked) return manifest.transponders.empty() ? -1 : 0;
    const bool satellite = manifest.type == frontend_dvb_s;
    const std::int64_t tolerance = satellite ? satellite_tolerance_khz : terrestrial_tolerance_khz;
    const std::int64_t tuned = channel.word[channel_word::frequency];
    int best = -1;
    std::int64_t best_distance = tolerance + 1;
    for (std::size_t i = 0; i < manifest.transponders.size(); ++i) {
        const capture_transponder& t = manifest.transponders[i];
        if (satellite && (t.position != position ||
                          !polarisation_receives(t.polarisation, channel.word[channel_word::voltage])))
            continue;
        const std::int64_t distance = std::llabs(tuned - std::int64_t{t.frequency_khz});
        if (distance < best_distance) {
            best = static_cast<int>(i);
            best_distance = distance;
        }
    }
    return best;
}

}  // namespace kestrel
