#include "channels/vdr_writer.h"

#include <cmath>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

#include "channels/channel_text.h"

namespace kestrel::channels {

namespace {

using lib13818::DeliverySystem;

constexpr std::int32_t vdr_automatic = 999;

// The record's codes are VDR's numbers (code rate 2/3 is 23, QPSK 2, 8PSK 5, guard 1/8 is 8,
// 8k is 8, hierarchy 4 is 4, pilot on 1); its automatic value is VDR's 999.
template <class Code>
std::string letter(char name, Code value) {
    const auto number = static_cast<std::int32_t>(value);
    return name + std::to_string(number == lib13818::automatic ? vdr_automatic : number);
}

std::string parameters(const channel_tuning& t) {
    const lib13818::Delivery& d = t.delivery;
    std::string text;
    if (lib13818::is_satellite(t.system)) {
        static constexpr char polarisations[] = {'H', 'V', 'L', 'R'};
        text += t.polarisation >= 0 && t.polarisation < 4 ? polarisations[t.polarisation] : 'H';
        text += letter('C', d.code_rate_hp) + letter('M', d.modulation);
        if (t.system == DeliverySystem::dvb_s2) {
            text += 'O' + std::to_string(d.roll_off == lib13818::RollOff::automatic
                                             ? 0
                                             : static_cast<std::int32_t>(d.roll_off));
            if (d.pilot != lib13818::Pilot::automatic) text += letter('N', d.pilot);
        }
    } else if (t.system == DeliverySystem::dvb_c) {
        text += letter('C', d.code_rate_hp) + letter('M', d.modulation);
    } else {
        if (d.bandwidth_hz != lib13818::automatic)
            text += 'B' + std::to_string(d.bandwidth_hz == 1712000 ? 1712 : d.bandwidth_hz / 1000000);
        text += letter('C', d.code_rate_hp) + letter('D', d.code_rate_lp) + letter('G', d.guard_interval) +
                letter('M', d.modulation) + letter('T', d.transmission_mode) + letter('Y', d.hierarchy);
    }
    if (lib13818::is_second_generation(t.system) && d.stream_id != lib13818::automatic)
        text += 'P' + std::to_string(d.stream_id);
    text += lib13818::is_second_generation(t.system) ? "S1" : "S0";
    return text;
}

std::string source(const channel_entry& e) {
    if (e.tuning.system == DeliverySystem::dvb_c) return "C";
    if (lib13818::is_terrestrial(e.tuning.system)) return "T";
    const std::int32_t tenths = *e.tuning.orbital_tenths;
    char text[16];
    std::snprintf(text, sizeof text, "S%d.%d%c", std::abs(tenths) / 10, std::abs(tenths) % 10,
                  tenths < 0 ? 'W' : 'E');
    return text;
}

std::string video_field(const channel_entry& e) {
    if (!e.video) return "0";
    std::string text = std::to_string(e.video->pid);
    if (e.pcr_pid != 0 && e.pcr_pid != e.video->pid) text += '+' + std::to_string(e.pcr_pid);
    return text + '=' + std::to_string(e.video->stream_type);
}

// "pid=lang@type" joined by commas; "0" for none.
std::string stream_list(const std::vector<const stream_pid*>& streams, bool with_type) {
    if (streams.empty()) return "0";
    std::string text;
    for (const stream_pid* s : streams) {
        if (!text.empty()) text += ',';
        text += std::to_string(s->pid);
        if (!s->language.empty()) text += '=' + s->language;
        if (with_type) {
            const std::int32_t tag = s->audio_descriptor_tag;
            // VDR tells its Dolby streams by the descriptor's tag (106, 122).
            text += '@' + std::to_string(tag == 0x6A || tag == 0x7A ? tag : s->stream_type);
        }
    }
    return text;
}

std::string audio_field(const channel_entry& e) {
    std::vector<const stream_pid*> plain, dolby;
    for (const stream_pid& s : e.audio)
        (s.audio_descriptor_tag == 0x6A || s.audio_descriptor_tag == 0x7A ? dolby : plain).push_back(&s);
    std::string text = stream_list(plain, true);
    if (!dolby.empty()) text += ';' + stream_list(dolby, true);
    return text;
}

std::string teletext_field(const channel_entry& e) {
    std::string text = e.teletext ? std::to_string(e.teletext->pid) : "0";
    std::vector<const stream_pid*> subtitles;
    for (const stream_pid& s : e.subtitles)
        subtitles.push_back(&s);
    if (!subtitles.empty()) text += ';' + stream_list(subtitles, false);
    return text;
}

std::string ca_field(const channel_entry& e) {
    if (e.ca_system_ids.empty()) return "0";
    std::string text;
    for (const std::int32_t id : e.ca_system_ids) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(id & 0xFFFF));
        text += (text.empty() ? "" : ",") + std::string(hex);
    }
    return text;
}

// ':' separates VDR's fields and VDR writes it as '|'; `dividers` split the field itself.
std::string vdr_text(const std::string& text, std::string_view dividers) {
    return plain_field(plain_field(text, ":", '|'), dividers, '.');
}

std::int64_t frequency(const channel_tuning& t) {
    return lib13818::is_satellite(t.system) ? (t.frequency_khz + 500) / 1000 : t.frequency_khz;
}

void check_sources(std::span<const channel_entry> entries) {
    for (const channel_entry& e : entries)
        if (lib13818::is_satellite(e.tuning.system) && !e.tuning.orbital_tenths) {
            char where[64];
            std::snprintf(where, sizeof where, "transport stream %#06x of network %#06x",
                          static_cast<unsigned>(e.transport_stream_id),
                          static_cast<unsigned>(e.original_network_id));
            throw channel_list_error(std::string(where) +
                                     ": no NIT scanned names its orbital position, which VDR's Source needs");
        }
}

}  // namespace

void write_vdr(std::ostream& out, std::span<const channel_entry> entries) {
    check_sources(entries);
    for (const channel_entry& e : entries) {
        const channel_tuning& t = e.tuning;
        // The name may carry a short name after ',' and the provider follows ';'.
        out << vdr_text(e.name, ",;") << ';' << vdr_text(e.provider, ";") << ':' << frequency(t) << ':'
            << parameters(t) << ':' << source(e) << ':'
            << (t.system == DeliverySystem::dvb_c || lib13818::is_satellite(t.system) ? t.symbol_rate / 1000
                                                                                      : 0)
            << ':' << video_field(e) << ':' << audio_field(e) << ':' << teletext_field(e) << ':'
            << ca_field(e) << ':' << e.service_id << ':' << e.original_network_id << ':'
            << e.transport_stream_id << ":0\n";
    }
}

}  // namespace kestrel::channels
