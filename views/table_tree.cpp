#include "views/table_tree.h"

#include "lib13818/names/registry.h"
#include "lib13818/names/stream_type_names.h"
#include "log/trace_log.h"
#include "views/descriptor_groups.h"
#include "views/display_text.h"
#include "views/network_charset.h"
#include "views/service_names.h"

namespace kestrel::views {

namespace {

unsigned long address(const void* p) {
    return static_cast<unsigned long>(reinterpret_cast<std::uintptr_t>(p));
}

// "%04X - name" of an original_network_id and its registry name.
std::string network_text(const char* pattern, std::int32_t onid) {
    return format(pattern, static_cast<unsigned>(onid)) + shown_name(lib::original_network_name(onid));
}

// The PMT descriptor groups in the order the tree shows them; teletext descriptors are
// decoded only in elementary stream loops.
void add_pmt_groups(tree_node& node, const lib::PmtDescriptors& d) {
    add_group(node, d.CA, ca_group);
    add_group(node, d.video_stream, video_stream_group);
    add_group(node, d.ISO_639_language, iso639_group);
    add_group(node, d.teletext, teletext_group);
    add_group(node, d.general, general_group);
    add_group(node, d.stream_identifier, stream_identifier_group);
    add_group(node, d.audio_stream, audio_stream_group);
    add_group(node, d.CA_identifier, ca_identifier_group);
    add_group(node, d.STD, std_group);
    add_group(node, d.private_data_indicator, private_data_group);
    add_group(node, d.copyright, copyright_group);
    add_described_groups(node, d.described);
}

void add_event_groups(tree_node& node, const lib::EitEvent& event) {
    add_group(node, event.general, general_group);
    add_group(node, event.short_event, short_event_group);
    add_group(node, event.time_shifted_event, time_shifted_event_group);
    add_group(node, event.component, component_group);
    add_group(node, event.extended_event, extended_event_group);
    add_group(node, event.content, content_group);
    add_described_groups(node, event.described);
}

// The table nodes under one transponder.
class transponder_builder {
  public:
    transponder_builder(lib::dvb_text_decoder& text, const void* pane, std::int32_t onid, std::int32_t tsid,
                        const Transponder& tp)
        : text_(text), pane_(pane), onid_(onid), tsid_(tsid), tp_(tp) {}

    void build(tree_node& node) {
        add_cat(node);
        add_nit(node, "NIT - actual network", tp_.nit_actual);
        add_nit(node, "NIT - other network", tp_.nit_other);
        add_sdt(node, "SDT - actual transport stream", tp_.sdt_actual);
        add_sdt(node, "SDT - other transport stream", tp_.sdt_other);
        add_bat(node);
        add_pat(node);
        add_rst(node);
        add_tdt(node);
        add_tot(node);
        add_pmt(node);
        add_eit(node);
    }

  private:
    void trace(const tree_node& parent, const char* table) const {
        global_trace().log(2, "CTransponderTableListPaneWnd::SetTable(%#lx,const %s &,%#lx)",
                           address(&parent), table, address(pane_));
    }

    void add_cat(tree_node& parent) const {
        if (!tp_.CAT.parsed || tp_.CAT.CA_descriptors.empty()) return;
        trace(parent, "Cat");
        add_group(parent.add("CAT", item_kind::record, &tp_.CAT), tp_.CAT.CA_descriptors, ca_group);
    }

    void add_nit(tree_node& parent, const char* title, const NitMap& nits) const {
        if (nits.empty()) return;
        trace(parent, "Nit");
        tree_node& table = parent.add(title, item_kind::plain);
        for (const auto& [network_id, sections] : nits) {
            tree_node& network =
                table.add("NID " + upper_hex(static_cast<std::uint32_t>(network_id), 4), item_kind::plain);
            for (const auto& [number, nit] : sections) {
                if (!nit.parsed) continue;
                tree_node& section =
                    network.add("SECTION " + upper_hex(static_cast<std::uint32_t>(nit.section_number), 4),
                                item_kind::record, &nit);
                add_group(section, nit.CA, ca_group);
                add_group(section, nit.descriptors, general_group);
                add_described_groups(section, nit.described);
                tree_node& streams = section.add("STREAM_INFO", item_kind::plain);
                for (const auto& ts : nit.transport_streams) {
                    tree_node& entry =
                        streams.add(upper_hex(static_cast<std::uint32_t>(ts.transport_stream_id), 4),
                                    item_kind::record, &ts);
                    add_group(entry, ts.general, general_group);
                    add_group(entry, ts.satellite_delivery_system, satellite_delivery_group,
                              menu_kind::satellite_delivery);
                    add_group(entry, ts.service_list, service_list_group);
                    add_described_groups(entry, ts.described);
                }
            }
        }
    }

