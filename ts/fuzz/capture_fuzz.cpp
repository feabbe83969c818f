// Arbitrary bytes as a capture: layout detection, the packet scanner with its resync, packet
// parsing and section assembly on every PID, fed in blocks the way the file reader does.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ts/section_extractor.h"

using namespace kestrel::ts;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the block size and, when no layout is detected, the layout to force.
    const std::size_t block = 1 + data[0] * 7u;
    const packet_format forced[] = {format_188, format_192, format_204};
    const std::span<const std::uint8_t> capture(data + 1, size - 1);

    section_extractor extractor;
    extractor.select_all_pids();
    extractor.start(detect_packet_format(capture).value_or(forced[data[0] % 3]));
    const auto sink = [](std::uint16_t, std::span<const std::uint8_t> s) {
        if (s.size() < 3 || s.size() > max_section_size || s.size() != 3u + (((s[1] & 0x0F) << 8) | s[2]))
            std::abort();
    };
    std::vector<std::uint8_t> pending;
    std::size_t at = 0;
    do {
        const std::size_t n = std::min(block, capture.size() - at);
        pending.insert(pending.end(), capture.begin() + static_cast<std::ptrdiff_t>(at),
                       capture.begin() + static_cast<std::ptrdiff_t>(at + n));
        at += n;
        const std::size_t used = extractor.feed(pending, at == capture.size(), sink);
        if (used > pending.size()) std::abort();
        pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(used));
    } while (at < capture.size());
    const extraction_stats stats = extractor.stats();
    if (stats.packets * packet_size > capture.size()) std::abort();
    return 0;
}
