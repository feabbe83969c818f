#include "lib13818/fields/catalogue.h"

namespace lib13818::descriptions {

namespace {
using namespace describe;

constexpr field network_name_fields[] = {
    language("ISO_639_language_code"),
    length("network_name_length", 8),
    text("network_name", bytes_in("network_name_length")),
};
constexpr record network_name{"name", network_name_fields};
constexpr field network_fields[] = {loop("names", network_name, rest())};

constexpr field bouquet_name_fields[] = {
    language("ISO_639_language_code"),
    length("bouquet_name_length", 8),
    text("bouquet_name", bytes_in("bouquet_name_length")),
};
constexpr record bouquet_name{"name", bouquet_name_fields};
constexpr field bouquet_fields[] = {loop("names", bouquet_name, rest())};

constexpr field service_name_fields[] = {
    language("ISO_639_language_code"),
    length("service_provider_name_length", 8),
    text("service_provider_name", bytes_in("service_provider_name_length")),
    length("service_name_length", 8),
    text("service_name", bytes_in("service_name_length")),
};
constexpr record service_name{"name", service_name_fields};
constexpr field service_fields[] = {loop("names", service_name, rest())};

constexpr field component_text_fields[] = {
    language("ISO_639_language_code"),
    length("text_description_length", 8),
    text("text_description", bytes_in("text_description_length")),
};
constexpr record component_text{"description", component_text_fields};
constexpr field component_fields[] = {
    uimsbf("component_tag", 8),
    loop("descriptions", component_text, rest()),
};
}  // namespace

// The names of a network, bouquet, service or component in several languages, one entry a
// language (ETSI EN 300 468 V1.16.1 clauses 6.2.22 to 6.2.25): multilingual_network_name_descriptor, tag
// 0x5B, multilingual_bouquet_name_descriptor, 0x5C, multilingual_service_name_descriptor, 0x5D, and
// multilingual_component_descriptor, 0x5E.
constexpr description multilingual_network_name{
    .name = "multilingual_network_name_descriptor", .tag = 0x5B, .body = {"", network_fields}};
constexpr description multilingual_bouquet_name{
    .name = "multilingual_bouquet_name_descriptor", .tag = 0x5C, .body = {"", bouquet_fields}};
constexpr description multilingual_service_name{
    .name = "multilingual_service_name_descriptor", .tag = 0x5D, .body = {"", service_fields}};
constexpr description multilingual_component{
    .name = "multilingual_component_descriptor", .tag = 0x5E, .body = {"", component_fields}};

}  // namespace lib13818::descriptions
