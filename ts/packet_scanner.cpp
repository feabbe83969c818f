#include "ts/packet_scanner.h"

#include <algorithm>
#include <cstring>

namespace kestrel::ts {

packet_scanner::resync_result packet_scanner::resync(const std::uint8_t* data, std::size_t size,
                                                     std::size_t pos, bool final) {
    // A search that goes on from an earlier block has its candidate at pos itself.
    const std::size_t first = pos + format_.prefix + (searching_ ? 0 : 1);
    if (!searching_) ++sync_losses_;
    searching_ = true;
    const std::span<const std::uint8_t> block(data, size);
    const auto skip_to = [&](std::size_t to, bool found) {
        skipped_bytes_ += to - pos;
        if (found) searching_ = false;
        return resync_result{to, found};
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
