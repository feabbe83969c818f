#include "demux/si_collector.h"

#include <algorithm>

#include "device/log_address.h"
#include "log/trace_log.h"

namespace kestrel {

si_collector::si_collector(int pid, filter_bytes bytes, FilterCallback callback, void* context,
                           std::span<const key_field> key, trace_names names)
    : filter(pid, std::move(bytes), si_section_size, slot_count, callback, context),
      key_(key),
      key_size_(0),
      names_(names) {
    for (const key_field& field : key_)
        key_size_ = std::max<std::size_t>(key_size_, field.offset + field.width);
}

void si_collector::on_psi_section(std::int32_t length, const std::uint8_t* data) {
    call_back(length, data);
    global_trace().log(2, "%s(%#lx,%d,%#lx)", names_.callback, log_address(this), length, log_address(data));
    // A finished collector waits only for its device filter to stop.
    if (m_eitread) return;
    const std::size_t size = whole_section(length, data, key_size_);
    if (size == 0) return;
    if (size > static_cast<std::size_t>(m_secsize)) {
        global_trace().log(1, "section to large");
        return;
    }
    section_key key{};
    for (std::size_t i = 0; i < key_.size() && i < key.size(); ++i) {
        const key_field field = key_[i];
        key[i] = field.width == 2 ? (data[field.offset] << 8 | data[field.offset + 1]) : data[field.offset];
    }
    if (sections_read_.contains(key)) {
        global_trace().log(2, "section already read m_cnt=%d", m_cnt);
        m_eitread = true;
    } else {
        global_trace().log(2, "%s", names_.got);
        slots_.store(static_cast<std::size_t>(m_bufpos), data, size);
        sections_read_.emplace(key, m_bufpos);
        ++m_bufpos;
        ++m_cnt;
        if (m_cnt >= enough_sections) m_eitread = true;
    }
    if (m_eitread || m_bufpos == slot_count) {
        global_trace().log(2, "filter stop condition m_eitread=%d m_bufpos=%d", m_eitread ? 1 : 0, m_bufpos);
        global_trace().log(2, "buffer space exeeded");
        m_eitread = true;
        stop();
    }
}

}  // namespace kestrel
