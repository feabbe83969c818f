#include "views/scan_json.h"

#include <cmath>

#include "lib13818/core/dvb_text.h"
#include "lib13818/names/delivery_codes.h"
#include "lib13818/names/registry.h"
#include "lib13818/names/stream_type_names.h"
#include "views/described_json.h"
#include "views/descriptor_json.h"
#include "views/display_text.h"
#include "views/network_charset.h"
#include "views/text_format.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

namespace lib = lib13818;
using json = nlohmann::ordered_json;

json time(const lib::UtcTime& t) {
    return views::padded_time(t);
}

// The four EIT collections under "tables", in the order of the transponder's tree.
constexpr const char* eit_keys[] = {"eit_actual_present_following", "eit_other_present_following",
                                    "eit_actual_schedule", "eit_other_schedule"};

// Writes the tables of one network, its texts decoded with the network's table.
class network_writer : public descriptor_json {
  public:
    explicit network_writer(lib::dvb_text_decoder& text) : descriptor_json(text) {}
    using descriptor_json::of;

    json transponder(std::int32_t tsid, const Transponder& tp) {
        json out{{"transport_stream_id", tsid},
                 {"label", tp.label()},
                 {"frequency_ghz", as_decimal(tp.frequency)},
                 {"polarisation", tp.polarisation},
                 {"symbol_rate_msps", as_decimal(tp.symbol_rate)},
                 {"fec", tp.FEC},
                 {"fec_text", tp.FEC_text}};
        put_delivery(out, tp);
        json tables = json::object();
        if (tp.CAT.parsed) tables["cat"] = of(tp.CAT);
        put_sections(tables, "nit_actual", tp.nit_actual);
        put_sections(tables, "nit_other", tp.nit_other);
        put_sections(tables, "sdt_actual", tp.sdt_actual);
        put_sections(tables, "sdt_other", tp.sdt_other);
        if (tp.BAT.parsed) tables["bat"] = of(tp.BAT);
        if (tp.PAT.parsed) tables["pat"] = of(tp.PAT);
        if (tp.RST.parsed) tables["rst"] = of(tp.RST);
        if (tp.TDT.parsed) tables["tdt"] = of(tp.TDT);
        if (tp.TOT.parsed) tables["tot"] = of(tp.TOT);
        if (!tp.PMTs.empty()) {
            json& pmts = tables["pmts"] = json::array();
            for (const auto& pmt : tp.PMTs)
                if (pmt.parsed) pmts.push_back(of(pmt));
        }
        const EitMap* const eits[] = {&tp.eit_actual_present_following, &tp.eit_other_present_following,
                                      &tp.eit_actual_schedule, &tp.eit_other_schedule};
        for (std::size_t i = 0; i < std::size(eits); ++i)
            put_sections(tables, eit_keys[i], *eits[i]);
        out["tables"] = std::move(tables);
        return out;
    }

    json network(const Network& network) {
        json transponders = json::array();
        for (const auto& [tsid, tp] : network.transponders)
            transponders.push_back(transponder(tsid, tp));
        return {{"original_network_id", network.original_network_id},
                {"name", views::shown_name(lib::original_network_name(network.original_network_id))},
                {"default_charset", text_.default_charset().empty() ? "ISO6937" : text_.default_charset()},
                {"diseqc_position", network.diseqc_position},
                {"transponders", std::move(transponders)}};
    }

  private:
    // The system and what tunes it; the frequency in the unit of its system's tuning.
    static void put_delivery(json& out, const Transponder& tp) {
        const lib::DeliverySystem system = tp.system();
        out["delivery_system"] = lib::name(system);
        out["modulation"] = lib::name(tp.delivery.modulation);
        if (system == lib::DeliverySystem::dvb_s2) out["roll_off"] = lib::name(tp.delivery.roll_off);
        out["stream_id"] = tp.delivery.stream_id == lib::automatic ? json() : json(tp.delivery.stream_id);
        if (lib::is_satellite(system))
            out["frequency_khz"] = std::llround(tp.frequency * 1e6);
        else
            out["frequency_hz"] = std::llround(tp.frequency * 1e9);
    }

