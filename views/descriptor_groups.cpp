#include "views/descriptor_groups.h"

#include "views/described_names.h"

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

void add_entries(tree_node& node, const lib::DescriptorDescribed& d) {
    add_entries(node, d.body());
}

// Each loop of entries that show more than one value is a group of nodes; a loop of single
// values (frequencies) shows in its record's rows instead.
void add_entries(tree_node& node, const lib::described_record& r) {
    const std::vector<lib::decoded_field>& fields = r.descriptor().fields;
    for (std::size_t i = r.first(); i < r.end(); i = fields[i].end) {
        const lib::decoded_field& f = fields[i];
        if (f.kind != lib::decoded_field::role::loop || sole_field(*f.spec->element) != nullptr) continue;
        const lib::described_record::records_view records(&r.descriptor(), static_cast<std::uint16_t>(i + 1),
                                                          f.end, f.value);
        auto record = records.begin();
        // A loop's name already names its entries in the plural ("cells").
        add_grouped(node, records.size(), singular_node(f.spec->element->name), singular_node(f.spec->name),
                    [&](tree_node& at, std::string text, std::size_t) {
                        const lib::described_record entry = *record++;
                        add_entries(at.add(std::move(text), item_kind::record, entry), entry);
                    });
    }
}

void add_described_groups(tree_node& parent, const std::vector<lib::DescriptorDescribed>& described) {
    for (const described_kind& kind : kinds_of(described))
        add_grouped(parent, kind.members.size(), singular_node(kind.what->name), plural_node(kind.what->name),
                    [&](tree_node& at, std::string text, std::size_t i) {
                        const lib::DescriptorDescribed& d = *kind.members[i];
                        add_entries(at.add(std::move(text), item_kind::record, &d), d);
                    });
}

}  // namespace kestrel::views
