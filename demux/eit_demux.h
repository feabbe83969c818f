#pragma once

#include <array>
#include <cstddef>

#include "demux/nokia_dvb2000_demux2.h"

namespace kestrel {

// The four EIT tables a scan can read, each on PID 0x12.
enum class eit_table : std::size_t {
    actual_present_following,  // table 0x4E
    other_present_following,   // table 0x4F
    actual_schedule,           // tables 0x50-0x5F
    other_schedule,            // tables 0x60-0x6F
};

// The demultiplexer of the EIT collections: one collector per EIT table wanted, and for
// each table the result it was registered with.
class eit_demux : public nokia_dvb2000_demux2 {
  public:
    using nokia_dvb2000_demux2::nokia_dvb2000_demux2;

    void add_actual_present_following(EitMap& result, FilterCallback callback, void* context);
    void add_other_present_following(EitMap& result, FilterCallback callback, void* context);
    void add_actual_schedule(EitMap& result, FilterCallback callback, void* context);
    void add_other_schedule(EitMap& result, FilterCallback callback, void* context);

    bool wanted(eit_table table) const { return rows_[static_cast<std::size_t>(table)].wanted; }
    EitMap* result(eit_table table) const { return rows_[static_cast<std::size_t>(table)].result; }

  private:
    struct row {
        EitMap* result = nullptr;
        bool wanted = false;
    };

    void add_eit(eit_table table, EitMap& result, FilterCallback callback, void* context);

    std::array<row, 4> rows_{};
};

}  // namespace kestrel
