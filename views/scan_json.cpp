#include "views/scan_json.h"

#include <cmath>

#include "lib13818/core/dvb_text.h"
#include "lib13818/names/delivery_codes.h"
#include "lib13818/names/registry.h"
#include "lib13818/names/stream_type_names.h"
#include "views/described_json.h"
#include "views/display_text.h"
#include "views/network_charset.h"
#include "views/text_format.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

namespace lib = lib13818;
using json = nlohmann::ordered_json;

std::string hex(std::string_view bytes) {
    return hex_bytes(bytes);
}

std::string hex(const std::vector<std::uint8_t>& bytes) {
    return hex(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

json time(const lib::UtcTime& t) {
    return views::padded_time(t);
}

// The four EIT collections under "tables", in the order of the transponder's tree.
constexpr const char* eit_keys[] = {"eit_actual_present_following", "eit_other_present_following",
                                    "eit_actual_schedule", "eit_other_schedule"};

// Writes the tables of one network, its texts decoded with the network's table.
class network_writer {
  public:
    explicit network_writer(lib::dvb_text_decoder& text) : text_(text) {}

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

    void text(json& out, const char* key, const lib::DvbString& s) {
        out[key] = views::shown(text_, s);
        out[std::string(key) + "_raw"] = hex(s.selector + s.text);
    }
    void raw_text(json& out, const char* key, const std::string& raw) {
        out[key] = views::shown_raw(text_, raw);
        out[std::string(key) + "_raw"] = hex(raw);
    }
    static std::string code(const lib::LanguageCode& c) { return views::shown_code(c); }

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

    // A coded value and, when it has one, its name under the key with "_name" appended.
    template <std::size_t N>
    static void coded(json& out, const char* key, std::int32_t value, const lib::value_name (&names)[N]) {
        out[key] = value;
        if (const char* name = lib::codes::name_or(names, value, nullptr))
            out[std::string(key) + "_name"] = name;
    }

    static json head(const lib::Descriptor& d) {
        return {{"descriptor_tag", d.descriptor_tag}, {"descriptor_length", d.descriptor_length}};
    }
    json of(const lib::DescriptorGeneric& d) {
        json out = head(d);
        out["data"] = hex(d.data);
        return out;
    }
    json of(const lib::DescriptorCA& d) {
        json out = head(d);
        out["ca_system_id"] = d.CA_system_ID;
        out["ca_system_name"] = views::shown_name(lib::ca_system_name(d.CA_system_ID));
        out["ca_pid"] = d.CA_PID;
        out["private_data"] = hex(d.private_data);
        return out;
    }
    json of(const lib::DescriptorSatelliteDeliverySystem& d) {
        json out = head(d);
        out.update({{"frequency_ghz", as_decimal(d.frequency)},
                    {"frequency_khz", std::uint64_t{d.frequency_10khz} * 10},
                    {"orbital_position", as_decimal(d.orbital_position)},
                    {"west_east_flag", d.west_east_flag},
                    {"polarization", d.polarization},
                    {"modulation", d.modulation},
                    {"symbol_rate_msps", as_decimal(d.symbol_rate)},
                    {"fec_inner", d.FEC_inner}});
        coded(out, "roll_off", d.roll_off, lib::codes::roll_off);
        coded(out, "modulation_system", d.modulation_system, lib::codes::modulation_system);
        coded(out, "modulation_type", d.modulation_type, lib::codes::modulation_type);
        return out;
    }
    json of(const lib::DescriptorServiceList& d) {
        json out = head(d);
        json& services = out["services"] = json::array();
        for (const auto& s : d.services)
            services.push_back(of(s));
        return out;
    }
    static json of(const lib::DescriptorServiceList::Service& s) {
        return {{"service_id", s.service_id}, {"service_type", s.service_type}};
    }
    json of(const lib::DescriptorService& d) {
        json out = head(d);
        out["service_type"] = d.service_type;
        raw_text(out, "provider_name", d.provider_name);
        raw_text(out, "service_name", d.service_name);
        return out;
    }
    json of(const lib::DescriptorShortEvent& d) {
        json out = head(d);
        out["iso_639_language_code"] = code(d.ISO_639_language_code);
        text(out, "event_name", d.event_name);
        text(out, "text", d.text);
        return out;
    }
    json of(const lib::DescriptorExtendedEvent& d) {
        json out = head(d);
        out["descriptor_number"] = d.descriptor_number;
        out["last_descriptor_number"] = d.last_descriptor_number;
        out["iso_639_language_code"] = code(d.ISO_639_language_code);
        json& items = out["items"] = json::array();
        for (const auto& item : d.items)
            items.push_back(of(item));
        text(out, "text", d.text);
        return out;
    }
    json of(const lib::DescriptorExtendedEvent::Item& item) {
        json out = json::object();
        text(out, "description", item.item_description);
        text(out, "item", item.item);
        return out;
    }
    json of(const lib::DescriptorTimeShiftedEvent& d) {
        json out = head(d);
        out["reference_service_id"] = d.reference_service_id;
        out["reference_event_id"] = d.reference_event_id;
        return out;
    }
    json of(const lib::DescriptorComponent& d) {
        json out = head(d);
        out.update({{"stream_content", d.stream_content},
                    {"component_type", d.component_type},
                    {"component_tag", d.component_tag},
                    {"iso_639_language_code", code(d.ISO_639_language_code)}});
        text(out, "text", d.text);
        return out;
    }
    json of(const lib::DescriptorContent& d) {
        json out = head(d);
        json& items = out["items"] = json::array();
        for (const auto& i : d.items)
            items.push_back(of(i));
        return out;
    }
    static json of(const lib::DescriptorContent::Item& i) {
        return {{"content_nibble_level_1", i.content_nibble_level1},
                {"content_nibble_level_2", i.content_nibble_level2},
                {"user_nibble_1", i.user_nibble1},
                {"user_nibble_2", i.user_nibble2}};
    }
    json of(const lib::DescriptorLocalTimeOffset& d) {
        json out = head(d);
        json& offsets = out["offsets"] = json::array();
        for (const auto& o : d.offsets)
            offsets.push_back(of(o));
        return out;
    }
    static json of(const lib::DescriptorLocalTimeOffset::Offset& o) {
        return {{"country_code", code(o.country_code)},
                {"country_region_id", o.country_region_id},
                {"local_time_offset_polarity", o.local_time_offset_polarity},
                {"local_time_offset", views::hour_minute_text(o.local_time_offset)},
                {"time_of_change", time(o.time_of_change)},
                {"next_time_offset", views::hour_minute_text(o.next_time_offset)}};
    }
    json of(const lib::DescriptorISO639Language& d) {
        json out = head(d);
        json& languages = out["languages"] = json::array();
        for (const auto& l : d.languages)
            languages.push_back(of(l));
        return out;
    }
    static json of(const lib::DescriptorISO639Language::Language& l) {
        return {{"iso_639_language_code", code(l.ISO_639_language_code)}, {"audio_type", l.audio_type}};
    }
    json of(const lib::DescriptorTeletext& d) {
        json out = head(d);
        json& pages = out["pages"] = json::array();
        for (const auto& p : d.pages)
            pages.push_back(of(p));
        return out;
    }
    static json of(const lib::DescriptorTeletext::Page& p) {
        return {{"iso_639_language_code", code(p.ISO_639_language_code)},
                {"teletext_type", p.teletext_type},
                {"teletext_magazine_number", p.teletext_magazine_number},
                {"teletext_page_number", p.teletext_page_number}};
    }
    json of(const lib::DescriptorVideoStream& d) {
        json out = head(d);
        out.update({{"multiple_frame_rate_flag", d.multiple_frame_rate_flag},
                    {"frame_rate_code", d.frame_rate_code},
                    {"mpeg_1_only_flag", d.MPEG_1_only_flag},
                    {"constrained_parameter_flag", d.constrained_parameter_flag},
                    {"still_picture_flag", d.still_picture_flag}});
        if (!d.MPEG_1_only_flag)
            out.update({{"profile_and_level_indication", d.profile_and_level_indication},
                        {"chroma_format", d.chroma_format},
                        {"frame_rate_extension_flag", d.frame_rate_extension_flag}});
        return out;
    }
    json of(const lib::DescriptorAudioStream& d) {
        json out = head(d);
        out.update({{"free_format_flag", d.free_format_flag},
                    {"id", d.ID},
                    {"layer", d.layer},
                    {"variable_rate_audio_indicator", d.variable_rate_audio_indicator}});
        return out;
    }
    json of(const lib::DescriptorCAIdentifier& d) {
        json out = head(d);
        out["ca_system_ids"] = d.CA_system_ids;
        return out;
    }
    json of(const lib::DescriptorSTD& d) {
        json out = head(d);
        out["leak_valid_flag"] = d.leak_valid_flag;
        return out;
    }
    json of(const lib::DescriptorPrivateDataIndicator& d) {
        json out = head(d);
        out["private_data_indicator"] = d.private_data_indicator;
        return out;
    }
    json of(const lib::DescriptorCopyright& d) {
        json out = head(d);
        out["copyright_identifier"] = d.copyright_identifier;
        out["additional_copyright_info"] = hex(d.additional_copyright_info);
        return out;
    }
    json of(const lib::DescriptorStreamIdentifier& d) {
        json out = head(d);
        out["component_tag"] = d.component_tag;
        return out;
    }
    static json of(ca_system_id id) { return *id.id; }

  private:
    lib::dvb_text_decoder& text_;
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
