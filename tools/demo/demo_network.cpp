#include "tools/demo/demo_network.h"

#include <array>
#include <sstream>

#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"
#include "ts/stream_builder.h"

namespace kestrel::demo {

namespace {

using encode::bytes;
using encode::utc_time;

constexpr std::uint16_t original_network_id = 0x2F00;
constexpr std::uint16_t bouquet_id = 0x0001;
constexpr std::uint16_t ca_system_id = 0x0B00;
constexpr std::uint16_t emm_pid = 0x01F0;
constexpr std::uint32_t capture_ms = 2000;
// The DVB-T multiplex's other frequencies lie a channel below and above it.
constexpr std::uint32_t terrestrial_step_khz = 8000;
constexpr std::uint8_t digital_television = 0x01;
constexpr utc_time now{2026, 3, 14, 18, 0, 0};
// EIT schedule sections of the 18:00 and 21:00 segments of the day.
constexpr std::uint8_t evening_section = 48;
constexpr std::uint8_t late_section = 56;

enum pid : std::uint16_t {
    pat_pid = 0x00,
    cat_pid = 0x01,
    nit_pid = 0x10,
    sdt_bat_pid = 0x11,
    eit_pid = 0x12,
    rst_pid = 0x13,
    tdt_tot_pid = 0x14,
};

const std::array<const char*, 8> programme_names{
    "Kestrel News",    "Falcon Documentary", "Harrier Weather", "Merlin Quiz Night",
    "Hobby Film Club", "Kite Cooking",       "Osprey Sport",    "Late Night Owls",
};

// The programme texts. One is in the default table, with its accents as marks before the
// letters: "Crème brûlée and café au lait, live from the Kite kitchen."
constexpr const char* plain_text = "An invented programme of the Kestrel demo network.";
constexpr const char* accented_text =
    "Cr\xC1"
    "eme br\xC3"
    "ul\xC2"
    "ee and caf\xC2"
    "e au lait, live from the Kite kitchen.";
constexpr std::size_t accented_programme = 5;  // "Kite Cooking"

// The two services of a transport stream: the second one scrambled.
struct service {
    std::uint16_t id;
    std::string name;
    std::uint16_t pmt_pid;
    bool scrambled;
    std::uint16_t pid(int offset) const { return static_cast<std::uint16_t>(pmt_pid + offset); }
};

// Transport streams are numbered 1..8 across both satellites; services 1..16.
std::vector<service> services_of(const transponder& tp) {
    std::vector<service> out;
    for (int k = 0; k < 2; ++k) {
        const int number = (tp.transport_stream_id - 1) * 2 + k + 1;
        // Service 2 shows a name in a table of its own: 0x05 selects ISO 8859-9 (Turkish),
        // "Kestrel Démo 2 Şölen".
        std::string name =
            number == 2 ? "\x05Kestrel D\xE9mo 2 \xDE\xF6len" : "Kestrel Demo " + std::to_string(number);
        out.push_back({static_cast<std::uint16_t>(tp.transport_stream_id * 0x10 + k + 1), std::move(name),
                       static_cast<std::uint16_t>(0x100 + k * 0x20), k == 1});
    }
    return out;
}

encode::section_header header(std::uint8_t table_id, std::uint16_t extension, std::uint8_t number = 0,
                              std::uint8_t last = 0) {
    return {table_id, extension, 0, number, last};
}

bytes concat(std::initializer_list<bytes> parts) {
    bytes out;
    for (const bytes& p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

bytes pmt(const service& s) {
    const bytes program = s.scrambled ? encode::ca_descriptor(ca_system_id, s.pid(4)) : bytes{};
    std::vector<encode::elementary_stream> streams{
        {0x02, s.pid(1), encode::stream_identifier_descriptor(1)},
        {0x04, s.pid(2),
         concat({encode::iso639_language_descriptor("eng"), encode::stream_identifier_descriptor(2)})},
        {0x06, s.pid(3),
         concat({encode::teletext_descriptor({{"eng", 1, 1, 0x00}, {"eng", 2, 8, 0x88}}),
                 encode::stream_identifier_descriptor(3)})},
    };
    return encode::pmt_section(header(0x02, s.id), s.pid(1), program, streams);
}

bytes satellite_delivery(const network& sat, const transponder& tp) {
    encode::satellite_delivery delivery;
    delivery.frequency_khz = tp.frequency_khz;
    delivery.orbital_tenths = sat.orbital_tenths;
    delivery.polarization = tp.polarisation == 'V' ? 1 : 0;
    delivery.symbol_rate = tp.symbol_rate;
    if (!tp.second_generation) return encode::satellite_delivery_system_descriptor(delivery);
    constexpr std::uint8_t psk_8 = 2, roll_off_0_20 = 2, fec_2_3 = 2;
    delivery.s2 = true;
    delivery.modulation = psk_8;
    delivery.roll_off = roll_off_0_20;
    delivery.fec_inner = fec_2_3;
    return concat({encode::satellite_delivery_system_descriptor(delivery),
                   encode::s2_satellite_delivery_system_descriptor(tp.stream)});
}

// The DVB-T multiplex has two other frequencies; the T2 multiplex one cell. Its services
// are numbered on from the multiplexes before it.
bytes terrestrial_delivery(const network& net, const transponder& tp) {
    constexpr std::uint32_t eacem = 0x28;
    std::vector<std::pair<std::uint16_t, std::uint16_t>> channels;
    std::uint16_t number = 1;
    for (const transponder& other : net.transponders)
        for (const service& s : services_of(other)) {
            if (other.transport_stream_id == tp.transport_stream_id) channels.emplace_back(s.id, number);
            ++number;
        }
    const bytes numbers = concat(
        {encode::private_data_specifier_descriptor(eacem), encode::logical_channel_descriptor(channels)});
    if (tp.second_generation) {
        encode::t2_delivery t2;
        t2.plp_id = static_cast<std::uint8_t>(tp.stream);
        t2.system_id = 0x8001;
        t2.cell_frequencies_khz = {tp.frequency_khz};
        return concat({encode::t2_delivery_system_descriptor(t2), numbers});
    }
    encode::terrestrial_delivery dvb_t;
    dvb_t.frequency_khz = tp.frequency_khz;
    dvb_t.other_frequencies = true;
    return concat({encode::terrestrial_delivery_system_descriptor(dvb_t),
                   encode::terrestrial_frequency_list_descriptor(
                       {tp.frequency_khz - terrestrial_step_khz, tp.frequency_khz + terrestrial_step_khz}),
                   numbers});
}

bytes transport_stream_descriptors(const network& net, const transponder& tp) {
    std::vector<std::pair<std::uint16_t, std::uint8_t>> list;
    for (const service& s : services_of(tp))
        list.emplace_back(s.id, digital_television);
    bytes delivery;
    switch (net.kind) {
        case family::satellite:
            delivery = satellite_delivery(net, tp);
            break;
        case family::cable:
            delivery = encode::cable_delivery_system_descriptor({tp.frequency_khz, 5, tp.symbol_rate});
            break;
        case family::terrestrial:
            delivery = terrestrial_delivery(net, tp);
            break;
    }
    return concat({delivery, encode::service_list_descriptor(list)});
}

bytes nit(const network& sat, std::uint8_t table_id) {
    std::vector<encode::transport_stream_entry> streams;
    for (const transponder& tp : sat.transponders)
        streams.push_back(
            {tp.transport_stream_id, original_network_id, transport_stream_descriptors(sat, tp)});
    return encode::network_section(header(table_id, sat.network_id),
                                   encode::network_name_descriptor(sat.network_name), streams);
}

bytes bat() {
    std::vector<encode::transport_stream_entry> streams;
    for (const network& sat : satellites())
        for (const transponder& tp : sat.transponders) {
            std::vector<std::pair<std::uint16_t, std::uint8_t>> list;
            for (const service& s : services_of(tp))
                list.emplace_back(s.id, digital_television);
            streams.push_back(
                {tp.transport_stream_id, original_network_id, encode::service_list_descriptor(list)});
        }
    return encode::network_section(header(0x4A, bouquet_id),
                                   encode::bouquet_name_descriptor("Kestrel Bouquet"), streams);
}

bytes sdt(const transponder& tp, std::uint8_t table_id) {
    std::vector<encode::sdt_service> list;
    for (const service& s : services_of(tp)) {
        bytes descriptors = encode::service_descriptor(digital_television, "Kestrel", s.name);
        if (s.scrambled)
            descriptors = concat({descriptors, encode::ca_identifier_descriptor({ca_system_id})});
        list.push_back({s.id, true, true, 4, s.scrambled, descriptors});
    }
    return encode::sdt_section(header(table_id, tp.transport_stream_id), original_network_id, list);
}

utc_time at_minutes(int minutes_after_now) {
    utc_time t = now;
    const int total = t.hour * 60 + minutes_after_now;
    t.hour = total / 60;
    t.minute = total % 60;
    return t;
}

// One programme: its name and texts, its components and genre; the long form carries
// extended event descriptors that make schedule sections grow past 1024 bytes.
bytes event_descriptors(int programme, bool long_form) {
    const std::size_t index = static_cast<std::size_t>(programme) % programme_names.size();
    const std::string name = programme_names[index];
    const char* text = index == accented_programme ? accented_text : plain_text;
    bytes d = encode::short_event_descriptor("eng", name, text);
    if (long_form) {
        const std::string text(180, 'x');
        const std::string story =
            "The story of " + name + ", told at length for the demo: " + text.substr(0, 120);
        d = concat({d,
                    encode::extended_event_descriptor(
                        0, 1, "eng", {{"Presenter", "Robin Kestrel"}, {"Year", "2026"}}, story),
                    encode::extended_event_descriptor(1, 1, "eng", {{"Guest", "Jay Falcon"}}, story)});
    }
    return concat(
        {d, encode::component_descriptor(0x01, 0x03, 1, "eng", "16:9 video"),
         encode::component_descriptor(0x02, 0x03, 2, "eng", "stereo"),
         encode::content_descriptor({{static_cast<std::uint8_t>(0x10 + programme % 8 * 0x10), 0x00}})});
}

std::vector<encode::eit_event> events(const service& s, int first_minute, int count, bool long_form) {
    std::vector<encode::eit_event> out;
    for (int i = 0; i < count; ++i) {
        const int programme = s.id + first_minute / 45 + i;
        out.push_back({static_cast<std::uint16_t>(first_minute / 45 + i + 1),
                       at_minutes(first_minute + i * 45), 45,
                       static_cast<std::uint8_t>(first_minute == 0 && i == 0 ? 4 : 1), s.scrambled,
                       event_descriptors(programme, long_form)});
    }
    return out;
}

// Present/following (0x4E, 0x4F) and schedule (0x50, 0x60) of one service.
void eit(std::vector<bytes>& out, const transponder& tp, const service& s, bool actual) {
    const encode::eit_fields fields{tp.transport_stream_id, original_network_id, 1,
                                    static_cast<std::uint8_t>(actual ? 0x4E : 0x4F)};
    const std::uint8_t pf = actual ? 0x4E : 0x4F;
    out.push_back(encode::eit_section(header(pf, s.id, 0, 1), fields, events(s, 0, 1, false)));
    out.push_back(encode::eit_section(header(pf, s.id, 1, 1), fields, events(s, 45, 1, false)));
    const std::uint8_t schedule = actual ? 0x50 : 0x60;
    for (const std::uint8_t section : {evening_section, late_section}) {
        const encode::eit_fields f{tp.transport_stream_id, original_network_id, section, schedule};
        const int first = section == evening_section ? 0 : 180;
        out.push_back(encode::eit_section(header(schedule, s.id, section, late_section), f,
                                          events(s, first, 4, actual && section == evening_section)));
    }
}

std::vector<ts::carousel> carousels(const network& sat, const transponder& tp) {
    const std::vector<service> own = services_of(tp);
    std::vector<encode::pat_program> programs{{0, nit_pid}};
    for (const service& s : own)
        programs.push_back({s.id, s.pmt_pid});
    std::vector<ts::carousel> out{
        {pat_pid, {encode::pat_section(header(0x00, tp.transport_stream_id), programs)}, 100},
        {cat_pid,
         {encode::cat_section(header(0x01, 0xFFFF), encode::ca_descriptor(ca_system_id, emm_pid))},
         500},
    };
    for (const service& s : own)
        out.push_back({s.pmt_pid, {pmt(s)}, 100});

    // The satellites know each other's networks; cable and terrestrial stand alone.
    std::vector<bytes> network_sections{nit(sat, 0x40)};
    if (sat.kind == family::satellite)
        for (const network& other : satellites())
            if (other.network_id != sat.network_id) network_sections.push_back(nit(other, 0x41));
    out.push_back({nit_pid, network_sections, 500});

    std::vector<bytes> services{sdt(tp, 0x42)};
    std::vector<bytes> schedule;
    for (const service& s : own)
        eit(schedule, tp, s, true);
    for (const transponder& other : sat.transponders) {
        if (other.transport_stream_id == tp.transport_stream_id) continue;
        services.push_back(sdt(other, 0x46));
        for (const service& s : services_of(other))
            eit(schedule, other, s, false);
    }
    if (sat.kind == family::satellite) services.push_back(bat());
    out.push_back({sdt_bat_pid, services, 500});
    out.push_back({eit_pid, schedule, 1000});

    std::vector<encode::rst_entry> running;
    for (const service& s : own)
        running.push_back({tp.transport_stream_id, original_network_id, s.id, 1, 4});
    out.push_back({rst_pid, {encode::rst_section(running)}, 1000});

    const bytes offsets =
        encode::local_time_offset_descriptor({{"GBR", 0, false, 0, {2026, 3, 29, 1, 0, 0}, 60},
                                              {"DEU", 0, false, 60, {2026, 3, 29, 1, 0, 0}, 120}});
    out.push_back({tdt_tot_pid, {encode::tdt_section(now), encode::tot_section(now, offsets)}, 1000});
    return out;
}

}  // namespace

const std::vector<network>& satellites() {
    static const std::vector<network> all{
        {"Kestrel Sat A",
         0,
         235,
         0x2F01,
         "Kestrel Demo Network A",
         {{1, 12322000, 'H', 27800000, "sat-a-12322-h.ts"},
          {2, 11778000, 'V', 27500000, "sat-a-11778-v.ts"},
          {3, 12603000, 'H', 22000000, "sat-a-12603-h.ts"},
          {6, 11836000, 'H', 30000000, "sat-a-11836-h-s2.ts", true},
          {7, 12188000, 'V', 27500000, "sat-a-12188-v-isi1.ts", true, 1},
          {8, 12188000, 'V', 27500000, "sat-a-12188-v-isi2.ts", true, 2}}},
        {"Kestrel Sat B",
         1,
         282,
         0x2F02,
         "Kestrel Demo Network B",
         {{4, 11954000, 'H', 27500000, "sat-b-11954-h.ts"},
          {5, 12207000, 'V', 27500000, "sat-b-12207-v.ts"}}},
    };
    return all;
}

const network& terrestrial() {
    static const network net{"Kestrel Terrestrial",
                             -1,
                             0,
                             0x2F03,
                             "Kestrel Demo Terrestrial",
                             {{17, 506000, 0, 0, "ter-506.ts"},
                              {18, 578000, 0, 0, "ter-578-plp0.ts", true, 0},
                              {19, 578000, 0, 0, "ter-578-plp1.ts", true, 1}},
                             family::terrestrial};
    return net;
}

const network& cable() {
    static const network net{"Kestrel Cable",
                             -1,
                             0,
                             0x2F04,
                             "Kestrel Demo Cable",
                             {{33, 346000, 0, 6900000, "cab-346.ts"},
                              {34, 354000, 0, 6900000, "cab-354.ts"},
                              {35, 362000, 0, 6900000, "cab-362.ts"}},
                             family::cable};
    return net;
}

std::vector<std::uint8_t> capture(const network& sat, const transponder& tp) {
    ts::mux_plan plan;
    plan.duration_ms = capture_ms;
    plan.carousels = carousels(sat, tp);
    plan.pcr_pid = services_of(tp).front().pid(1);
    for (const service& s : services_of(tp))
        for (int offset = 1; offset <= (s.scrambled ? 4 : 3); ++offset)
            plan.elementary_pids.push_back(s.pid(offset));
    plan.elementary_pids.push_back(emm_pid);
    ts::stream_builder builder;
    builder.add_mux(plan);
    return builder.take();
}

std::string manifest() {
    std::ostringstream out;
    out << "# The Kestrel demo network: two satellites behind a committed DiSEqC switch.\n"
           "# POSITION FREQUENCY_KHZ POLARISATION SYMBOL_RATE [system=dvb-s2] [stream=ISI] FILE\n"
           "frontend dvb-s\n";
    for (const network& sat : satellites())
        for (const transponder& tp : sat.transponders) {
            out << sat.position << ' ' << tp.frequency_khz << ' ' << tp.polarisation << ' ' << tp.symbol_rate;
            if (tp.second_generation) out << " system=dvb-s2";
            if (tp.stream >= 0) out << " stream=" << tp.stream;
            out << ' ' << tp.file << '\n';
        }
    return out.str();
}

std::string manifest(const network& ground) {
    const bool cable_network = ground.kind == family::cable;
    std::ostringstream out;
    out << "# The Kestrel demo " << (cable_network ? "cable" : "terrestrial") << " network.\n"
        << "# - FREQUENCY_KHZ - SYMBOL_RATE [system=dvb-t2 stream=PLP] FILE\n"
        << "frontend " << (cable_network ? "dvb-c" : "dvb-t") << '\n';
    for (const transponder& tp : ground.transponders) {
        out << "- " << tp.frequency_khz << " - " << tp.symbol_rate;
        if (tp.second_generation) out << " system=dvb-t2 stream=" << tp.stream;
        out << ' ' << tp.file << '\n';
    }
    return out.str();
}

std::string manifest_file(const network& ground) {
    return ground.kind == family::cable ? "demo-dvb-c.manifest" : "demo-dvb-t.manifest";
}

std::string satellite_list() {
    std::ostringstream out;
    out << "# Satellites of the Kestrel demo network: name, orbital position, MHz, polarisation\n"
           "# (0 H, 1 V), ksymbols/s, FEC\n";
    for (const network& sat : satellites()) {
        const transponder& tp = sat.transponders.front();
        out << '"' << sat.name << "\"," << sat.orbital_tenths << ',' << tp.frequency_khz / 1000 << ','
            << (tp.polarisation == 'V' ? 1 : 0) << ',' << tp.symbol_rate / 1000 << ",3\n";
    }
    return out.str();
}

}  // namespace kestrel::demo
