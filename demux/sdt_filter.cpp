#include "demux/sdt_filter.h"

#include "log/trace_log.h"

namespace kestrel {

namespace {

constexpr si_collector::key_field sdt_key[] = {{8, 2}, {3, 2}, {6, 1}};

}  // namespace

nokia_dvb2000_demux2::SdtFilter::SdtFilter(int pid, filter_bytes bytes, SdtMap* result,
                                           FilterCallback callback, void* context)
    : si_collector(pid, std::move(bytes), callback, context, sdt_key,
                   {"nokia_dvb2000_demux2::SdtFilter::_dvbcallback", "got SDT section"}),
      result_(result) {}

void nokia_dvb2000_demux2::SdtFilter::parse() {
    global_trace().log(3, "nokia_dvb2000_demux2::SdtFilter::parse");
    parse_sections<lib13818::Sdt>(
        [&](with_bytes<lib13818::Sdt> sdt) {
            global_trace().log(2, "addding SDT NID=%#x TID=%#x SEC=%#x", sdt.original_network_id,
                               sdt.table_id_extension, sdt.section_number);
            if (result_ != nullptr) file_section(*result_, std::move(sdt));
        },
        [](const lib13818::error& e) { global_trace().log(1, "failed to parse sdt: %s", e.what()); });
}

}  // namespace kestrel
