#include "cli/scan_progress_printer.h"

namespace kestrel::cli {

void scan_progress_printer::show_stream(const stream_texts& texts) {
    if (quiet_ || texts.transport_stream.empty()) return;
    std::fprintf(out_, "NID / ORIG NID: %s  TSID: %s  Trasnponder: %s\n", texts.network_ids.c_str(),
                 texts.transport_stream.c_str(), texts.transponder.c_str());
}

void scan_progress_printer::add_row(int row, std::string_view name, int pid) {
    rows_[static_cast<std::size_t>(row)] = {std::string(name), pid};
    bytes_[static_cast<std::size_t>(row)].store(0, std::memory_order_relaxed);
    if (row >= used_) used_ = row + 1;
}

void scan_progress_printer::add_bytes(int row, std::int32_t length) {
    bytes_[static_cast<std::size_t>(row)].fetch_add(static_cast<std::uint64_t>(length),
                                                    std::memory_order_relaxed);
}

void scan_progress_printer::clear_rows() {
    if (!quiet_ && used_ > 0) {
        std::string line = "  read";
        for (int i = 0; i < used_; ++i) {
            const auto r = static_cast<std::size_t>(i);
            char item[96];
            std::snprintf(item, sizeof item, "%s %s PID %04X: %llu bytes", i == 0 ? "" : ",",
                          rows_[r].name.c_str(), static_cast<unsigned>(rows_[r].pid),
                          static_cast<unsigned long long>(bytes_[r].load(std::memory_order_relaxed)));
            line += item;
        }
        std::fprintf(out_, "%s\n", line.c_str());
    }
    used_ = 0;
}

void scan_progress_printer::message(std::string_view text) {
    std::fprintf(out_, "%.*s\n", static_cast<int>(text.size()), text.data());
}

}  // namespace kestrel::cli
