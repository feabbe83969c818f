#pragma once

#include "demux/si_collector.h"

namespace kestrel {

// The NIT collector: sections are told apart by network_id and section_number, and parsed
// into the result under the network_id.
class nokia_dvb2000_demux2::NitFilter final : public si_collector {
  public:
    NitFilter(int pid, filter_bytes bytes, NitMap* result, FilterCallback callback, void* context);

    void parse() override;

  private:
    NitMap* result_;
};

}  // namespace kestrel
