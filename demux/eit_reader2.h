#pragma once

#include "demux/si_collector.h"

namespace kestrel {

// The EIT collector (nokia_dvb2000_demux2::EitFilter): sections are told apart by
// original_network_id, transport_stream_id, service_id and section_number, so that
// schedule tables 0x50 and 0x51 of one service meet under one key. Parsed sections go
// into the result by original_network_id, transport_stream_id and service_id.
class eit_reader2 final : public si_collector {
  public:
    eit_reader2(int pid, filter_bytes bytes, EitMap* result, FilterCallback callback, void* context);

    void parse() override;

  private:
    EitMap* result_;
};

}  // namespace kestrel
