// The scan of one transport stream: its NIT, SDT and PAT first, then the other tables in
// batches that share PIDs, then the PMTs four PIDs at a time.

#include <cmath>
#include <cstdio>
#include <utility>

#include "demux/filter.h"
#include "device/capture/lock_rule.h"
#include "device/log_address.h"
#include "log/trace_log.h"
#include "scan/nit_tunings.h"
#include "scan/si_reader.h"

namespace kestrel {

namespace {

// The number the rows of the first three reads of a scan log, and that of all others.
constexpr int first_reads = 752;
constexpr int later_reads = 1880;

constexpr std::uint8_t nit_actual_table[] = {0x40};
constexpr std::uint8_t sdt_actual_table[] = {0x42};
constexpr std::uint8_t whole_byte[] = {0xFF};

// The callback of the handlers whose deliveries no row counts.
void log_delivery(void*, std::int32_t length, const std::uint8_t* data) {
    global_trace().log(1, "(%d,%#lx)", length, log_address(data));
}

std::string hex4(std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%04X", static_cast<unsigned>(value));
    return text;
}

// What the first key of a map holds; null when the map is empty.
template <class Map>
const auto* first_value(const Map& map) {
    return map.empty() ? nullptr : &map.begin()->second;
}

// The first entry of the transport stream in the NIT: networks in key order, their
// sections in order, the entries of each in order.
const lib13818::NitTransportStream* find_stream(const NitMap& nit, std::int32_t tsid) {
    for (const auto& [network_id, sections] : nit)
        for (const auto& [number, section] : sections)
            for (const lib13818::NitTransportStream& stream : section.transport_streams)
                if (stream.transport_stream_id == tsid) return &stream;
    return nullptr;
}

// The tuning read back as the model takes it: GHz, symbol rate in kilosymbols per second, the
// system of the frontend type where the card names none, and the seed's words (DVB-C
// modulation, DVB-T bandwidth) where the record leaves them open.
tuner_readback readback_of(const TUNERPARM& t) {
    tuner_readback r{t.type, t.frequency, t.word_a, t.word_b, t.word_c, t.delivery};
    auto& d = r.delivery;
    if (t.type == frontend_dvb_s) return r;
    r.frequency = t.frequency / 1000.0;
    r.polarisation = 0;
    r.fec = -1;  // as the DVB-S read-back: the card does not say
    if (t.type == frontend_dvb_c) {
        r.symbol_rate_k = static_cast<std::uint32_t>(t.word_b) / 1000;
        if (d.system == lib13818::DeliverySystem::automatic) d.system = lib13818::DeliverySystem::dvb_c;
        if (d.modulation == lib13818::Modulation::automatic) d.modulation = modulation_of_qam_word(t.word_c);
        return r;
    }
    r.symbol_rate_k = 0;
    if (d.system == lib13818::DeliverySystem::automatic) d.system = lib13818::DeliverySystem::dvb_t;
    if (d.bandwidth_hz == lib13818::automatic) d.bandwidth_hz = bandwidth_hz_of_code(t.word_c);
    return r;
}

}  // namespace

void si_reader::read_nit(NitMap& nit) {
    if (stopping()) return;
    generic_.add_psi_handler(0x10, nit_actual_table, whole_byte, &nit, 1, log_delivery, nullptr);
    add_row("NIT", 0x0010, 0x10, first_reads);
    run_and_clear(generic_);
}

void si_reader::read_first_tables(NitMap& nit, SdtMap& sdt, PatList& pat) {
    read_nit(nit);
    if (stopping()) return;
    generic_.add_psi_handler(0x11, sdt_actual_table, whole_byte, &sdt, 1, log_delivery, nullptr);
    add_row("SDT", 0x0011, 0x11, first_reads);
    run_and_clear(generic_);
    if (stopping()) return;
    generic_.add_handler(0x00, 0x00, &pat, nokia_dvb2000_demux2::filter::psi_section_size, 10, log_delivery,
                         nullptr);
    add_row("PAT", 0x0000, 0x00, first_reads);
    run_and_clear(generic_);
}

std::int32_t si_reader::scan_transponder(AllNetworks& networks) {
    global_trace().log(1, "CSIReaderDlg::scan_transponder()");
    progress_.show_stream({});
    Transponder transponder;
    NitMap nit;
    SdtMap sdt;
    PatList pat;
    read_first_tables(nit, sdt, pat);

    // The first network's sections, and those of the first original network's first stream.
    const auto* network = first_value(nit);
    const auto* original_network = first_value(sdt);
    const auto* sdt_stream = original_network != nullptr ? first_value(*original_network) : nullptr;
    missing_tables_.clear();
    const auto missing = [this](const char* table) {
        missing_tables_ += (missing_tables_.empty() ? "" : ", ") + std::string(table);
    };
    if (network == nullptr || network->empty()) missing("NIT");
    if (sdt_stream == nullptr || sdt_stream->empty()) missing("SDT");
    if (pat.empty()) missing("PAT");
    if (!missing_tables_.empty()) return 0;
    const std::int32_t nid = network->begin()->second.table_id_extension;
    const std::int32_t onid = sdt_stream->begin()->second.original_network_id;
    const std::int32_t tsid = pat.front().table_id_extension;
    global_trace().log(1, "nNID=%#x nTID=%#x", static_cast<unsigned>(onid), static_cast<unsigned>(tsid));

    take_tuning(transponder, nit, tsid);
    transponder.transponder_number = tsid;
    if (contains_transponder(networks, onid, tsid)) return 0;
    progress_.show_stream({hex4(nid) + " / " + hex4(onid), hex4(tsid), transponder.short_label()});

    read_bat_cat(transponder, pat);
    read_time_and_running_status(transponder);
    read_eit(transponder);
    read_sdt_other(transponder, sdt);
    read_nit_other(transponder, nit);
    read_pmts(transponder);

    const std::int32_t position = networks.count(onid) != 0 ? 0 : diseqc_position_now();
    add_transponder(networks, onid, tsid, transponder, position);
    return 0;
}

void si_reader::take_tuning(Transponder& transponder, const NitMap& nit, std::int32_t tsid) {
    TUNERPARM tuning;
    const bool read_back = device_.get_tuner(tuning) == result::ok;
    const lib13818::NitTransportStream* stream = find_stream(nit, tsid);
    if (stream != nullptr && !stream->satellite_delivery_system.empty()) {
        transponder.set_tuning(stream->satellite_delivery_system.front());
        transponder.delivery = satellite_delivery_of(*stream);
        // A NIT can be wrong about the frequency: one the card could not have locked on from
        // where it is tuned gives way to the tuned one.
        const double off_khz = std::abs(transponder.frequency - tuning.frequency) * 1e6;
        if (read_back && tuning.type == frontend_dvb_s && off_khz > lock_tolerance_khz(frontend_dvb_s)) {
            global_trace().log(2, "NIT frequency %f GHz is not the tuned %f GHz - tuned one kept",
                               transponder.frequency, tuning.frequency);
            transponder.frequency = tuning.frequency;
        }
        return;
    }
    // Cable and terrestrial streams are filed as tuned: the frequency the card locked on.
    if (stream == nullptr) global_trace().log(2, "current TS not found in NIT - using tuner parameters");
    transponder.set_tuning(readback_of(tuning));
}

std::int32_t si_reader::diseqc_position_now() {
    TUNERPARM tuning;
    return device_.get_tuner(tuning) == result::ok ? static_cast<std::int32_t>(tuning.word_d) : 0;
}

void si_reader::read_bat_cat(Transponder& transponder, const PatList& pat) {
    if (!stopping() && tables_.enabled(table_bat)) {
        StreamInfo* row = add_row("BAT", 0x0011, 0x11, later_reads);
        generic_.add_psi_handler(0x11, 0x4A, &transponder.BAT, StreamInfo::dvbcallback, row);
    }
    if (tables_.enabled(table_pat)) transponder.PAT = pat.front();
    if (!stopping() && tables_.enabled(table_cat)) {
        StreamInfo* row = add_row("CAT", 0x0001, 0x01, later_reads);
        generic_.add_psi_handler(0x01, 0x01, &transponder.CAT, StreamInfo::dvbcallback, row);
    }
    if (!stream_infos_.empty()) run_and_clear(generic_);
}

void si_reader::read_time_and_running_status(Transponder& transponder) {
    if (stopping()) return;
    StreamInfo* time_row = nullptr;
    if (tables_.enabled(table_tdt) || tables_.enabled(table_tot))
        time_row = add_row("TDT/TOT", 0x0014, 0x14, later_reads);
    // The PAT read again with the RST replaces the one kept, once it has arrived: a table
    // parsed a second time would hold its programs twice.
    with_bytes<lib13818::Pat> pat_again;
    if (tables_.enabled(table_rst)) {
        generic_.add_psi_handler(0x00, 0x00, &pat_again, log_delivery, nullptr);
        StreamInfo* row = add_row("RST", 0x0013, 0x13, later_reads);
        generic_.add_psi_handler(0x13, 0x71, &transponder.RST, StreamInfo::dvbcallback, row);
    }
    // The time row exists unless the bits changed since it was added.
    if (time_row != nullptr && tables_.enabled(table_tot))
        generic_.add_psi_handler(0x14, 0x73, &transponder.TOT, StreamInfo::dvbcallback, time_row);
    if (time_row != nullptr && tables_.enabled(table_tdt))
        generic_.add_psi_handler(0x14, 0x70, &transponder.TDT, StreamInfo::dvbcallback, time_row);
    if (!stream_infos_.empty()) run_and_clear(generic_);
    if (pat_again.parsed) transponder.PAT = std::move(pat_again);
}

void si_reader::read_eit(Transponder& transponder) {
    if (stopping()) return;
    const bool actual_pf = tables_.enabled(table_eit_actual_present_following);
    const bool other_pf = tables_.enabled(table_eit_other_present_following);
    const bool actual_schedule = tables_.enabled(table_eit_actual_schedule);
    const bool other_schedule = tables_.enabled(table_eit_other_schedule);
    if (!actual_pf && !other_pf && !actual_schedule && !other_schedule) return;
    StreamInfo* row = add_row("EIT", 0x0012, 0x12, later_reads);
    if (actual_pf)
        eit_.add_actual_present_following(transponder.eit_actual_present_following, StreamInfo::dvbcallback,
                                          row);
    if (other_pf)
        eit_.add_other_present_following(transponder.eit_other_present_following, StreamInfo::dvbcallback,
                                         row);
    if (actual_schedule)
        eit_.add_actual_schedule(transponder.eit_actual_schedule, StreamInfo::dvbcallback, row);
    if (other_schedule) eit_.add_other_schedule(transponder.eit_other_schedule, StreamInfo::dvbcallback, row);
    global_trace().log(1, "scanning EIT");
    run_and_clear(eit_);
}

void si_reader::read_sdt_other(Transponder& transponder, const SdtMap& sdt) {
    const bool other = !stopping() && tables_.enabled(table_sdt_other);
    StreamInfo* row = other ? add_row("SDT", 0x0011, 0x11, later_reads) : nullptr;
    if (tables_.enabled(table_sdt_actual)) transponder.sdt_actual = sdt;
    if (!other) return;
    sdt_other_.add_sdt_other(transponder.sdt_other, StreamInfo::dvbcallback, row);
    global_trace().log(1, "scanning SDT");
    run_and_clear(sdt_other_);
}

void si_reader::read_nit_other(Transponder& transponder, const NitMap& nit) {
    const bool other = !stopping() && tables_.enabled(table_nit_other);
    StreamInfo* row = other ? add_row("NIT", 0x0010, 0x10, later_reads) : nullptr;
    if (tables_.enabled(table_nit_actual)) transponder.nit_actual = nit;
    if (other) {
        nit_other_.add_nit_other(transponder.nit_other, StreamInfo::dvbcallback, row);
        global_trace().log(1, "scanning NIT");
        run_and_clear(nit_other_);
    }
    pmt_.set_pmt_target(&transponder.PMTs);
}

void si_reader::read_pmts(Transponder& transponder) {
    if (!tables_.enabled(table_pmt)) return;
    for (const lib13818::PatProgram& program : transponder.PAT.programs) {
        // A stop ends the PMTs between collections; the programs registered are read.
        if (stream_infos_.empty() && stopping()) break;
        if (program.program_number == 0) continue;
        auto row = stream_infos_.find(program.PID);
        StreamInfo* info =
            row != stream_infos_.end() ? &row->second : add_row("PMT", program.PID, program.PID, later_reads);
        pmt_.add_pmt_handler(program.PID, program.program_number, StreamInfo::dvbcallback, info);
        if (stream_infos_.size() == scan_progress::row_count) run_and_clear(pmt_);
    }
    if (!stream_infos_.empty()) run_and_clear(pmt_);
}

}  // namespace kestrel
