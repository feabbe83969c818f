#pragma once

// The PIDs the tree's streaming commands record: collected from the scan result, sorted,
// each once, at most 32, the rest of the list the null PID.

#include <array>
#include <cstdint>
#include <vector>

#include "model/scan_result.h"

namespace kestrel::views {

inline constexpr std::int32_t null_pid = 0x1FFF;
inline constexpr std::size_t pid_list_size = 32;
using pid_list = std::array<std::int32_t, pid_list_size>;

// Sorted, without repeats, the first 32; the remaining entries null_pid.
pid_list to_pid_list(std::vector<std::int32_t> pids);

// A transponder's EMM PIDs: the CA_PID of every CA descriptor of its CAT.
pid_list emm_pids(const Transponder& tp);
// Its ECM PIDs: the CA_PIDs of every PMT, PMT by PMT, each program's own before its streams'.
pid_list ecm_pids(const Transponder& tp);
// Both sets in one list.
pid_list emm_ecm_pids(const Transponder& tp);

// One program: its ECM PIDs; its video (stream_type 1, 2), audio (3, 4) and private
// (0x80-0xFF) elementary streams.
pid_list ecm_pids(const lib13818::Pmt& pmt);
pid_list video_pids(const lib13818::Pmt& pmt);
pid_list audio_pids(const lib13818::Pmt& pmt);
pid_list private_pids(const lib13818::Pmt& pmt);

}  // namespace kestrel::views
