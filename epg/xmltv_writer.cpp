#include "epg/xmltv_writer.h"

#include <algorithm>
#include <cctype>
#include <cstdio>

#include "dbexport/replacement_file.h"
#include "epg/si_time.h"

namespace kestrel::epg {

namespace {

// A code point XML 1.0 allows: tab, line feed, carriage return and from U+0020 on,
// except U+FFFE and U+FFFF. `c` starts a UTF-8 sequence of `length` bytes.
bool xml_char(const std::string& s, std::size_t at, std::size_t length) {
    const auto b = static_cast<unsigned char>(s[at]);
    if (length == 1) return b >= 0x20 || b == '\t' || b == '\n' || b == '\r';
    if (length == 3 && b == 0xEF && static_cast<unsigned char>(s[at + 1]) == 0xBF &&
        static_cast<unsigned char>(s[at + 2]) >= 0xBE)
        return false;
    return true;
}

std::size_t sequence_length(unsigned char b) {
    return b < 0x80 ? 1 : b >= 0xF0 ? 4 : b >= 0xE0 ? 3 : b >= 0xC0 ? 2 : 1;
}

// Escaped for an element or attribute; characters XML cannot hold dropped; line breaks
// and tabs become blanks unless `multi_line`, and the ends are trimmed.
std::string escaped(const std::string& text, bool multi_line) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t n = std::min(sequence_length(static_cast<unsigned char>(text[i])), text.size() - i);
        if (!xml_char(text, i, n)) {
            i += n;
            continue;
        }
        const char c = text[i];
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\r':
                break;
            case '\n':
            case '\t':
                out += multi_line && c == '\n' ? '\n' : ' ';
                break;
            default:
                out.append(text, i, n);
        }
        i += n;
    }
    const auto first = out.find_first_not_of(" \n");
    if (first == std::string::npos) return "";
    return out.substr(first, out.find_last_not_of(" \n") - first + 1);
}

// A lang attribute from a three-letter ISO 639 code; nothing for anything else.
std::string lang(const std::string& code) {
    std::string l;
    for (const char c : code) {
        if (!std::isalpha(static_cast<unsigned char>(c))) return "";
        l += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return l.size() == 3 ? " lang=\"" + l + "\"" : "";
}

void element(std::ostream& out, const char* name, const std::string& attributes, const std::string& text,
             bool multi_line = false) {
    const std::string body = escaped(text, multi_line);
    if (body.empty()) return;
    out << "    <" << name << attributes << '>' << body << "</" << name << ">\n";
}

std::string description(const guide_event& e) {
    std::string desc = e.extended_text.empty() ? e.short_text : e.extended_text;
    for (const event_item& i : e.items)
        desc += (desc.empty() ? "" : "\n") + i.description + ": " + i.item;
    return desc;
}

const component* first_of(const guide_event& e, component::kind kind) {
    for (const component& c : e.components)
        if (c.type == kind && (kind != component::kind::video || !c.aspect.empty())) return &c;
    return nullptr;
}

std::string stereo(const std::string& audio) {
    if (audio == "dual mono") return "bilingual";
    if (audio == "multichannel") return "surround";
    return audio;
}

void technical(std::ostream& out, const guide_event& e) {
    if (const component* video = first_of(e, component::kind::video)) {
        out << "    <video>\n      <aspect>" << escaped(video->aspect, false) << "</aspect>\n";
        if (video->high_definition) out << "      <quality>HDTV</quality>\n";
        out << "    </video>\n";
    }
    for (const component& c : e.components)
        if (c.type == component::kind::audio && !c.audio.empty()) {
            out << "    <audio>\n      <stereo>" << stereo(c.audio) << "</stereo>\n    </audio>\n";
            break;
        }
    for (const component& c : e.components) {
        if (c.type != component::kind::subtitles || c.subtitles.empty()) continue;
        out << "    <subtitles" << (c.subtitles == "teletext" ? " type=\"teletext\"" : "") << '>';
        const std::string language = escaped(c.language, false);
        if (!lang(c.language).empty()) out << "<language>" << language << "</language>";
        out << "</subtitles>\n";
    }
}

void programme(std::ostream& out, const guide_service& s, const guide_event& e) {
    out << "  <programme start=\"" << xmltv_time(*e.start_utc) << '"';
    if (const auto end = e.end_utc()) out << " stop=\"" << xmltv_time(*end) << '"';
    out << " channel=\"" << channel_id(s.key) << "\">\n";
    const std::string language = lang(e.language);
    element(out, "title", language, e.title);
    if (!e.extended_text.empty()) element(out, "sub-title", language, e.short_text);
    element(out, "desc", language, description(e), true);
    for (const genre& g : e.genres)
        element(out, "category", " lang=\"en\"", g.name);
    if (!language.empty()) element(out, "language", "", e.language);
    technical(out, e);
    for (const parental_rating& r : e.ratings)
        out << "    <rating system=\""
            << (r.is_age() ? "dvb" : "dvb broadcaster " + escaped(r.country, false)) << "\">\n      <value>"
            << (r.is_age() ? r.minimum_age() : r.rating) << "</value>\n    </rating>\n";
    out << "  </programme>\n";
}

std::string display_name(const guide_service& s) {
    const std::string name = escaped(s.name, false);
    return name.empty() ? unnamed_service(s.key.service_id) : name;
}

bool listed(const guide_event& e) {
    return e.start_utc && !escaped(e.title, false).empty();
}

}  // namespace

std::string channel_id(const service_key& key) {
    return std::to_string(key.service_id) + '.' + std::to_string(key.transport_stream_id) + '.' +
           std::to_string(key.original_network_id) + ".dvb.guide";
}

std::size_t write_xmltv(std::ostream& out, const guide& g, const std::string& generator) {
    out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<!DOCTYPE tv SYSTEM \"xmltv.dtd\">\n"
        << "<tv generator-info-name=\"" << escaped(generator, false) << "\">\n";
    for (const guide_service& s : g.services) {
        if (std::none_of(s.events.begin(), s.events.end(), listed)) continue;
        char url[48];
        std::snprintf(url, sizeof url, "dvb://%x.%x.%x", s.key.original_network_id, s.key.transport_stream_id,
                      s.key.service_id);
        out << "  <channel id=\"" << channel_id(s.key) << "\">\n"
            << "    <display-name>" << display_name(s) << "</display-name>\n"
            << "    <url system=\"dvb\">" << url << "</url>\n  </channel>\n";
    }
    std::size_t programmes = 0;
    for (const guide_service& s : g.services)
        for (const guide_event& e : s.events)
            if (listed(e)) {
                programme(out, s, e);
                ++programmes;
            }
    out << "</tv>\n";
    return programmes;
}

std::string write_xmltv_file(const std::string& path, const guide& g, const std::string& generator,
                             std::size_t& programmes) {
    return dbexport::write_whole_file(
        path, [&](std::ostream& out) { programmes = write_xmltv(out, g, generator); });
}

}  // namespace kestrel::epg
