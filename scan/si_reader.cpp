#include "scan/si_reader.h"

#include <exception>

#include "device/log_address.h"
#include "log/trace_log.h"

namespace kestrel {

namespace {

bool valid_row(int row) {
    if (row >= 0 && row < scan_progress::row_count) return true;
    global_trace().log(0, "FATAL: unexpected idx=%d", row);
    return false;
}

}  // namespace

si_reader::StreamInfo::StreamInfo(int row, std::string_view name, int pid, int number,
                                  scan_progress& progress)
    : row_(row), progress_(progress) {
    const std::string text(name);
    global_trace().log(1, "CStreamRootReadDlg::StreamInfo::StreamInfo(%d,%s,%#x,%d)", row, text.c_str(), pid,
                       number);
    if (valid_row(row)) progress_.add_row(row, name, pid);
}

void si_reader::StreamInfo::dvbcallback(void* context, std::int32_t length, const std::uint8_t* data) {
    global_trace().log(1, "CSIReaderDlg::StreamInfo::dvbcallback(%#lx,%d,%#lx)", log_address(context), length,
                       log_address(data));
    const auto* info = static_cast<const StreamInfo*>(context);
    if (valid_row(info->row_)) info->progress_.add_bytes(info->row_, length);
}

si_reader::si_reader(dvb_device& device, settings_store& settings, const CSatelliteList& satellites,
                     const table_selection& tables, scan_progress& progress)
    : device_(device),
      settings_(settings),
      satellites_(satellites),
      tables_(tables),
      progress_(progress),
      generic_(device),
      eit_(device),
      pmt_(device),
      sdt_other_(device),
      nit_other_(device) {}

int si_reader::run(AllNetworks& networks, std::int32_t mode) {
    int exit_code = 0;
    try {
        switch (mode) {
            case ScanContext::current_transponder:
                exit_code = scan_transponder(networks);
                break;
            case ScanContext::current_nit:
                exit_code = current_nit(networks);
                break;
            case ScanContext::configured_satellites:
                exit_code = configured_satellites(networks);
                break;
            default:
                break;
        }
    } catch (const std::exception& e) {
        // The one completion comes all the same; what was scanned until here stays.
        global_trace().log(0, "scan failed: %s", e.what());
        progress_.message(std::string("Scan failed: ") + e.what());
        exit_code = -1;
    }
    progress_.done(exit_code);
    return exit_code;
}

void si_reader::cancel() {
    global_trace().log(1, "CSIReaderDlg::OnCancel()");
    device_.stop_filter();
}

si_reader::StreamInfo* si_reader::add_row(std::string_view name, int pid, int key, int number) {
    const int row = static_cast<int>(stream_infos_.size());
    return &stream_infos_.try_emplace(key, row, name, pid, number, progress_).first->second;
}

void si_reader::run_and_clear(nokia_dvb2000_demux2& demux) {
    demux.run();
    progress_.clear_rows();
    stream_infos_.clear();
}

}  // namespace kestrel
