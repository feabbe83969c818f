#pragma once

#include <condition_variable>
#include <cstdint>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "device/card.h"

namespace kestrel {

// The filters started on one card, for card implementations: gives out ids and keeps the
// stop contract of the card seam. The card's one delivery thread hands data over with
// deliver(); remove() returns only when no delivery to that filter runs any more, unless it
// is called from inside a delivery, where waiting would never end.
// True when a section passes a section filter's bytes (see card_filter); a section too
// short for the filter's bytes does not.
bool section_matches(const card_filter& filter, const std::uint8_t* section, std::size_t length);

class filter_registry {
  public:
    struct entry {
        card_filter_id id;
        card_filter filter;
    };

    card_filter_id add(const card_filter& filter, filter_sink& sink);
    // True when the id was registered.
    bool remove(card_filter_id id);
    // Calls the sink of `id` with the data when the filter is still registered. Call it from
    // the card's delivery thread only, holding none of the card's locks.
    void deliver(card_filter_id id, const std::uint8_t* data, std::int32_t length);

    // The filters now registered, in the order they were added.
    std::vector<entry> snapshot() const;
    bool empty() const;
    // Changes with every add and remove, so a delivery thread rebuilds its tables only then.
    std::uint64_t generation() const;

  private:
    struct slot {
        card_filter filter;
        filter_sink* sink;
    };

    mutable std::mutex mutex_;
    std::condition_variable delivery_done_;
    std::map<card_filter_id, slot> filters_;
    card_filter_id next_id_ = 1;
    std::uint64_t generation_ = 0;
    card_filter_id delivering_ = 0;
    std::thread::id delivery_thread_;
};

}  // namespace kestrel
