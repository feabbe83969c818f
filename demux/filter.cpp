#include "demux/filter.h"

#include <algorithm>
#include <type_traits>
#include <utility>

#include "device/log_address.h"
#include "lib13818/core/error.h"
#include "log/trace_log.h"

namespace kestrel {

namespace {

// PAT, CAT, PMT and the transport stream description are ISO tables of at most 1024 bytes;
// DVB SI and other private sections reach 4096.
int slot_size_for(int table_id) {
    return table_id <= 0x03 ? nokia_dvb2000_demux2::filter::psi_section_size
                            : nokia_dvb2000_demux2::filter::si_section_size;
}

// A PID the device cannot filter becomes one it refuses, rather than another PID.
std::uint16_t device_pid(int pid) {
    return pid >= 0 && pid <= 0x1FFF ? static_cast<std::uint16_t>(pid) : 0xFFFF;
}

bool has_list(const typed_target& target) {
    return std::visit(
        [](auto list) {
            if constexpr (std::is_same_v<decltype(list), std::monostate>)
                return false;
            else
                return list != nullptr;
        },
        target);
}

// Parses the first `count` slots into the typed target (a PMT target takes the first slot
// only); the first failure ends the parse.
struct typed_parse {
    const section_slots& slots;
    int count;
    int pid;

    void operator()(std::monostate) const {}
    void operator()(PmtList* pmts) const { parse_into(pmts, std::min(count, 1)); }
    template <class Table>
    void operator()(std::vector<Table>* list) const {
        parse_into(list, count);
    }

