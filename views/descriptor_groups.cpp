#include "views/descriptor_groups.h"

namespace kestrel::views {

void add_entries(tree_node& node, const lib::DescriptorISO639Language& d) {
    add_group(node, d.languages, {"ISO639LANGUAGESUB_DESCRIPTOR", "ISO639LANGUAGESUB_DESCRIPTORS"});
}

void add_entries(tree_node& node, const lib::DescriptorServiceList& d) {
    add_group(node, d.services, {"SERVICELISTSUB_DESCRIPTOR", "SERVICELISTSUB_DESCRIPTORS"});
}

void add_entries(tree_node& node, const lib::DescriptorTeletext& d) {
    add_group(node, d.pages, {"TELETEXTSUB_DESCRIPTOR", "TELETEXTSUB_DESCRIPTORS"});
}

// The names of the extended event items stand the other way round: the single item is
// "..._ITEMS", the parent of several "..._ITEM".
void add_entries(tree_node& node, const lib::DescriptorExtendedEvent& d) {
    add_group(node, d.items, {"EXTENDEDEVENT_DESCRIPTOR_ITEMS", "EXTENDEDEVENT_DESCRIPTOR_ITEM"});
}

void add_entries(tree_node& node, const lib::DescriptorContent& d) {
    add_group(node, d.items, {"CONTENT_DESCRIPTOR_ITEM", "CONTENT_DESCRIPTOR_ITEMS"});
}

void add_entries(tree_node& node, const lib::DescriptorLocalTimeOffset& d) {
    add_group(node, d.offsets, {"LOCALTIMEOFFSET_STATUS_DESCRIPTOR", "LOCALTIMEOFFSET_STATUS_DESCRIPTORS"});
}

void add_entries(tree_node& node, const lib::DescriptorCAIdentifier& d) {
    add_group(node, d.CA_system_ids, {"CA_SYSTEM_ID", "CA_SYSTEM_IDS"});
}

}  // namespace kestrel::views
