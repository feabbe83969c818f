#include "device/filter_registry.h"

namespace kestrel {

bool section_matches(const card_filter& filter, const std::uint8_t* section, std::size_t length) {
    for (std::size_t i = 0; i < filter.length; ++i) {
        const std::size_t at = i == 0 ? 0 : i + 2;  // bytes 1 and 2 hold the section's length
        if (at >= length) return false;
        if ((section[at] & filter.mask[i]) != (filter.data[i] & filter.mask[i])) return false;
    }
    return true;
}

card_filter_id filter_registry::add(const card_filter& filter, filter_sink& sink) {
    std::lock_guard lock(mutex_);
    const card_filter_id id = next_id_++;
    if (next_id_ == 0) next_id_ = 1;
    filters_.emplace(id, slot{filter, &sink});
    ++generation_;
    return id;
}

bool filter_registry::remove(card_filter_id id) {
    std::unique_lock lock(mutex_);
    if (filters_.erase(id) == 0) return false;
    ++generation_;
    // A sink stopping a filter from inside its own delivery cannot wait for that delivery.
    if (delivery_thread_ != std::this_thread::get_id())
        delivery_done_.wait(lock, [&] { return delivering_ != id; });
    return true;
}

void filter_registry::deliver(card_filter_id id, const std::uint8_t* data, std::int32_t length) {
    filter_sink* sink = nullptr;
    {
        std::lock_guard lock(mutex_);
        const auto it = filters_.find(id);
        if (it == filters_.end()) return;
        sink = it->second.sink;
        delivering_ = id;
        delivery_thread_ = std::this_thread::get_id();
    }
    sink->on_data_arrival(data, length);
    {
        std::lock_guard lock(mutex_);
        delivering_ = 0;
        delivery_thread_ = {};
    }
    delivery_done_.notify_all();
}

std::vector<filter_registry::entry> filter_registry::snapshot() const {
    std::lock_guard lock(mutex_);
    std::vector<entry> all;
    all.reserve(filters_.size());
    for (const auto& [id, s] : filters_)
        all.push_back({id, s.filter});
    return all;
}

bool filter_registry::empty() const {
    std::lock_guard lock(mutex_);
    return filters_.empty();
}

std::uint64_t filter_registry::generation() const {
    std::lock_guard lock(mutex_);
    return generation_;
}

}  // namespace kestrel
