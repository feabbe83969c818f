#pragma once

#include "demux/nokia_dvb2000_demux2.h"

namespace kestrel {

// The demultiplexer of the SDT of other transport streams (table 0x46 on PID 0x11).
class sdt_other_demux : public nokia_dvb2000_demux2 {
  public:
    using nokia_dvb2000_demux2::nokia_dvb2000_demux2;

    void add_sdt_other(SdtMap& result, FilterCallback callback, void* context);
    SdtMap* result() const { return result_; }

  private:
    SdtMap* result_ = nullptr;
};

// The demultiplexer of the NIT of other networks (table 0x41 on PID 0x10).
class nit_other_demux : public nokia_dvb2000_demux2 {
  public:
    using nokia_dvb2000_demux2::nokia_dvb2000_demux2;

    void add_nit_other(NitMap& result, FilterCallback callback, void* context);
    NitMap* result() const { return result_; }

  private:
    NitMap* result_ = nullptr;
};

}  // namespace kestrel
