#include "ts/section_packetizer.h"

#include <algorithm>
#include <cstring>

namespace kestrel::ts {

void section_packetizer::add(std::span<const std::uint8_t> section) {
    if (!section.empty()) queue_.emplace_back(section.begin(), section.end());
}

bool section_packetizer::copy(std::uint8_t* out, std::size_t room, std::size_t& written) {
    const std::vector<std::uint8_t>& section = queue_.front();
    const std::size_t n = std::min(section.size() - offset_, room);
    std::memcpy(out + written, section.data() + offset_, n);
    written += n;
    offset_ += n;
    if (offset_ < section.size()) return false;
    queue_.pop_front();
    offset_ = 0;
    return true;
}

bool section_packetizer::next_payload(std::span<std::uint8_t> payload) {
    std::fill(payload.begin(), payload.end(), 0xFF);
    if (queue_.empty() || payload.empty()) return false;
    const std::size_t room = payload.size();
    const std::size_t rest = offset_ > 0 ? queue_.front().size() - offset_ : 0;
    // A start needs room for the pointer field and the section's first byte.
    if (rest == 0 && room < 2) return false;
    // A section starts here when none is running on, or (packed) when the running one ends
    // with room for the pointer field and at least one byte of the next.
    const bool starts = rest == 0 || (mode_ == packing::packed && queue_.size() > 1 && rest + 1 < room);
    std::size_t written = 0;
    if (!starts) {
        copy(payload.data(), room, written);
        return false;
    }
    payload[0] = static_cast<std::uint8_t>(rest);
    written = 1;
    if (rest > 0) copy(payload.data(), room - written, written);
    while (!queue_.empty() && written < room) {
        if (!copy(payload.data(), room - written, written)) break;
        if (mode_ == packing::one_per_packet) break;
    }
    return true;
}

}  // namespace kestrel::ts
