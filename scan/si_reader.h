#pragma once

// The SI scans: the PSI/SI tables of the transport stream the card receives
// (scan_transponder), of every transport stream its NIT lists (the current NIT), and of
// every transport stream of the satellites the DiSEqC positions are set to (the configured
// satellites). Each collection is one run of a demultiplexer; its rows go to the progress.
//
// Threads: run and scan_transponder belong to the scan's worker thread; the model, the
// settings and the satellite list are touched only there while the scan runs. cancel may
// come from any other thread but the card's delivery thread; the progress's add_bytes
// runs on the delivery thread.

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "demux/eit_demux.h"
#include "demux/nokia_dvb2000_demux2.h"
#include "demux/other_stream_demux.h"
#include "device/dvb_device.h"
#include "model/scan_result.h"
#include "scan/nit_tunings.h"
#include "scan/scan_progress.h"
#include "scan/table_selection.h"
#include "settings/settings_store.h"
#include "startup/satellite_list.h"

namespace kestrel {

class si_reader {
  public:
    si_reader(dvb_device& device, settings_store& settings, const CSatelliteList& satellites,
              table_selection tables, scan_progress& progress);
    si_reader(const si_reader&) = delete;
    si_reader& operator=(const si_reader&) = delete;

    // The scan of the mode (ScanContext::mode), then the progress's done with its exit
    // code, which it returns: 0 for the current transponder; 1 when the current NIT or the
    // configured satellites were scanned, -1 when there was no NIT to scan; 0 for any other
    // mode.
    int run(AllNetworks& networks, std::int32_t mode);

    // The user's Cancel: ends the collection in progress; the scan goes on with its next step.
    void cancel();

    // Reads the tables of the transport stream the card receives and adds it under its
    // original_network_id and transport_stream_id, unless it is there already or its NIT,
    // SDT or PAT did not arrive. Always 0.
    std::int32_t scan_transponder(AllNetworks& networks);
    // The tables of NIT, SDT and PAT the last scan_transponder did not receive ("NIT, PAT"),
    // so it added nothing; "" when it had all three.
    const std::string& missing_tables() const { return missing_tables_; }

  private:
    // One row of the progress: the bytes its filters deliver go to the progress's row.
    class StreamInfo {
      public:
        StreamInfo(int row, std::string_view name, int pid, int number, scan_progress& progress);
        // The filters' callback; the context is the row.
        static void dvbcallback(void* context, std::int32_t length, const std::uint8_t* data);

      private:
        int row_;
        scan_progress& progress_;
    };

    int current_nit(AllNetworks& networks);
    int configured_satellites(AllNetworks& networks);
    // A start transponder of the satellite list: as DVB-S, then as DVB-S2 where that does not
    // lock and the frontend offers DVB-S2.
    std::uint32_t tune_start_transponder(TUNERPARM tuning);
    // Tunes and scans every transport stream of the first network of the NIT that the card's
    // family can tune, each once, then puts the tuning back. Always 0.
    std::int32_t nit_walk(AllNetworks& networks, const NitMap& nit, std::int32_t twelve_volt,
                          std::uint32_t position);
    // One entry of the walk: skipped when its transport stream was scanned or its first
    // tuning was tried already; else its tunings in turn until one locks, which is scanned.
    // Every tuning tried goes into `tuned`.
    void walk_entry(AllNetworks& networks, const lib13818::NitTransportStream& entry,
                    const walk_context& context, std::vector<TUNERPARM>& tuned);
    // set_tuner, then up to two seconds for lock; a failure is traced as the seed traces one.
    bool tune_and_lock(const TUNERPARM& tuning);
    // A line of the walk for the trace log and the progress's message.
    void walk_note(const std::string& text);
    // The tuning saved before a NIT walk or a scan of the satellites, delivery record
    // included, back into the tuner (a DVB-S read-back symbol rate is in kilosymbols per
    // second). Nothing for a frontend of no known type.
    std::optional<std::uint32_t> restore_tuning(TUNERPARM saved);

    void read_nit(NitMap& nit);
    void read_first_tables(NitMap& nit, SdtMap& sdt, PatList& pat);
    void take_tuning(Transponder& transponder, const NitMap& nit, std::int32_t tsid);
    void read_bat_cat(Transponder& transponder, const PatList& pat);
    void read_time_and_running_status(Transponder& transponder);
    void read_eit(Transponder& transponder);
    void read_sdt_other(Transponder& transponder, const SdtMap& sdt);
    void read_nit_other(Transponder& transponder, const NitMap& nit);
    void read_pmts(Transponder& transponder);
    std::int32_t diseqc_position_now();

    // A row of the collection being set up, under `key`; its address is the context of the
    // row's callback.
    StreamInfo* add_row(std::string_view name, int pid, int key, int number);
    // The collection: the demultiplexer's run, then the rows emptied.
    void run_and_clear(nokia_dvb2000_demux2& demux);
    bool stopping() const { return progress_.stop_wanted(); }

    dvb_device& device_;
    settings_store& settings_;
    const CSatelliteList& satellites_;
    const table_selection tables_;  // a copy: a selection is a view of the store or a mask
    scan_progress& progress_;
    nokia_dvb2000_demux2 generic_;
    eit_demux eit_;
    nokia_dvb2000_demux2 pmt_;
    sdt_other_demux sdt_other_;
    nit_other_demux nit_other_;
    std::map<int, StreamInfo> stream_infos_;
    std::string missing_tables_;
};

}  // namespace kestrel
