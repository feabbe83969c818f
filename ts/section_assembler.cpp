#include "ts/section_assembler.h"

#include <algorithm>
#include <cstring>

namespace kestrel::ts {

namespace {
constexpr std::uint8_t stuffing_byte = 0xFF;
constexpr std::size_t section_header_size = 3;

std::size_t section_size(const std::uint8_t* p) {
    return section_header_size + (((p[1] & 0x0F) << 8) | p[2]);
}
}  // namespace

section_assembler::counters& section_assembler::counters::operator+=(const counters& other) {
    sections += other.sections;
    continuity_breaks += other.continuity_breaks;
    duplicates += other.duplicates;
    dropped += other.dropped;
    oversized += other.oversized;
    malformed += other.malformed;
    return *this;
}

void section_assembler::push(const packet& pkt, section_sink sink) {
    const packet_header& h = pkt.header;
    if (!pkt.intact || h.transport_error_indicator) {
        // Nothing in the packet can be trusted, its continuity_counter included.
        ++counters_.malformed;
        drop();
        last_counter_ = -1;
        return;
    }
    if (!h.has_payload || !follows_on(pkt)) return;
    if (h.transport_scrambling_control != 0) {
        drop();
        return;
    }
    const std::uint8_t* p = pkt.payload.data();
    const std::uint8_t* end = p + pkt.payload.size();
    if (!h.payload_unit_start_indicator) {
        if (collecting_) append(p, end, h.pid, sink);
        return;
    }
    const std::size_t pointer = p == end ? 0 : *p;
    if (p == end || pointer >= static_cast<std::size_t>(end - p)) {
        ++counters_.malformed;
        drop();
        return;
    }
    ++p;
    // The bytes before the pointed-to start end the section in progress; if they do not
    // complete it, it was broken.
    if (collecting_) append(p, p + pointer, h.pid, sink);
    drop();
    start_sections(p + pointer, end, h.pid, sink);
}

void section_assembler::reset() {
    collecting_ = false;
    last_counter_ = -1;
    duplicate_seen_ = false;
}

bool section_assembler::follows_on(const packet& pkt) {
    const int counter = pkt.header.continuity_counter;
    const bool announced = pkt.adaptation.discontinuity_indicator;
    if (last_counter_ >= 0 && !announced) {
        if (counter == last_counter_ && !duplicate_seen_) {
            duplicate_seen_ = true;
            ++counters_.duplicates;
            return false;
        }
        if (counter != ((last_counter_ + 1) & 0x0F)) {
            ++counters_.continuity_breaks;
            drop();
        }
    } else if (announced) {
        drop();
    }
    last_counter_ = counter;
    duplicate_seen_ = false;
    return true;
}

void section_assembler::start_sections(const std::uint8_t* p, const std::uint8_t* end, std::uint16_t pid,
                                       section_sink sink) {
    while (p < end && *p != stuffing_byte) {
        const auto left = static_cast<std::size_t>(end - p);
        if (left >= section_header_size) {
            const std::size_t size = section_size(p);
            if (size > max_section_size) {
                // Where the next section would start is unknown: the rest of the packet is lost.
                ++counters_.oversized;
                return;
            }
            if (size <= left) {
                ++counters_.sections;
                sink(pid, {p, size});
                p += size;
                continue;
            }
        }
        collecting_ = true;
        filled_ = 0;
        expected_ = 0;
        append(p, end, pid, sink);
        return;
    }
}

void section_assembler::append(const std::uint8_t* p, const std::uint8_t* end, std::uint16_t pid,
                               section_sink sink) {
    if (filled_ < section_header_size) {
        const auto take = std::min(section_header_size - filled_, static_cast<std::size_t>(end - p));
        std::memcpy(buffer_.data() + filled_, p, take);
        filled_ += take;
        p += take;
        if (filled_ < section_header_size) return;
        expected_ = section_size(buffer_.data());
        if (expected_ > max_section_size) {
            ++counters_.oversized;
            collecting_ = false;
            return;
        }
    }
    const auto take = std::min(expected_ - filled_, static_cast<std::size_t>(end - p));
    if (take > 0) std::memcpy(buffer_.data() + filled_, p, take);
    filled_ += take;
    if (filled_ < expected_) return;
    collecting_ = false;
    ++counters_.sections;
    sink(pid, {buffer_.data(), expected_});
}

void section_assembler::drop() {
    if (!collecting_) return;
    collecting_ = false;
    ++counters_.dropped;
}

}  // namespace kestrel::ts
