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

lib13818::DeliverySystem system_or_base(lib13818::DeliverySystem system, std::int32_t type) {
    return system == lib13818::DeliverySystem::automatic ? base_system(type) : system;
}

// The lowest stream among the lines of the same signal (all but the stream) as `t`.
std::int32_t lowest_stream(const capture_manifest& manifest, const capture_transponder& t) {
    std::int32_t lowest = t.stream_id;
    for (const capture_transponder& other : manifest.transponders)
        if (other.frequency_khz == t.frequency_khz && other.position == t.position &&
            other.polarisation == t.polarisation && other.system == t.system &&
            other.stream_id != lib13818::automatic && other.stream_id < lowest)
            lowest = other.stream_id;
    return lowest;
}

bool stream_received(const capture_manifest& manifest, const capture_transponder& t, std::int32_t tuned) {
    if (t.stream_id == lib13818::automatic) return true;
    if (tuned != lib13818::automatic) return tuned == t.stream_id;
    return lowest_stream(manifest, t) == t.stream_id;
}

}  // namespace

std::int64_t lock_tolerance_khz(std::int32_t frontend_type) {
    return frontend_type == frontend_dvb_s ? satellite_tolerance_khz : terrestrial_tolerance_khz;
}

int receiving_transponder(const capture_manifest& manifest, const ChannelRecord& channel, int position) {
    if (manifest.always_locked) return manifest.transponders.empty() ? -1 : 0;
    const bool satellite = manifest.type == frontend_dvb_s;
    const std::int64_t tolerance = lock_tolerance_khz(manifest.type);
    const std::int64_t tuned = channel.word[channel_word::frequency];
    const lib13818::DeliverySystem system = system_or_base(channel.delivery.system, manifest.type);
    int best = -1;
    std::int64_t best_distance = tolerance + 1;
    for (std::size_t i = 0; i < manifest.transponders.size(); ++i) {
        const capture_transponder& t = manifest.transponders[i];
        if (satellite && (t.position != position ||
                          !polarisation_receives(t.polarisation, channel.word[channel_word::voltage])))
            continue;
        if (system_or_base(t.system, manifest.type) != system ||
            !stream_received(manifest, t, channel.delivery.stream_id))
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
