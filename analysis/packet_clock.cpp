#include "analysis/packet_clock.h"

namespace kestrel::analysis {

namespace {

// The largest PCR step that times packets; a longer one is a fault of the stream.
constexpr std::int64_t max_pcr_step = ticks_per_second / 10;
constexpr std::uint32_t stamp_mask = 0x3FFFFFFF;  // 30 bits at 27 MHz; the top two are copy control
constexpr double bits_per_packet = ts::packet_size * 8;

}  // namespace

std::optional<packet_pcr> read_pcr(const std::uint8_t* p) {
    const bool adaptation = (p[3] & 0x20) != 0;
    if (!adaptation || p[4] < 7 || (p[5] & 0x10) == 0) return std::nullopt;
    const std::uint64_t base = (std::uint64_t{p[6]} << 25) | (std::uint64_t{p[7]} << 17) |
                               (std::uint64_t{p[8]} << 9) | (std::uint64_t{p[9]} << 1) | (p[10] >> 7);
    const std::uint64_t extension = (std::uint64_t{p[10]} & 0x01) << 8 | p[11];
    return packet_pcr{base * 300 + extension, (p[5] & 0x80) != 0};
}

std::int64_t pcr_step(std::uint64_t from, std::uint64_t to) {
    const auto modulus = static_cast<std::int64_t>(ts::pcr_modulus);
    std::int64_t step = (static_cast<std::int64_t>(to) - static_cast<std::int64_t>(from)) % modulus;
    if (step < 0) step += modulus;
    return step > modulus / 2 ? step - modulus : step;
}

packet_clock::packet_clock(bool stamped, std::optional<std::uint64_t> bitrate_bps)
    : base_(bitrate_bps ? time_base::given
            : stamped   ? time_base::arrival
                        : time_base::pcr),
      bitrate_bps_(bitrate_bps) {
    if (base_ == time_base::pcr) {
        buffer_ = copyable_array<std::uint8_t>(held_packets * ts::packet_size);
        flags_ = copyable_array<std::uint8_t>(held_packets);
    }
}

std::int64_t packet_clock::direct_time(const ts::scanned_packet& p) {
    timed_ = true;
    if (base_ == time_base::given)
        return static_cast<std::int64_t>(static_cast<double>(p.number) * bits_per_packet * ticks_per_second /
                                         static_cast<double>(*bitrate_bps_));
    const auto& s = p.prefix;
    const std::uint32_t stamp =
        ((std::uint32_t{s[0]} << 24) | (s[1] << 16) | (s[2] << 8) | s[3]) & stamp_mask;
    if (p.number > 0) last_ticks_ += (stamp - last_stamp_) & stamp_mask;
    last_stamp_ = stamp;
    return last_ticks_;
}

bool packet_clock::reference_pcr(const std::uint8_t* p, std::uint64_t number) {
    const std::uint16_t pid = ts::packet_pid(p);
    if ((p[1] & 0x80) != 0 || (reference_pid_ >= 0 && pid != reference_pid_)) return false;
    const auto pcr = read_pcr(p);
    if (!pcr) return false;
    reference_pid_ = pid;
    const std::int64_t step = have_pcr_ ? pcr_step(pcr_, pcr->value) : 0;
    const bool good =
        have_pcr_ && !pcr->discontinuity && step > 0 && step <= max_pcr_step && number > pcr_packet_;
    const bool release_now = have_pcr_ && (pcr_ticks_ != no_time || good);
    if (good) {
        rate_ticks_ = step;
        rate_packets_ = static_cast<std::int64_t>(number - pcr_packet_);
        if (pcr_ticks_ == no_time)  // the first pair: time runs from the first packet at its rate
            pcr_ticks_ = static_cast<std::int64_t>(pcr_packet_) * rate_ticks_ / rate_packets_;
    }
    if (release_now) {
        line_packet_ = pcr_packet_;
        line_ticks_ = pcr_ticks_;
        pcr_ticks_ = good ? pcr_ticks_ + step : line_time(number, ticks_per_packet());
    }
    have_pcr_ = true;
    pcr_ = pcr->value;
    pcr_packet_ = number;
    return release_now;
}

double packet_clock::ticks_per_packet() const {
    if (line_ticks_ == no_time || rate_ticks_ == 0) return 0;
    return static_cast<double>(rate_ticks_) / static_cast<double>(rate_packets_);
}

std::optional<std::int64_t> packet_clock::end_ticks() const {
    if (!timed_ || !any_) return std::nullopt;
    switch (base_) {
        case time_base::given:
            return static_cast<std::int64_t>(static_cast<double>(last_number_ + 1) * bits_per_packet *
                                             ticks_per_second / static_cast<double>(*bitrate_bps_));
        case time_base::arrival:
            return last_number_ == 0 ? last_ticks_
                                     : last_ticks_ + last_ticks_ / static_cast<std::int64_t>(last_number_);
        default:
            return last_ticks_ + rate_ticks_ / rate_packets_;
    }
}

}  // namespace kestrel::analysis
