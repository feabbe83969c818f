#include "demux/nit_filter.h"

#include "log/trace_log.h"

namespace kestrel {

namespace {

constexpr si_collector::key_field nit_key[] = {{3, 2}, {6, 1}};

}  // namespace

nokia_dvb2000_demux2::NitFilter::NitFilter(int pid, filter_bytes bytes, NitMap* result,
                                           FilterCallback callback, void* context)
    : si_collector(pid, std::move(bytes), callback, context, nit_key,
                   {"nokia_dvb2000_demux2::NitFilter::_dvbcallback", "got NIT section"}),
      result_(result) {}

void nokia_dvb2000_demux2::NitFilter::parse() {
    global_trace().log(3, "nokia_dvb2000_demux2::NitFilter::parse");
    parse_sections<lib13818::Nit>(
        [&](with_bytes<lib13818::Nit> nit) {
            if (result_ != nullptr) file_section(*result_, std::move(nit));
        },
        [](const lib13818::error& e) { global_trace().log(1, "failed to parse nit: %s", e.what()); });
}

}  // namespace kestrel
