#include "demux/eit_reader2.h"

#include "log/trace_log.h"

namespace kestrel {

namespace {

constexpr si_collector::key_field eit_key[] = {{10, 2}, {8, 2}, {3, 2}, {6, 1}};

}  // namespace

eit_reader2::eit_reader2(int pid, filter_bytes bytes, EitMap* result, FilterCallback callback, void* context)
    : si_collector(pid, std::move(bytes), callback, context, eit_key,
                   {"eit_reader2::on_psi_section", "got EIT section"}),
      result_(result) {}

void eit_reader2::parse() {
    global_trace().log(3, "eit_reader2::parse()");
    parse_sections<lib13818::Eit>(
        [&](with_bytes<lib13818::Eit> eit) {
            if (result_ != nullptr) file_section(*result_, std::move(eit));
        },
        // A broken EIT section is skipped without a word; the others still count.
        [](const lib13818::error&) {});
}

}  // namespace kestrel