    void add_sdt(tree_node& parent, const char* title, const SdtMap& sdts) const {
        if (sdts.empty()) return;
        trace(parent, "Sdt");
        tree_node& table = parent.add(title, item_kind::plain);
        for (const auto& [onid, streams] : sdts) {
            tree_node& network =
                table.add("ORIGINAL NID " + upper_hex(static_cast<std::uint32_t>(onid), 4), item_kind::plain);
            for (const auto& [tsid, sections] : streams) {
                tree_node& stream =
                    network.add("TID " + upper_hex(static_cast<std::uint32_t>(tsid), 4), item_kind::plain);
                for (const auto& [number, sdt] : sections) {
                    if (!sdt.parsed) continue;
                    tree_node& section =
                        stream.add("SECTION " + upper_hex(static_cast<std::uint32_t>(sdt.section_number), 4),
                                   item_kind::record, &sdt);
                    for (const auto& service : sdt.services) {
                        tree_node& node =
                            section.add(lower_hex(static_cast<std::uint32_t>(service.service_id), 4),
                                        item_kind::record, &service);
                        add_group(node, service.general, general_group);
                        add_group(node, service.service, service_group);
                        add_described_groups(node, service.described);
                    }
                }
            }
        }
    }

    void add_bat(tree_node& parent) const {
        if (!tp_.BAT.parsed) return;
        trace(parent, "Bat");
        add_described_groups(parent.add("BAT", item_kind::record, &tp_.BAT), tp_.BAT.described);
    }

    void add_pat(tree_node& parent) const {
        if (!tp_.PAT.parsed || tp_.PAT.programs.empty()) return;
        trace(parent, "Pat");
        tree_node& pat = parent.add("PAT", item_kind::record, &tp_.PAT);
        for (const auto& program : tp_.PAT.programs)
            pat.add(upper_hex(static_cast<std::uint32_t>(program.program_number), 4), item_kind::record,
                    &tp_.PAT);
    }

    void add_rst(tree_node& parent) const {
        if (!tp_.RST.parsed) return;
        trace(parent, "Rst");
        tree_node& rst = parent.add("RST", item_kind::record, &tp_.RST);
        const auto& entries = tp_.RST.entries;
        if (entries.size() == 1) {
            rst.add("ITEM", item_kind::record, &entries.front());
        } else if (entries.size() > 1) {
            tree_node& items = rst.add("ITEMS", item_kind::plain);
            for (std::size_t i = 0; i < entries.size(); ++i)
                items.add(decimal(static_cast<long long>(i)), item_kind::record, &entries[i]);
        }
    }

    void add_tdt(tree_node& parent) const {
        if (!tp_.TDT.parsed) return;
        trace(parent, "Tdt");
        parent.add("TDT", item_kind::record, &tp_.TDT);
    }

    void add_tot(tree_node& parent) const {
        if (!tp_.TOT.parsed) return;
        trace(parent, "Tot");
        tree_node& tot = parent.add("TOT", item_kind::record, &tp_.TOT);
        add_group(tot, tp_.TOT.local_time_offset, local_time_offset_group);
        add_group(tot, tp_.TOT.general, general_group);
        add_described_groups(tot, tp_.TOT.described);
    }

    void add_pmt(tree_node& parent) const {
        if (tp_.PMTs.empty()) return;
        trace(parent, "Pmt");
        tree_node& table = parent.add("PMT", item_kind::plain);
        for (const auto& pmt : tp_.PMTs) {
            if (!pmt.parsed) continue;
            const int program_number = pmt.table_id_extension;
            tree_node& program =
                table.add(upper_hex(static_cast<std::uint32_t>(program_number), 4) + " - " +
                              service_name(tp_.sdt_actual, nullptr, onid_, tsid_, program_number),
                          item_kind::record, &pmt, menu_kind::program);
            add_pmt_groups(program, pmt);
            if (pmt.streams.empty()) continue;
            tree_node& streams = program.add("STREAM_INFO", item_kind::plain);
            for (const auto& es : pmt.streams)
                add_pmt_groups(streams.add(lib::stream_type_name(es.stream_type), item_kind::record, &es),
                               es);
        }
    }