    template <class Table>
    void parse_into(std::vector<Table>* list, int n) const {
        for (int i = 0; list != nullptr && i < n; ++i) {
            const auto section = slots.section(static_cast<std::size_t>(i));
            Table table;
            table.parse(section.data(), section.size());
            table.keep(section);
            trace_section_warnings(pid, table);
            list->push_back(std::move(table));
        }
    }
};

}  // namespace

void trace_section_warnings(int pid, const lib13818::Section& table) {
    for (const lib13818::SectionWarning& w : table.warnings)
        global_trace().log(1, "warning: PID %#x table_id %#x section %d, byte %zu: %s", pid, table.table_id,
                           table.section_number, w.byte, w.text.c_str());
}

filter_bytes filter_bytes::copy(const std::uint8_t* data, const std::uint8_t* mask, int length) {
    if (data == nullptr || mask == nullptr || length <= 0) return {};
    const auto n = static_cast<std::size_t>(length);
    return {{data, data + n}, {mask, mask + n}};
}

nokia_dvb2000_demux2::filter::filter(int pid, int table_id, section_target target, FilterCallback callback,
                                     void* context)
    : m_secsize(slot_size_for(table_id)),
      m_seccnt(1),
      pid_(pid),
      table_id_(static_cast<std::uint8_t>(table_id)),
      target_(target),
      callback_(callback),
      context_(context) {}

nokia_dvb2000_demux2::filter::filter(int pid, int table_id, typed_target target, int section_size,
                                     int section_count, FilterCallback callback, void* context)
    : m_secsize(std::max(section_size, 0)),
      m_seccnt(std::max(section_count, 0)),
      pid_(pid),
      table_id_(static_cast<std::uint8_t>(table_id)),
      typed_(target),
      multi_section_(has_list(target)),
      callback_(callback),
      context_(context) {}

nokia_dvb2000_demux2::filter::filter(int pid, filter_bytes bytes, int section_size, int section_count,
                                     FilterCallback callback, void* context)
    : m_secsize(section_size),
      m_seccnt(section_count),
      pid_(pid),
      uses_filter_bytes_(true),
      bytes_(std::move(bytes)),
      callback_(callback),
      context_(context) {}

void nokia_dvb2000_demux2::filter::dvbcallback(void* handler, std::int32_t length, const std::uint8_t* data) {
    global_trace().log(1, "nokia_dvb2000_demux2::filter::dvbcallback(%#lx,%d,%#lx)", log_address(handler),
                       length, log_address(data));
    static_cast<filter*>(handler)->on_psi_section(length, data);
}

void nokia_dvb2000_demux2::filter::init(dvb_device& device) {
    global_trace().log(1, "nokia_dvb2000_demux2::filter::init()");
    device_ = &device;
    slots_.allocate(static_cast<std::size_t>(m_seccnt), static_cast<std::size_t>(m_secsize));
    m_gotdata = false;
    const std::uint8_t mask = 0xFF;
    filter_handle handle = nullptr;
    // A refused filter is not an error here: its handler receives nothing and delivers nothing.
    if (uses_filter_bytes_)
        device.add_filter(filter_kind::sections, device_pid(pid_), m_secsize, bytes_.data.data(),
                          bytes_.mask.data(),
                          static_cast<std::uint8_t>(std::min<std::size_t>(bytes_.data.size(), 0xFF)),
                          &dvbcallback, this, handle);
    else
        device.add_filter(filter_kind::sections, device_pid(pid_), psi_section_size, &table_id_, &mask, 1,
                          &dvbcallback, this, handle);
    handle_ = handle;
    if (handle != nullptr && stop_wanted_) device.stop_filter(handle);
}

void nokia_dvb2000_demux2::filter::stop() {
    stop_wanted_ = true;
    if (const filter_handle handle = handle_) device_->stop_filter(handle);
}

void nokia_dvb2000_demux2::filter::call_back(std::int32_t length, const std::uint8_t* data) const {
    if (callback_ != nullptr) callback_(context_, length, data);
}

std::size_t nokia_dvb2000_demux2::filter::whole_section(std::int32_t length, const std::uint8_t* data,
                                                        std::size_t min_size) {
    const std::size_t size =
        data != nullptr && length >= 3 ? lib13818::section_size(data, static_cast<std::size_t>(length)) : 0;
    if (size != 0 && size <= static_cast<std::size_t>(length) && size >= min_size) return size;
    global_trace().log(1, "section dropped: %d bytes delivered, %zu declared", length, size);
    return 0;
}

void nokia_dvb2000_demux2::filter::on_psi_section(std::int32_t length, const std::uint8_t* data) {
    call_back(length, data);
    // Sections can still arrive between completion and the stop of the device filter.
    if (m_gotdata) return;
    if (multi_section_)
        take_multi(length, data);
    else
        take_single(length, data);
}

void nokia_dvb2000_demux2::filter::take_single(std::int32_t length, const std::uint8_t* data) {
    const std::size_t size = whole_section(length, data, 3);
    if (size == 0) return;
    global_trace().log(1, "got section (PSI*)");
    slots_.store(0, data, size);
    m_gotdata = true;
    stop();
}

void nokia_dvb2000_demux2::filter::take_multi(std::int32_t length, const std::uint8_t* data) {
    // section_number and last_section_number are bytes 6 and 7.
    const std::size_t size = whole_section(length, data, 8);
    if (size == 0) return;
    global_trace().log(1, "section length : %d", static_cast<int>(size));
    if (size > static_cast<std::size_t>(m_secsize)) {
        global_trace().log(1, "section to large");
        return;
    }
    const int section_number = data[6];
    if (m_secidx >= m_seccnt || !sections_seen_.insert(section_number).second) return;
    global_trace().log(1, "got section (PMT/NIT/SDT/PAT)");
    global_trace().log(1, "TRACE1 m_secidx=%d m_secsize=%d m_seccnt=%d", m_secidx, m_secsize, m_seccnt);
    slots_.store(static_cast<std::size_t>(m_secidx), data, size);
    ++m_secidx;
    m_gotdata = m_secidx == m_seccnt || m_secidx > data[7];
    global_trace().log(1, "m_gotdata=%d", m_gotdata ? 1 : 0);
    if (m_gotdata) stop();
}

void nokia_dvb2000_demux2::filter::parse() {
    // A handler cut off by the time-out delivers nothing, not even what it stored.
    if (!m_gotdata) return;
    try {
        if (target_) {
            const auto section = slots_.section(0);
            target_.parse(section.data(), section.size());
            if (const lib13818::Section* table = target_.long_form()) trace_section_warnings(pid_, *table);
            return;
        }
        std::visit(typed_parse{slots_, m_secidx, pid_}, typed_);
    } catch (const lib13818::error& e) {
        global_trace().log(1, "Error parsing: %ld, %s", static_cast<long>(e.kind), e.what());
    }
}

}  // namespace kestrel
