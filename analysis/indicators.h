#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace kestrel::analysis {

// The measurements of ETSI TR 101 290 (V1.4.1) this engine makes, numbered as the standard
// numbers them. Where the standard has an original row and an ".a" row, both are kept.
enum class indicator : std::uint8_t {
    ts_sync_loss,
    sync_byte_error,
    pat_error,
    pat_error_2,
    continuity_count_error,
    pmt_error,
    pmt_error_2,
    pid_error,
    transport_error,
    crc_error,
    pcr_error,
    pcr_repetition_error,
    pcr_discontinuity_indicator_error,
    pcr_accuracy_error,
    pts_error,
    cat_error,
    nit_error,
    nit_actual_error,
    nit_other_error,
    si_repetition_error,
    unreferenced_pid,
    unreferenced_pid_2,
    sdt_error,
    sdt_actual_error,
    sdt_other_error,
    eit_error,
    eit_actual_error,
    eit_other_error,
    eit_pf_error,
    rst_error,
    tdt_error,
};

struct indicator_info {
    std::string_view id;    // "1.4"
    std::string_view name;  // "Continuity_count_error"
    int priority = 1;
    bool needs_time = false;  // unmeasured without a time base
    bool estimate = false;    // never counted toward the verdict
};

inline constexpr std::size_t indicator_count = static_cast<std::size_t>(indicator::tdt_error) + 1;

// The table, in enum order.
const std::array<indicator_info, indicator_count>& indicator_table();

inline const indicator_info& info(indicator i) {
    return indicator_table()[static_cast<std::size_t>(i)];
}

}  // namespace kestrel::analysis
