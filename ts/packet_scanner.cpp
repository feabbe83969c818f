#include "ts/packet_scanner.h"

#include <algorithm>
#include <cstring>

namespace kestrel::ts {

packet_scanner::step packet_scanner::irregular_unit(const std::uint8_t* data, std::size_t size,
                                                    std::size_t pos, bool final) {
    const bool good = data[pos + format_.prefix] == sync_byte;
    switch (state_) {
        case sync_state::in_sync:
        case sync_state::one_wrong:
            if (good) {
                state_ = sync_state::in_sync;
                return {.hand_over = true};
            }
            if (rule_ == sync_rule::hysteresis && state_ == sync_state::in_sync) {
                state_ = sync_state::one_wrong;
                return {.hand_over = true, .wrong_sync_byte = true};
            }
            ++sync_losses_;
            state_ = sync_state::lost;
            // The wrong sync byte itself cannot start the new run.
            return search(data, size, pos, pos + format_.prefix + 1, final);
        case sync_state::regained:
            // The search stopped at this unit's sync byte.
            state_ = sync_state::in_sync;
            return {.hand_over = true, .sync_regained = true};
        case sync_state::lost:
        case sync_state::acquiring:
            // A search that goes on from an earlier block has its candidate at the unit's packet.
            return search(data, size, pos, pos + format_.prefix, final);
    }
    return {};
}

packet_scanner::step packet_scanner::search(const std::uint8_t* data, std::size_t size, std::size_t pos,
                                            std::size_t first, bool final) {
    const std::span<const std::uint8_t> block(data, size);
    const auto skip_to = [&](std::size_t to, bool found) {
        skipped_bytes_ += to - pos;
        if (found) state_ = state_ == sync_state::lost ? sync_state::regained : sync_state::in_sync;
        return step{.pos = to, .wait = !found};
    };
    for (std::size_t q = first; q < size; ++q) {
        const void* hit = std::memchr(data + q, sync_byte, size - q);
        if (!hit) break;
        q = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - data);
        const sync_run_result run = sync_run_at(block, q, format_.stride, sync_run);
        if (run.count == sync_run || (final && run.reached_end && run.whole))
            return skip_to(q - format_.prefix, true);
        // The data ends before the run could be confirmed: wait for more, or at the end of
        // the capture leave the rest as a truncated packet.
        if (run.reached_end) return skip_to(q - format_.prefix, false);
    }
    // No sync byte left in the block: only the last unit's prefix may still lead to one.
    return skip_to(final ? size : std::max(pos, size - std::min(size, format_.prefix)), false);
}

void packet_scanner::end_of_capture(const std::uint8_t* data, std::size_t size, std::size_t pos) {
    const bool at_sync = pos + format_.prefix < size && data[pos + format_.prefix] == sync_byte;
    (at_sync ? truncated_bytes_ : skipped_bytes_) += size - pos;
}

}  // namespace kestrel::ts