    void add_eit(tree_node& parent) const {
        const EitMap* const collections[] = {&tp_.eit_actual_present_following,
                                             &tp_.eit_other_present_following, &tp_.eit_actual_schedule,
                                             &tp_.eit_other_schedule};
        static const char* const titles[] = {
            "actual_transport_stream, present/following", "other_transport_stream, present/following",
            "actual_transport_stream, schedule", "other_transport_stream, schedule"};
        if (std::all_of(std::begin(collections), std::end(collections),
                        [](const EitMap* m) { return m->empty(); }))
            return;
        trace(parent, "Eit");
        tree_node& table = parent.add("EIT", item_kind::none);
        for (std::size_t i = 0; i < std::size(collections); ++i) {
            // Other transport streams' services are named in the SDT other when the actual
            // SDT does not list them.
            const bool other = i % 2 == 1;
            add_eit_collection(table.add(titles[i], item_kind::plain), *collections[i],
                               other ? &tp_.sdt_other : nullptr);
        }
    }

    void add_eit_collection(tree_node& node, const EitMap& eits, const SdtMap* fallback) const {
        for (const auto& [onid, streams] : eits) {
            tree_node& network = node.add(network_text("NID %04X - ", onid), item_kind::plain);
            for (const auto& [tsid, services] : streams) {
                tree_node& stream =
                    network.add("TID " + upper_hex(static_cast<std::uint32_t>(tsid), 4), item_kind::plain);
                for (const auto& [sid, sections] : services) {
                    tree_node& service =
                        stream.add("SID " + upper_hex(static_cast<std::uint32_t>(sid), 4) + " - " +
                                       service_name(tp_.sdt_actual, fallback, onid, tsid, sid),
                                   item_kind::plain);
                    for (const auto& [key, eit] : sections)
                        add_eit_section(service.add(upper_hex(static_cast<std::uint32_t>(key), 4),
                                                    item_kind::record, &eit),
                                        eit);
                }
            }
        }
    }

    static void add_eit_section(tree_node& section, const lib::Eit& eit) {
        if (!eit.parsed) return;
        for (const auto& event : eit.events)
            add_event_groups(section.add("EID " + lower_hex(static_cast<std::uint32_t>(event.event_id), 4),
                                         item_kind::record, &event),
                             event);
    }

    std::string service_name(const SdtMap& actual, const SdtMap* fallback, std::int32_t onid,
                             std::int32_t tsid, std::int32_t sid) const {
        const lib::DescriptorService* service = find_service(actual, onid, tsid, sid);
        if (!service && fallback) service = find_service(*fallback, onid, tsid, sid);
        return service ? shown_raw(text_, service->service_name) : "<service not in SDT>";
    }

    lib::dvb_text_decoder& text_;
    const void* pane_;
    std::int32_t onid_;
    std::int32_t tsid_;
    const Transponder& tp_;
};

}  // namespace

table_tree::table_tree(const AllNetworks& networks, const tree_options& options)
    : root_(std::make_unique<tree_node>()), fallback_(options.charset.value_or("")) {
    global_trace().log(2, "CTransponderTableListPaneWnd::SetTable(ScanContext&,AllNetworks&,%#lx)",
                       address(options.value_pane));
    root_->text = "ALL NETWORKS";
    decoders_.reserve(networks.size());
    for (const auto& [onid, network] : networks) {
        global_trace().log(2, "NID=%#x", static_cast<unsigned>(onid));
        lib::dvb_text_decoder& text = decoders_.emplace_back(network_charset(network, options.charset));
        tree_node& network_node = root_->add(network_text("%04X - ", onid), item_kind::network, &network);
        for (const auto& [tsid, tp] : network.transponders) {
            tree_node& node =
                network_node.add(tp.label(), item_kind::transponder, &tp, menu_kind::transponder);
            transponder_builder(text, options.value_pane, onid, tsid, tp).build(node);
        }
    }
    global_trace().log(2, "All networks processed");
}

lib::dvb_text_decoder& table_tree::decoder_for(const tree_node& node) {
    const tree_node* n = &node;
    while (n->parent && n->parent != root_.get())
        n = n->parent;
    if (n->parent != root_.get() || n->row >= decoders_.size())
        return decoders_.empty() ? fallback_ : decoders_.front();
    return decoders_[n->row];
}

std::vector<value_row> table_tree::rows(const tree_node& node) {
    if (node.kind != item_kind::record) return {};
    return value_rows(node.record, decoder_for(node));
}

}  // namespace kestrel::views
