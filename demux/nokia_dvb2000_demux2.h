#pragma once

#include <cstdint>
#include <list>
#include <map>
#include <memory>

#include "demux/section_target.h"
#include "device/dvb_device.h"
#include "model/section_maps.h"

namespace kestrel {

class eit_reader2;

// Collects the PSI/SI sections of the transport stream the card receives. A caller
// registers one handler per table it wants and calls run(): one device section filter per
// handler, a wait until every handler has what it wants or 30 seconds of the card's clock
// have passed, then every handler parses what it collected into the caller's results.
//
// Threads: registration and run() belong to one thread. The handlers receive sections on
// the card's delivery thread while run() waits; run() stops every device filter before a
// handler is parsed or destroyed, so no delivery ever meets a handler that is gone. A stop
// of all device filters from another thread (Cancel) ends run() wherever it is, even while
// the handlers are still adding their filters.
class nokia_dvb2000_demux2 {
  public:
    class filter;
    class SdtFilter;
    class NitFilter;
    class PmtFilter;
    using EitFilter = eit_reader2;

    static constexpr std::uint32_t timeout_ms = 30'000;

    explicit nokia_dvb2000_demux2(dvb_device& device);
    ~nokia_dvb2000_demux2();
    nokia_dvb2000_demux2(const nokia_dvb2000_demux2&) = delete;
    nokia_dvb2000_demux2& operator=(const nokia_dvb2000_demux2&) = delete;

    // A single-section handler: the first section of table_id on the PID goes to target.
    void add_psi_handler(int pid, int table_id, section_target target, FilterCallback callback,
                         void* context);
    // Collectors of every section the filter bytes let through, filed into result.
    void add_psi_handler(int pid, const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                         EitMap* result, int filter_length, FilterCallback callback, void* context);
    void add_psi_handler(int pid, const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                         SdtMap* result, int filter_length, FilterCallback callback, void* context);
    void add_psi_handler(int pid, const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                         NitMap* result, int filter_length, FilterCallback callback, void* context);
    // A ready-made multi-section handler: up to section_count distinct sections of table_id
    // on the PID, each at most section_size bytes, parsed into target.
    void add_handler(int pid, int table_id, typed_target target, int section_size, int section_count,
                     FilterCallback callback, void* context);
    // Wants the PMT of program_number on the PID; programs sharing a PID share one filter.
    void add_pmt_handler(int pid, int program_number, FilterCallback callback, void* context);
    // Where PMT handlers registered from now on put their PMTs.
    void set_pmt_target(PmtList* target) { pmt_target_ = target; }

    // The whole collection; returns after the parse, with no handler left registered.
    void run();

  private:
    template <class Collector, class Result>
    void add_collector(std::list<Collector>& collectors, int pid, const std::uint8_t* filter_data,
                       const std::uint8_t* filter_mask, Result* result, int filter_length,
                       FilterCallback callback, void* context);
    template <class F>
    void for_each_handler(F&& f);
    void wait_for_handlers();
    void clear_handlers();
    // The time-out's routine, on the thread waiting in run().
    void timerproc();
    void _timerproc();

    std::list<filter> handlers_;
    std::list<EitFilter> eit_handlers_;
    std::list<SdtFilter> sdt_handlers_;
    std::list<NitFilter> nit_handlers_;
    std::map<int, std::unique_ptr<PmtFilter>> pmt_handlers_;
    dvb_device& device_;
    PmtList* pmt_target_ = nullptr;
};

}  // namespace kestrel
