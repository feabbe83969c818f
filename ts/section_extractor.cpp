#include "ts/section_extractor.h"

#include "ts/capture_file.h"

namespace kestrel::ts {

section_extractor::section_extractor() = default;
section_extractor::~section_extractor() = default;

void section_extractor::select_pid(std::uint16_t pid) {
    selected_[pid & (pid_count - 1)] = 1;
}

void section_extractor::select_all_pids() {
    selected_.fill(1);
}

void section_extractor::start(packet_format format) {
    scanner_ = packet_scanner(format);
    for (auto& a : assemblers_)
        if (a) a->reset();
}

std::size_t section_extractor::feed(std::span<const std::uint8_t> data, bool final, section_sink sink) {
    return scanner_.scan(data.data(), data.size(), final, [&](const std::uint8_t* p) {
        const std::uint16_t pid = packet_pid(p);
        if (selected_[pid]) assembler(pid).push(parse_packet(p), sink);
    });
}

section_assembler& section_extractor::assembler(std::uint16_t pid) {
    auto& a = assemblers_[pid];
    if (!a) a = std::make_unique<section_assembler>();
    return *a;
}

extraction_stats section_extractor::stats() const {
    extraction_stats s;
    s.packets = scanner_.packets();
    s.skipped_bytes = scanner_.skipped_bytes();
    s.sync_losses = scanner_.sync_losses();
    s.truncated_bytes = scanner_.truncated_bytes();
    for (const auto& a : assemblers_)
        if (a) s.sections += a->stats();
    return s;
}

std::string extract_sections(const std::string& path, section_extractor& extractor, section_sink sink) {
    capture_file file;
    if (std::string error = file.open(path); !error.empty()) return error;
    extractor.start(file.format());
    std::size_t consumed = 0;
    while (true) {
        const capture_file::block block = file.next(consumed);
        consumed = extractor.feed(block.data, block.last, sink);
        if (block.last) break;
    }
    return file.error();
}

}  // namespace kestrel::ts