    // The long form's header fields, then what `body` adds.
    template <class Body>
    json section(const lib::Section& s, Body&& body) {
        json out{{"table_id", s.table_id},
                 {"table_name", s.name()},
                 {"section_length", s.section_length},
                 {"table_id_extension", s.table_id_extension},
                 {"version_number", s.version_number},
                 {"current_next_indicator", s.current_next_indicator},
                 {"section_number", s.section_number},
                 {"last_section_number", s.last_section_number},
                 {"crc_32", s.CRC_32}};
        json descriptors = json::object();
        put(descriptors, "general", s.descriptors);
        body(out, descriptors);
        if (!descriptors.empty()) out["descriptors"] = std::move(descriptors);
        put_warnings(out, s.warnings);
        return out;
    }
    static json short_section(const lib::ShortSection& s) {
        json out{{"table_id", s.table_id}, {"table_name", s.name()}, {"section_length", s.section_length}};
        put_warnings(out, s.warnings);
        return out;
    }
    // What a lenient decode read past: a NIT loop length that disagrees with its entries, a
    // descriptor kept as bytes, a part a descriptor's length leaves out.
    static void put_warnings(json& out, const std::vector<lib::SectionWarning>& warnings) {
        for (const lib::SectionWarning& w : warnings)
            out["warnings"].push_back(json{{"byte", w.byte}, {"text", w.text}});
    }

    // A sequence of records under `key`, left out when empty.
    template <class T>
    void put(json& out, const char* key, const std::vector<T>& list) {
        if (list.empty()) return;
        json& array = out[key] = json::array();
        for (const auto& element : list)
            array.push_back(of(element));
    }
    // The described descriptors of a loop, an array per kind after the record's other kinds.
    void put(json& out, const std::vector<lib::DescriptorDescribed>& described) {
        put_described(out, described, text_);
    }

    template <class Map>
    void put_sections(json& out, const char* key, const Map& map) {
        if (map.empty()) return;
        json& array = out[key] = json::array();
        add_sections(array, map);
    }
    template <class Key, class Inner>
    void add_sections(json& array, const std::map<Key, Inner>& map) {
        for (const auto& [k, inner] : map)
            if constexpr (std::is_base_of_v<lib::Section, Inner>) {
                if (inner.parsed) array.push_back(of(inner));
            } else {
                add_sections(array, inner);
            }
    }

    // Each record as it stands in the document; a node of the tree may ask for any of them.
  public:
    json of(const lib::Cat& cat) {
        return section(cat, [&](json&, json& d) { put(d, "ca", cat.CA_descriptors); });
    }
    json of(const lib::Nit& nit) {
        return section(nit, [&](json& s, json& d) {
            put(d, "ca", nit.CA);
            put(d, nit.described);
            put(s, "transport_streams", nit.transport_streams);
        });
    }
    json of(const lib::NitTransportStream& ts) {
        json out{{"transport_stream_id", ts.transport_stream_id},
                 {"original_network_id", ts.original_network_id}};
        json d = json::object();
        put(d, "general", ts.general);
        put(d, "ca", ts.CA);
        put(d, "satellite_delivery_system", ts.satellite_delivery_system);
        put(d, "service_list", ts.service_list);
        put(d, ts.described);
        out["descriptors"] = std::move(d);
        return out;
    }
    json of(const lib::Sdt& sdt) {
        return section(sdt, [&](json& s, json&) {
            s["original_network_id"] = sdt.original_network_id;
            put(s, "services", sdt.services);
        });
    }
    json of(const lib::SdtService& service) {
        json out{{"service_id", service.service_id},
                 {"eit_schedule_flag", service.EIT_schedule_flag},
                 {"eit_present_following_flag", service.EIT_present_following_flag},
                 {"running_status", service.running_status},
                 {"free_ca_mode", service.free_CA_mode}};
        json d = json::object();
        put(d, "general", service.general);
        put(d, "ca", service.CA);
        put(d, "service", service.service);
        put(d, service.described);
        out["descriptors"] = std::move(d);
        return out;
    }
    json of(const lib::Bat& bat) {
        return section(bat, [&](json& s, json& d) {
            put(d, "ca", bat.CA);
            put(d, bat.described);
            put(s, "transport_streams", bat.transport_streams);
        });
    }
    json of(const lib::BatTransportStream& ts) {
        json out{{"transport_stream_id", ts.transport_stream_id},
                 {"original_network_id", ts.original_network_id}};
        json d = json::object();
        put(d, "general", ts.general);
        put(d, "ca", ts.CA);
        put(d, ts.described);
        out["descriptors"] = std::move(d);
        return out;
    }
    json of(const lib::Pat& pat) {
        return section(pat, [&](json& s, json&) {
            json& programs = s["programs"] = json::array();
            for (const auto& p : pat.programs)
                programs.push_back(of(p));
        });
    }
    static json of(const lib::PatProgram& p) {
        return {{"program_number", p.program_number}, {"pid", p.PID}};
    }
    json of(const lib::Pmt& pmt) {
        return section(pmt, [&](json& s, json&) {
            s["pcr_pid"] = pmt.PCR_PID;
            s["program_descriptors"] = descriptors(pmt);
            json& streams = s["streams"] = json::array();
            for (const auto& es : pmt.streams)
                streams.push_back(of(es));
        });
    }
    json of(const lib::ElementaryStream& es) {
        return {{"stream_type", es.stream_type},
                {"stream_type_name", lib::stream_type_name(es.stream_type)},
                {"elementary_pid", es.elementary_PID},
                {"descriptors", descriptors(es)}};
    }
    json descriptors(const lib::PmtDescriptors& p) {
        json d = json::object();
        put(d, "general", p.general);
        put(d, "ca", p.CA);
        put(d, "iso_639_language", p.ISO_639_language);
        put(d, "video_stream", p.video_stream);
        put(d, "teletext", p.teletext);
        put(d, "audio_stream", p.audio_stream);
        put(d, "ca_identifier", p.CA_identifier);
        put(d, "std", p.STD);
        put(d, "private_data_indicator", p.private_data_indicator);
        put(d, "copyright", p.copyright);
        put(d, "stream_identifier", p.stream_identifier);
        put(d, p.described);
        return d;
    }
    json of(const lib::Eit& eit) {
        return section(eit, [&](json& s, json&) {
            s["transport_stream_id"] = eit.transport_stream_id;
            s["original_network_id"] = eit.original_network_id;
            s["segment_last_section_number"] = eit.segment_last_section_number;
            s["last_table_id"] = eit.last_table_id;
            put(s, "events", eit.events);
        });
    }
    json of(const lib::EitEvent& event) {
        json out{{"event_id", event.event_id},
                 {"start_time", time(event.start_time)},
                 {"duration", views::duration_text(event.duration)},
                 {"running_status", event.running_status},
                 {"free_ca_mode", event.free_CA_mode}};
        json d = json::object();
        put(d, "general", event.general);
        put(d, "short_event", event.short_event);
        put(d, "extended_event", event.extended_event);
        put(d, "time_shifted_event", event.time_shifted_event);
        put(d, "component", event.component);
        put(d, "content", event.content);
        put(d, event.described);
        out["descriptors"] = std::move(d);
        return out;
    }
    json of(const lib::Rst& rst) {
        json out = short_section(rst);
        json& entries = out["entries"] = json::array();
        for (const auto& e : rst.entries)
            entries.push_back(of(e));
        return out;
    }
    static json of(const lib::RstEntry& e) {
        return {{"transport_stream_id", e.transport_stream_id},
                {"original_network_id", e.original_network_id},
                {"service_id", e.service_id},
                {"event_id", e.event_id},
                {"running_status", e.running_status}};
    }
    json of(const lib::Tdt& tdt) {
        json out = short_section(tdt);
        out["utc_time"] = time(tdt.UTC_time);
        return out;
    }
    json of(const lib::Tot& tot) {
        json out = short_section(tot);
        out["utc_time"] = time(tot.UTC_time);
        out["crc_32"] = tot.CRC_32;
        json d = json::object();
        put(d, "general", tot.general);
        put(d, "local_time_offset", tot.local_time_offset);
        put(d, tot.described);
        out["descriptors"] = std::move(d);
        return out;
    }

