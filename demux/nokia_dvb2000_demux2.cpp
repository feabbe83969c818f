#include "demux/nokia_dvb2000_demux2.h"

#include "demux/eit_reader2.h"
#include "demux/filter.h"
#include "demux/nit_filter.h"
#include "demux/pmt_filter.h"
#include "demux/sdt_filter.h"
#include "device/log_address.h"
#include "log/trace_log.h"

namespace kestrel {

nokia_dvb2000_demux2::nokia_dvb2000_demux2(dvb_device& device) : device_(device) {}

nokia_dvb2000_demux2::~nokia_dvb2000_demux2() = default;

void nokia_dvb2000_demux2::add_psi_handler(int pid, int table_id, section_target target,
                                           FilterCallback callback, void* context) {
    global_trace().log(2, "nokia_dvb2000_demux2::add_psi_handler(%#x,%#x,%#lx,%#lx,%#lx)", pid, table_id,
                       log_address(target.address()), log_address(callback), log_address(context));
    handlers_.emplace_back(pid, table_id, target, callback, context);
}

void nokia_dvb2000_demux2::add_psi_handler(int pid, const std::uint8_t* filter_data,
                                           const std::uint8_t* filter_mask, EitMap* result, int filter_length,
                                           FilterCallback callback, void* context) {
    add_collector(eit_handlers_, pid, filter_data, filter_mask, result, filter_length, callback, context);
}

void nokia_dvb2000_demux2::add_psi_handler(int pid, const std::uint8_t* filter_data,
                                           const std::uint8_t* filter_mask, SdtMap* result, int filter_length,
                                           FilterCallback callback, void* context) {
    add_collector(sdt_handlers_, pid, filter_data, filter_mask, result, filter_length, callback, context);
}

void nokia_dvb2000_demux2::add_psi_handler(int pid, const std::uint8_t* filter_data,
                                           const std::uint8_t* filter_mask, NitMap* result, int filter_length,
                                           FilterCallback callback, void* context) {
    add_collector(nit_handlers_, pid, filter_data, filter_mask, result, filter_length, callback, context);
}

template <class Collector, class Result>
void nokia_dvb2000_demux2::add_collector(std::list<Collector>& collectors, int pid,
                                         const std::uint8_t* filter_data, const std::uint8_t* filter_mask,
                                         Result* result, int filter_length, FilterCallback callback,
                                         void* context) {
    global_trace().log(2, "nokia_dvb2000_demux2::add_psi_handler(%#x,%#lx,%#lx,%#x,%#lx,%#lx)", pid,
                       log_address(filter_data), log_address(filter_mask), filter_length,
                       log_address(callback), log_address(context));
    collectors.emplace_back(pid, filter_bytes::copy(filter_data, filter_mask, filter_length), result,
                            callback, context);
}

void nokia_dvb2000_demux2::add_handler(int pid, int table_id, typed_target target, int section_size,
                                       int section_count, FilterCallback callback, void* context) {
    handlers_.emplace_back(pid, table_id, target, section_size, section_count, callback, context);
}

void nokia_dvb2000_demux2::add_pmt_handler(int pid, int program_number, FilterCallback callback,
                                           void* context) {
    auto& handler = pmt_handlers_[pid];
    if (!handler) handler = std::make_unique<PmtFilter>(pid, pmt_target_, callback, context);
    handler->want(program_number);
}

template <class F>
void nokia_dvb2000_demux2::for_each_handler(F&& f) {
    for (filter& handler : handlers_)
        f(handler);
    for (filter& handler : eit_handlers_)
        f(handler);
    for (filter& handler : sdt_handlers_)
        f(handler);
    for (filter& handler : nit_handlers_)
        f(handler);
    for (auto& [pid, handler] : pmt_handlers_)
        f(*handler);
}

void nokia_dvb2000_demux2::run() {
    global_trace().log(1, "nokia_dvb2000_demux2::run()");
    // Whatever happens below, every device filter is stopped before a handler goes.
    struct handler_scope {
        nokia_dvb2000_demux2& demux;
        bool filters_stopped = false;
        void stop_filters() {
            demux.device_.stop_filter();
            filters_stopped = true;
        }
        ~handler_scope() {
            if (!filters_stopped) demux.device_.stop_filter();
            demux.clear_handlers();
        }
    } scope{*this};
    // A stop of all filters from another thread (Cancel) while the handlers add theirs
    // misses those added after it; it ends the collection all the same, without a wait.
    const std::uint64_t stops_before = device_.stop_all_count();
    for_each_handler([&](filter& handler) { handler.init(device_); });
    if (device_.stop_all_count() == stops_before) wait_for_handlers();
    scope.stop_filters();
    for_each_handler([](filter& handler) { handler.parse(); });
}

void nokia_dvb2000_demux2::wait_for_handlers() {
    const std::uint32_t armed = device_.arm_timeout(timeout_ms, [this] { timerproc(); });
    if (armed != result::ok) {
        // Without a time-out the wait could last for ever; the filters are stopped at once.
        global_trace().log(1, "nokia_dvb2000_demux2::run() time-out not armed: %u", armed);
        return;
    }
    device_.wait_filters();
    device_.cancel_timeout();
}

void nokia_dvb2000_demux2::timerproc() {
    global_trace().log(1, "nokia_dvb2000_demux2::timerproc()");
    _timerproc();
}

void nokia_dvb2000_demux2::_timerproc() {
    global_trace().log(1, "nokia_dvb2000_demux2::_timerproc()");
    device_.cancel_timeout();
    device_.stop_filter();
}

void nokia_dvb2000_demux2::clear_handlers() {
    handlers_.clear();
    eit_handlers_.clear();
    sdt_handlers_.clear();
    nit_handlers_.clear();
    pmt_handlers_.clear();
}

}  // namespace kestrel
