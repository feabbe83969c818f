#include "ts/packet_format.h"

#include <array>

namespace kestrel::ts {

sync_run_result sync_run_at(std::span<const std::uint8_t> data, std::size_t q, std::size_t stride, int run) {
    sync_run_result result;
    result.whole = q + packet_size <= data.size();
    for (; result.count < run; ++result.count, q += stride) {
        if (q >= data.size()) {
            result.reached_end = true;
            break;
        }
        if (data[q] != sync_byte) break;
    }
    return result;
}

std::optional<packet_format> detect_packet_format(std::span<const std::uint8_t> data) {
    static constexpr std::array<packet_format, 3> formats{format_188, format_192, format_204};
    for (std::size_t q = 0; q < data.size(); ++q) {
        if (data[q] != sync_byte) continue;
        for (const packet_format& f : formats) {
            const sync_run_result r = sync_run_at(data, q, f.stride, sync_run);
            if (r.whole && (r.count == sync_run || r.reached_end)) return f;
        }
    }
    return std::nullopt;
}

}  // namespace kestrel::ts
