#include "epg/event_decoder.h"

#include <algorithm>
#include <span>

#include "epg/components.h"
#include "epg/genres.h"
#include "epg/si_time.h"
#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/field_text.h"

namespace kestrel::epg {

namespace {

constexpr int content_identifier_tag = 0x76;

std::string language_of(const lib13818::LanguageCode& code) {
    return {code.data(), 3};
}

std::string hex(std::span<const std::uint8_t> bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const std::uint8_t b : bytes) {
        out += digits[b >> 4];
        out += digits[b & 0x0F];
    }
    return out;
}

void take_short_event(const lib13818::EitEvent& event, guide_event& out, lib13818::dvb_text_decoder& text) {
    const auto& all = event.short_event;
    const auto named =
        std::find_if(all.begin(), all.end(), [](const auto& d) { return !d.event_name.text.empty(); });
    if (named == all.end() && all.empty()) return;
    const auto& chosen = named != all.end() ? *named : all.front();
    out.language = language_of(chosen.ISO_639_language_code);
    out.title = text.to_utf8(chosen.event_name);
    out.short_text = text.to_utf8(chosen.text);
}

void take_extended_event(const lib13818::EitEvent& event, guide_event& out,
                         lib13818::dvb_text_decoder& text) {
    if (event.extended_event.empty()) return;
    const std::string language =
        out.language.empty() ? language_of(event.extended_event.front().ISO_639_language_code) : out.language;
    std::vector<const lib13818::DescriptorExtendedEvent*> parts;
    for (const auto& d : event.extended_event)
        if (language_of(d.ISO_639_language_code) == language) parts.push_back(&d);
    if (parts.empty())  // the short event's language has no long text: the first language's
        for (const auto& d : event.extended_event)
            if (language_of(d.ISO_639_language_code) ==
                language_of(event.extended_event.front().ISO_639_language_code))
                parts.push_back(&d);
    extended_text joined = join_extended(parts, text);
    out.extended_text = std::move(joined.text);
    out.items = std::move(joined.items);
    if (out.language.empty()) out.language = language;
}

}  // namespace

extended_text join_extended(const std::vector<const lib13818::DescriptorExtendedEvent*>& parts,
                            lib13818::dvb_text_decoder& text) {
    std::vector<const lib13818::DescriptorExtendedEvent*> ordered = parts;
    std::stable_sort(ordered.begin(), ordered.end(), [](const auto* a, const auto* b) {
        return a->descriptor_number < b->descriptor_number;
    });
    ordered.erase(std::unique(ordered.begin(), ordered.end(),
                              [](const auto* a, const auto* b) {
                                  return a->descriptor_number == b->descriptor_number;
                              }),
                  ordered.end());
    extended_text out;
    if (ordered.empty()) return out;
    // The selector belongs to each part; the bytes after it continue one text.
    const std::string& selector = ordered.front()->text.selector;
    const bool agree = std::all_of(ordered.begin(), ordered.end(), [&](const auto* d) {
        return d->text.selector == selector || d->text.text.empty();
    });
    lib13818::DvbString whole{{}, selector};
    for (const auto* d : ordered) {
        if (agree)
            whole.text += d->text.text;
        else
            out.text += text.to_utf8(d->text);
        for (const auto& item : d->items)
            out.items.push_back({text.to_utf8(item.item_description), text.to_utf8(item.item)});
    }
    if (agree) out.text = text.to_utf8(whole);
    return out;
}

guide_event decode_event(const lib13818::EitEvent& event, event_source source,
                         lib13818::dvb_text_decoder& text) {
    guide_event out;
    out.event_id = static_cast<std::uint16_t>(event.event_id);
    const utc_seconds start = to_utc_seconds(event.start_time);
    out.start_utc = start.value;
    out.start_fault = start.fault;
    const duration_seconds duration = to_seconds(event.duration);
    out.duration_s = duration.value;
    out.duration_fault = duration.fault;
    out.running_status = event.running_status;
    out.source = source;
    take_short_event(event, out, text);
    take_extended_event(event, out, text);
    for (const auto& d : event.content)
        for (const auto& item : d.items)
            out.genres.push_back(
                {item.content_nibble_level1, item.content_nibble_level2,
                 std::string(genre_name(item.content_nibble_level1, item.content_nibble_level2))});
    for (const auto& d : event.component) {
        component c = describe_component(d.stream_content, d.component_type);
        c.language = language_of(d.ISO_639_language_code);
        c.text = text.to_utf8(d.text);
        out.components.push_back(std::move(c));
    }
    // Ratings country by country; the bodies of the decoded CRID descriptors, then of those
    // too faulty to decode.
    constexpr std::size_t header_bytes = 2;
    for (const lib13818::DescriptorDescribed& d : event.described) {
        if (d.is(lib13818::descriptions::parental_rating))
            for (const lib13818::described_record country : d.records("countries"))
                out.ratings.push_back(
                    {language_of(lib13818::language_of(country.number("country_code").value_or(0))),
                     static_cast<int>(country.number("rating").value_or(0))});
        if (d.is(lib13818::descriptions::content_identifier))
            out.content_identifiers_hex.push_back(
                hex(std::span(reinterpret_cast<const std::uint8_t*>(d.raw.data()), d.raw.size())
                        .subspan(header_bytes)));
    }
    for (const auto& d : event.general)
        if (d.descriptor_tag == content_identifier_tag) out.content_identifiers_hex.push_back(hex(d.data));
    return out;
}

}  // namespace kestrel::epg
