#include "demux/pmt_filter.h"

#include <algorithm>

#include "lib13818/core/error.h"
#include "log/trace_log.h"

namespace kestrel {

namespace {

constexpr std::uint8_t pmt_table_id = 0x02;
constexpr std::uint8_t full_mask = 0xFF;

}  // namespace

nokia_dvb2000_demux2::PmtFilter::PmtFilter(int pid, PmtList* target, FilterCallback callback, void* context)
    : filter(pid, filter_bytes::copy(&pmt_table_id, &full_mask, 1), psi_section_size, slot_count, callback,
             context),
      target_(target) {}

bool nokia_dvb2000_demux2::PmtFilter::all_received() const {
    return std::all_of(wanted_.begin(), wanted_.end(), [](const auto& program) { return program.second; });
}

void nokia_dvb2000_demux2::PmtFilter::on_psi_section(std::int32_t length, const std::uint8_t* data) {
    if (m_gotdata) return;
    call_back(length, data);
    // program_number is bytes 3 and 4.
    const std::size_t size = whole_section(length, data, 5);
    if (size == 0) return;
    if (size > static_cast<std::size_t>(m_secsize)) {
        global_trace().log(1, "section to large");
        return;
    }
    const int program_number = data[3] << 8 | data[4];
    const auto program = wanted_.find(program_number);
    if (program == wanted_.end() || program->second) return;
    global_trace().log(1, "got PMT section sid=%04X", program_number);
    slots_.store(static_cast<std::size_t>(stored_), data, size);
    ++stored_;
    program->second = true;
    // A PID shared by more programs than there are slots ends with the slots full.
    if (all_received() || stored_ == slot_count) {
        m_gotdata = true;
        stop();
    }
}

void nokia_dvb2000_demux2::PmtFilter::parse() {
    for (int i = 0; i < stored_ && target_ != nullptr; ++i) {
        const auto section = slots_.section(static_cast<std::size_t>(i));
        try {
            with_bytes<lib13818::Pmt> pmt;
            pmt.parse(section.data(), section.size());
            pmt.keep(section);
            target_->push_back(std::move(pmt));
        } catch (const lib13818::error& e) {
            global_trace().log(1, "error: %s", e.what());
        }
    }
}

}  // namespace kestrel
