#pragma once

#include <algorithm>
#include <cstdint>
#include <functional>
#include <vector>

#include "analysis/capture_analysis.h"
#include "tools/encode/tables.h"
#include "ts/stream_builder.h"

namespace kestrel::analysis::testing {

using packet_bytes = std::vector<std::uint8_t>;
using packet_list = std::vector<packet_bytes>;

inline constexpr std::uint16_t pmt_pid = 0x100;
inline constexpr std::uint16_t video_pid = 0x101;  // also carries the PCRs
inline constexpr std::uint16_t audio_pid = 0x102;
inline constexpr std::uint32_t stream_bps = 2'000'000;

// A clean single-programme multiplex at 2 Mbit/s: PAT and PMT every 100 ms, a PCR every
// 20 ms on the video PID, the `extra` carousels, video and audio packets in every other slot.
inline packet_list clean_stream(std::uint32_t duration_ms = 2000, bool with_pcr = true,
                                ts::packet_format format = ts::format_188,
                                const std::vector<ts::carousel>& extra = {}) {
    using namespace encode;
    const bytes pat = pat_section({.table_id = 0x00, .table_id_extension = 1}, {{1, pmt_pid}});
    const bytes pmt = pmt_section({.table_id = 0x02, .table_id_extension = 1}, video_pid, {},
                                  {{0x02, video_pid, {}}, {0x03, audio_pid, {}}});
    ts::mux_plan plan;
    plan.duration_ms = duration_ms;
    plan.carousels = {{.pid = 0, .sections = {pat}}, {.pid = pmt_pid, .sections = {pmt}}};
    plan.carousels.insert(plan.carousels.end(), extra.begin(), extra.end());
    if (with_pcr) plan.pcr_pid = video_pid;
    plan.pcr_interval_ms = 20;
    plan.elementary_pids = {video_pid, audio_pid};
    ts::stream_builder builder(format, stream_bps);
    builder.add_mux(plan);
    const std::vector<std::uint8_t> all = builder.take();
    packet_list list;
    for (std::size_t at = 0; at + format.stride <= all.size(); at += format.stride)
        list.emplace_back(all.begin() + static_cast<std::ptrdiff_t>(at),
                          all.begin() + static_cast<std::ptrdiff_t>(at + format.stride));
    return list;
}

inline std::uint16_t pid_of(const packet_bytes& p) {
    return ts::packet_pid(p.data());
}

// The index of the n-th packet (from 0) of pid that satisfies `also`.
inline std::size_t nth(const packet_list& list, std::uint16_t pid, std::size_t n,
                       const std::function<bool(const packet_bytes&)>& also = {}) {
    for (std::size_t i = 0; i < list.size(); ++i)
        if (pid_of(list[i]) == pid && (!also || also(list[i])) && n-- == 0) return i;
    return list.size();
}

inline bool has_payload(const packet_bytes& p) {
    return (p[3] & 0x10) != 0;
}

inline analysis_report analyse(const packet_list& list, analysis_options options = {},
                               ts::packet_format format = ts::format_188) {
    std::vector<std::uint8_t> all;
    for (const auto& p : list)
        all.insert(all.end(), p.begin(), p.end());
    return analyse_bytes(all, format, options);
}

inline std::optional<std::uint64_t> count(const analysis_report& report, std::string_view id) {
    for (const auto& r : report.indicators)
        if (info(r.which).id == id) return r.count;
    return std::nullopt;
}

inline const pid_report* pid_in(const analysis_report& report, std::uint16_t pid) {
    for (const auto& p : report.pids)
        if (p.pid == pid) return &p;
    return nullptr;
}

}  // namespace kestrel::analysis::testing
