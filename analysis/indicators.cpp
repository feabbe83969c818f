#include "analysis/indicators.h"

namespace kestrel::analysis {

const std::array<indicator_info, indicator_count>& indicator_table() {
    static constexpr std::array<indicator_info, indicator_count> table{{
        {"1.1", "TS_sync_loss", 1},
        {"1.2", "Sync_byte_error", 1},
        {"1.3", "PAT_error", 1, true},
        {"1.3.a", "PAT_error_2", 1, true},
        {"1.4", "Continuity_count_error", 1},
        {"1.5", "PMT_error", 1, true},
        {"1.5.a", "PMT_error_2", 1, true},
        {"1.6", "PID_error", 1, true},
        {"2.1", "Transport_error", 2},
        {"2.2", "CRC_error", 2},
        {"2.3", "PCR_error", 2, true},
        {"2.3a", "PCR_repetition_error", 2, true},
        {"2.3b", "PCR_discontinuity_indicator_error", 2},
        {"2.4", "PCR_accuracy_error", 2, true, true},
        {"2.5", "PTS_error", 2, true},
        {"2.6", "CAT_error", 2},
        {"3.1", "NIT_error", 3, true},
        {"3.1.a", "NIT_actual_error", 3, true},
        {"3.1.b", "NIT_other_error", 3, true},
        {"3.2", "SI_repetition_error", 3, true},
        {"3.4", "Unreferenced_PID", 3, true},
        {"3.4.a", "Unreferenced_PID_2", 3, true},
        {"3.5", "SDT_error", 3, true},
        {"3.5.a", "SDT_actual_error", 3, true},
        {"3.5.b", "SDT_other_error", 3, true},
        {"3.6", "EIT_error", 3, true},
        {"3.6.a", "EIT_actual_error", 3, true},
        {"3.6.b", "EIT_other_error", 3, true},
        {"3.6.c", "EIT_PF_error", 3, true},
        {"3.7", "RST_error", 3, true},
        {"3.8", "TDT_error", 3, true},
    }};
    return table;
}

}  // namespace kestrel::analysis
