#include "device/linux/demux_reads.h"

namespace kestrel {

namespace {

constexpr std::size_t section_header_size = 3;
constexpr std::size_t packet_size = 188;

}  // namespace

std::size_t deliver_sections(std::span<const std::uint8_t> bytes, const delivery& deliver) {
    while (bytes.size() >= section_header_size) {
        const std::size_t size = section_header_size + (((bytes[1] & 0x0F) << 8) | bytes[2]);
        if (size > bytes.size()) break;
        deliver(bytes.data(), size);
        bytes = bytes.subspan(size);
    }
    return bytes.size();
}

void deliver_packets(std::vector<std::uint8_t>& pending, std::span<const std::uint8_t> bytes,
                     const delivery& deliver) {
    if (pending.empty() && bytes.size() % packet_size == 0) {
        if (!bytes.empty()) deliver(bytes.data(), bytes.size());
        return;
    }
    pending.insert(pending.end(), bytes.begin(), bytes.end());
    const std::size_t whole = pending.size() - pending.size() % packet_size;
    if (whole > 0) deliver(pending.data(), whole);
    pending.erase(pending.begin(), pending.begin() + static_cast<std::ptrdiff_t>(whole));
}

}  // namespace kestrel
