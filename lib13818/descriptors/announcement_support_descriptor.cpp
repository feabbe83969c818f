#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr value_name announcement_types[] = {
    {0, "emergency alarm"}, {1, "road traffic flash"}, {2, "public transport flash"}, {3, "warning message"},
    {4, "news flash"},      {5, "weather flash"},      {6, "event announcement"},     {7, "personal call"},
};
constexpr value_name reference_types[] = {
    {0, "in the usual audio stream of the service"},
    {1, "in a separate audio stream of the service"},
    {2, "in a separate service"},
    {3, "in a separate transport stream"},
};

// Announcements sent elsewhere than in the service's usual audio name the stream they are in.
constexpr field stream_fields[] = {
    uimsbf("original_network_id", 16).hex(4),
    uimsbf("transport_stream_id", 16).hex(4),
    uimsbf("service_id", 16).hex(4),
    uimsbf("component_tag", 8),
};
constexpr record stream{"stream", stream_fields};

constexpr field announcement_fields[] = {
    coded("announcement_type", 4, announcement_types),
    reserved(1),
    coded("reference_type", 3, reference_types),
    group(stream).when_in("reference_type", 1, 3),
};
constexpr record announcement{"announcement", announcement_fields};

constexpr field fields[] = {
    uimsbf("announcement_support_indicator", 16).hex(4),
    loop("announcements", announcement, rest()),
};
}  // namespace

// announcement_support_descriptor, tag 0x6E (ETSI EN 300 468 V1.16.1 clause 6.2.3): the kinds of announcement
// a service makes (one flag a type) and where each is sent.
constexpr description announcement_support{
    .name = "announcement_support_descriptor", .tag = 0x6E, .body = {"", fields}};

}  // namespace lib13818::descriptions
