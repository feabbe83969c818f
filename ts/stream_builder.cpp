#include "ts/stream_builder.h"

#include <algorithm>

namespace kestrel::ts {

namespace {
constexpr std::size_t payload_capacity = packet_size - header_size;
constexpr std::uint64_t arrival_time_modulus = std::uint64_t{1} << 30;
}  // namespace

stream_builder::stream_builder(packet_format format, std::uint32_t bitrate)
    : format_(format), packet_ticks_(packet_size * 8 * clock_hz / bitrate) {}

std::size_t stream_builder::add_packet(const packet_header& header, const adaptation_field& adaptation,
                                       std::span<const std::uint8_t> payload) {
    const std::size_t unit = bytes_.size();
    bytes_.resize(unit + format_.stride, 0);
    if (format_.prefix > 0) {
        const std::uint64_t arrival = clock_ % arrival_time_modulus;
        for (std::size_t i = 0; i < format_.prefix; ++i)
            bytes_[unit + i] = static_cast<std::uint8_t>(arrival >> (8 * (format_.prefix - 1 - i)));
    }
    const std::size_t taken =
        write_packet(bytes_.data() + unit + format_.prefix, header, adaptation, payload);
    if (header.has_payload) counters_[header.pid] = (header.continuity_counter + 1) & 0x0F;
    clock_ += packet_ticks_;
    return taken;
}

packet_header stream_builder::next_header(std::uint16_t pid, bool payload_unit_start) {
    packet_header header;
    header.pid = pid;
    header.payload_unit_start_indicator = payload_unit_start;
    header.continuity_counter = continuity_counter(pid);
    return header;
}

void stream_builder::add_section_packet(std::uint16_t pid, section_packetizer& packetizer) {
    std::array<std::uint8_t, payload_capacity> payload;
    const bool starts = packetizer.next_payload(payload);
    add_packet(next_header(pid, starts), {}, payload);
}

void stream_builder::add_sections(std::uint16_t pid, std::span<const std::vector<std::uint8_t>> sections,
                                  section_packetizer::packing packing) {
    section_packetizer packetizer(packing);
    for (const auto& s : sections)
        packetizer.add(s);
    while (!packetizer.empty())
        add_section_packet(pid, packetizer);
}

void stream_builder::add_pcr(std::uint16_t pid) {
    packet_header header = next_header(pid, false);
    header.has_adaptation_field = true;
    header.has_payload = false;
    adaptation_field adaptation;
    adaptation.pcr = clock_;
    add_packet(header, adaptation);
}

void stream_builder::add_null() {
    add_packet(next_header(null_pid, false));
}

void stream_builder::add_payload(std::uint16_t pid, std::span<const std::uint8_t> data) {
    bool first = true;
    do {
        const std::size_t taken = add_packet(next_header(pid, first), {}, data);
        data = data.subspan(taken);
        first = false;
    } while (!data.empty());
}

void stream_builder::add_mux(const mux_plan& plan) {
    const auto ticks = [](std::uint32_t ms) { return std::uint64_t{ms} * (clock_hz / 1000); };
    const std::uint64_t end = clock_ + ticks(plan.duration_ms);
    std::vector<section_packetizer> queues;
    std::vector<std::uint64_t> due(plan.carousels.size(), clock_);
    for (const carousel& c : plan.carousels)
        queues.emplace_back(c.packing);
    std::uint64_t pcr_due = clock_;
    std::size_t next_queue = 0;
    std::size_t next_elementary = 0;
    std::array<std::uint8_t, payload_capacity> filler{};
    while (clock_ < end) {
        for (std::size_t i = 0; i < plan.carousels.size(); ++i) {
            if (clock_ < due[i]) continue;
            for (const auto& s : plan.carousels[i].sections)
                queues[i].add(s);
            due[i] += std::max<std::uint64_t>(ticks(plan.carousels[i].interval_ms), packet_ticks_);
        }
        if (plan.pcr_pid && clock_ >= pcr_due) {
            add_pcr(*plan.pcr_pid);
            pcr_due += ticks(plan.pcr_interval_ms);
            continue;
        }
        // Round robin over the carousels with something to send, then the filler.
        bool sent = false;
        for (std::size_t k = 0; k < queues.size() && !sent; ++k) {
            const std::size_t i = (next_queue + k) % queues.size();
            if (queues[i].empty()) continue;
            add_section_packet(plan.carousels[i].pid, queues[i]);
            next_queue = i + 1;
            sent = true;
        }
        if (sent) continue;
        if (!plan.elementary_pids.empty()) {
            const std::uint16_t pid = plan.elementary_pids[next_elementary++ % plan.elementary_pids.size()];
            std::fill(filler.begin(), filler.end(), static_cast<std::uint8_t>(clock_));
            add_packet(next_header(pid, false), {}, filler);
        } else {
            add_null();
        }
    }
}

}  // namespace kestrel::ts