    static json of(ca_system_id id) { return *id.id; }
};

}  // namespace

nlohmann::ordered_json scan_json(const AllNetworks& networks, const std::optional<std::string>& charset) {
    json list = json::array();
    for (const auto& [onid, network] : networks) {
        lib::dvb_text_decoder text(views::network_charset(network, charset));
        list.push_back(network_writer(text).network(network));
    }
    return {{"networks", std::move(list)}};
}

nlohmann::ordered_json record_json(const record_ref& record, lib13818::dvb_text_decoder& text) {
    network_writer writer(text);
    return std::visit(
        [&writer, &text](const auto& r) -> json {
            using R = std::decay_t<decltype(r)>;
            if constexpr (std::is_same_v<R, std::monostate> || std::is_same_v<R, const Transponder*>)
                return nullptr;
            else if constexpr (std::is_same_v<R, const Network*>)
                return writer.network(*r);
            else if constexpr (std::is_same_v<R, const lib13818::DescriptorDescribed*>)
                return described_json(*r, text);
            else if constexpr (std::is_same_v<R, lib13818::described_record>)
                return described_json(r, text);
            else if constexpr (std::is_same_v<R, ca_system_id>)
                return writer.of(r);
            else
                return writer.of(*r);
        },
        record);
}

nlohmann::ordered_json transponder_json(std::int32_t tsid, const Transponder& transponder,
                                        lib13818::dvb_text_decoder& text) {
    return network_writer(text).transponder(tsid, transponder);
}

nlohmann::ordered_json eit_json(const std::vector<nlohmann::ordered_json>& collections) {
    json out = json::object();
    for (std::size_t i = 0; i < collections.size() && i < std::size(eit_keys); ++i)
        if (!collections[i].empty()) out[eit_keys[i]] = collections[i];
    return out;
}

std::string json_text(const nlohmann::ordered_json& value) {
    return value.dump(2, ' ', false, nlohmann::json::error_handler_t::replace);
}

}  // namespace kestrel::views
