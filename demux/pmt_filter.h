#pragma once

#include <map>

#include "demux/filter.h"

namespace kestrel {

// The PMT collector of one PID: keeps the first PMT section of every program registered on
// the PID and stops when it has all of them, or when its 50 slots are full.
class nokia_dvb2000_demux2::PmtFilter final : public nokia_dvb2000_demux2::filter {
  public:
    static constexpr int slot_count = 50;

    PmtFilter(int pid, PmtList* target, FilterCallback callback, void* context);

    // Adds a program to the ones wanted, not yet received.
    void want(int program_number) { wanted_.try_emplace(program_number, false); }

    void on_psi_section(std::int32_t length, const std::uint8_t* data) override;
    // Parses what was stored, even after a time-out.
    void parse() override;

  private:
    bool all_received() const;

    int stored_ = 0;
    PmtList* target_;
    std::map<int, bool> wanted_;  // program_number -> received
};

}  // namespace kestrel
