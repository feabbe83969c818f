#pragma once

#include "demux/si_collector.h"

namespace kestrel {

// The SDT collector: sections are told apart by original_network_id, transport_stream_id
// and section_number, and parsed into the result under the first two.
class nokia_dvb2000_demux2::SdtFilter final : public si_collector {
  public:
    SdtFilter(int pid, filter_bytes bytes, SdtMap* result, FilterCallback callback, void* context);

    void parse() override;

  private:
    SdtMap* result_;
};

}  // namespace kestrel
