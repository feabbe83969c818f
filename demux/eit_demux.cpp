#include "demux/eit_demux.h"

#include <cstdint>

namespace kestrel {

namespace {

constexpr int eit_pid = 0x12;

// Filter byte and mask of each EIT table, in the order of eit_table.
struct eit_filter {
    std::uint8_t table_id;
    std::uint8_t mask;
};
constexpr eit_filter eit_filters[] = {{0x4E, 0xFF}, {0x4F, 0xFF}, {0x50, 0xF0}, {0x60, 0xF0}};

}  // namespace

void eit_demux::add_actual_present_following(EitMap& result, FilterCallback callback, void* context) {
    add_eit(eit_table::actual_present_following, result, callback, context);
}

void eit_demux::add_other_present_following(EitMap& result, FilterCallback callback, void* context) {
    add_eit(eit_table::other_present_following, result, callback, context);
}

void eit_demux::add_actual_schedule(EitMap& result, FilterCallback callback, void* context) {
    add_eit(eit_table::actual_schedule, result, callback, context);
}

void eit_demux::add_other_schedule(EitMap& result, FilterCallback callback, void* context) {
    add_eit(eit_table::other_schedule, result, callback, context);
}

void eit_demux::add_eit(eit_table table, EitMap& result, FilterCallback callback, void* context) {
    const auto index = static_cast<std::size_t>(table);
    rows_[index] = {&result, true};
    const eit_filter& bytes = eit_filters[index];
    add_psi_handler(eit_pid, &bytes.table_id, &bytes.mask, &result, 1, callback, context);
}

}  // namespace kestrel
