// Arbitrary bytes as a capture: layout detection, the packet scanner with its resync under
// both sync rules, packet parsing and section assembly on every PID, fed in blocks the way the
// file reader does. Every byte must be counted once: in a packet's unit, skipped or truncated.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "ts/tests/extract_helpers.h"

using namespace kestrel::ts;
using kestrel::ts::testing::in_blocks;

namespace {

// A 204-byte unit's parity may be missing after the capture's last packet.
void check_every_byte_counted(std::uint64_t packets, std::uint64_t skipped, std::uint64_t truncated,
                              const packet_format& format, std::size_t size) {
    const std::uint64_t counted = packets * format.stride + skipped + truncated;
    if (counted < size || counted > size + format.stride - format.prefix - packet_size) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    // The first byte picks the block size and, when no layout is detected, the layout to force.
    const std::size_t block = 1 + data[0] * 7u;
    const packet_format forced[] = {format_188, format_192, format_204};
    const std::span<const std::uint8_t> capture(data + 1, size - 1);
    const packet_format format = detect_packet_format(capture).value_or(forced[data[0] % 3]);

    section_extractor extractor;
    extractor.select_all_pids();
    extractor.start(format);
    const auto sink = [](std::uint16_t, std::span<const std::uint8_t> s) {
        if (s.size() < 3 || s.size() > max_section_size || s.size() != 3u + (((s[1] & 0x0F) << 8) | s[2]))
            std::abort();
    };
    in_blocks(capture, block, [&](std::span<const std::uint8_t> pending, bool final) {
        const std::size_t used = extractor.feed(pending, final, sink);
        if (used > pending.size()) std::abort();
        return used;
    });
    const extraction_stats stats = extractor.stats();
    check_every_byte_counted(stats.packets, stats.skipped_bytes, stats.truncated_bytes, format,
                             capture.size());

    packet_scanner scanner(format, sync_rule::hysteresis);
    std::uint64_t number = 0;
    const auto on_packet = [&](const scanned_packet& p) {
        if (p.number != number++ || p.wrong_sync_byte != (p.bytes[0] != sync_byte)) std::abort();
    };
    in_blocks(capture, block, [&](std::span<const std::uint8_t> pending, bool final) {
        const std::size_t used = scanner.scan(pending.data(), pending.size(), final, on_packet);
        if (used > pending.size()) std::abort();
        return used;
    });
    check_every_byte_counted(scanner.packets(), scanner.skipped_bytes(), scanner.truncated_bytes(), format,
                             capture.size());
    return 0;
}
