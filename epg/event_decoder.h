#pragma once

#include "epg/guide.h"
#include "lib13818/core/dvb_text.h"
#include "lib13818/tables/eit.h"

namespace kestrel::epg {

// One EIT event as the guide keeps it: times in seconds (faults flagged), texts in UTF-8
// through the network's decoder, extended event parts joined, genres, ratings, components.
// Of several short or extended event languages, the first short event's language is taken
// (the first extended language when it has none).
guide_event decode_event(const lib13818::EitEvent& event, event_source source,
                         lib13818::dvb_text_decoder& text);

// The extended event descriptors of one language joined: the parts in descriptor_number
// order (a repeated number counts once), their texts' bytes joined before decoding, since a
// multi-byte character may straddle two parts. Parts whose selectors disagree are decoded
// one by one instead. Items stay (description, item) pairs in part order.
struct extended_text {
    std::string text;
    std::vector<event_item> items;
};
extended_text join_extended(const std::vector<const lib13818::DescriptorExtendedEvent*>& parts,
                            lib13818::dvb_text_decoder& text);

}  // namespace kestrel::epg
