#include "epg/collection.h"

#include "ts/section_extractor.h"

namespace kestrel::epg {

namespace {

struct guide_filter {
    std::uint16_t pid;
    std::uint8_t table_id;
    std::uint8_t mask;
};
// EIT 0x4E-0x6F pass 0x40/0xC0, SDT actual and other 0x42/0x46 pass 0x42/0xFB, TDT and TOT
// 0x70/0x73 pass 0x70/0xFC; the store drops the other tables these let through.
constexpr guide_filter filters[] = {{0x12, 0x40, 0xC0}, {0x11, 0x42, 0xFB}, {0x14, 0x70, 0xFC}};
constexpr int section_buffer = 4096;

}  // namespace

card_collection::card_collection(dvb_device& device, section_store& store, std::uint32_t seconds)
    : device_(device), store_(store), seconds_(seconds) {}

void card_collection::on_section(void* context, std::int32_t length, const std::uint8_t* data) {
    auto* self = static_cast<card_collection*>(context);
    if (length <= 0 || self->completed_.load()) return;
    if (self->store_.feed({data, static_cast<std::size_t>(length)}) && !self->completed_.exchange(true))
        self->device_.stop_filter();
}

card_collection::ending card_collection::run() {
    // A cancel while the filters are being added may miss those added after it; it ends
    // the collection all the same, without a wait.
    const std::uint64_t stops_before = device_.stop_all_count();
    int started = 0;
    for (const guide_filter& f : filters) {
        filter_handle handle = nullptr;
        if (device_.add_filter(filter_kind::sections, f.pid, section_buffer, &f.table_id, &f.mask, 1,
                               &on_section, this, handle) == result::ok)
            ++started;
    }
    if (started > 0 && !cancelled_ && device_.stop_all_count() == stops_before &&
        device_.arm_timeout(seconds_ * 1000, [this] { device_.stop_filter(); }) == result::ok) {
        device_.wait_filters();
        device_.cancel_timeout();
    }
    // Once more, so that no callback runs into a store its owner is about to read.
    device_.stop_filter();
    if (store_.complete()) return ending::complete;
    if (cancelled_) return ending::cancelled;
    return started == 0 ? ending::refused : ending::stopped;
}

void card_collection::cancel() {
    cancelled_ = true;
    device_.stop_filter();
}

std::string read_capture(const std::string& path, section_store& store) {
    ts::section_extractor extractor;
    for (const guide_filter& f : filters)
        extractor.select_pid(f.pid);
    return ts::extract_sections(
        path, extractor, [&](std::uint16_t, std::span<const std::uint8_t> section) { store.feed(section); });
}

}  // namespace kestrel::epg
