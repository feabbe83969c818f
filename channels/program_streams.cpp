#include "channels/program_streams.h"

#include <algorithm>
#include <string_view>

#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/field_text.h"

namespace kestrel::channels {

namespace {

bool is_video_type(std::int32_t type) {
    // MPEG-1, MPEG-2, MPEG-4 part 2, H.264, H.265.
    return type == 0x01 || type == 0x02 || type == 0x10 || type == 0x1B || type == 0x24;
}

bool is_audio_type(std::int32_t type) {
    // MPEG-1 and MPEG-2 audio, AAC in ADTS and in LATM.
    return type == 0x03 || type == 0x04 || type == 0x0F || type == 0x11;
}

// The descriptor that makes a private (0x06) stream audio: its tag, or 0.
std::int32_t audio_descriptor_of(const lib13818::ElementaryStream& stream) {
    namespace d = lib13818::descriptions;
    for (const lib13818::DescriptorDescribed& described : stream.described)
        for (const lib13818::description* audio : {&d::AC3, &d::enhanced_AC3, &d::AAC})
            if (described.is(*audio)) return audio->tag;
    return 0;
}

// A language code as text; "" for bytes that are no letters (a receiver would show junk).
std::string language_text(const lib13818::LanguageCode& code) {
    const std::string_view text(code.data(), 3);
    const bool letters = std::all_of(text.begin(), text.end(),
                                     [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); });
    return letters ? std::string(text) : std::string();
}

// Adds a language to a "deu+eng" list unless it is empty or listed already.
void add_language(std::string& list, const std::string& language) {
    if (language.empty() || ("+" + list + "+").find("+" + language + "+") != std::string::npos) return;
    if (!list.empty()) list += '+';
    list += language;
}

stream_pid stream_of(const lib13818::ElementaryStream& stream) {
    stream_pid s{stream.elementary_PID, stream.stream_type, "", 0};
    for (const lib13818::DescriptorISO639Language& languages : stream.ISO_639_language)
        for (const auto& language : languages.languages)
            add_language(s.language, language_text(language.ISO_639_language_code));
    return s;
}

// The subtitle languages of a stream with a subtitling descriptor; false without one.
bool read_subtitles(const lib13818::ElementaryStream& stream, stream_pid& s) {
    bool found = false;
    for (const lib13818::DescriptorDescribed& described : stream.described) {
        if (!described.is(lib13818::descriptions::subtitling)) continue;
        found = true;
        for (const lib13818::described_record subtitle : described.records("subtitles"))
            if (const auto code = subtitle.number("ISO_639_language_code"))
                add_language(s.language, language_text(lib13818::language_of(*code)));
    }
    return found;
}

}  // namespace

void add_program_streams(const lib13818::Pmt& pmt, channel_entry& entry) {
    entry.pcr_pid = pmt.PCR_PID;
    for (const lib13818::ElementaryStream& stream : pmt.streams) {
        stream_pid s = stream_of(stream);
        if (is_video_type(stream.stream_type)) {
            if (!entry.video) entry.video = s;
        } else if (is_audio_type(stream.stream_type)) {
            entry.audio.push_back(s);
        } else if (stream.stream_type != 0x06) {
            continue;
        } else if ((s.audio_descriptor_tag = audio_descriptor_of(stream)) != 0) {
            entry.audio.push_back(s);
        } else if (!stream.teletext.empty()) {
            if (entry.teletext) continue;
            for (const lib13818::DescriptorTeletext& teletext : stream.teletext)
                for (const auto& page : teletext.pages)
                    add_language(s.language, language_text(page.ISO_639_language_code));
            entry.teletext = s;
        } else if (read_subtitles(stream, s)) {
            entry.subtitles.push_back(s);
        }
    }
    std::vector<lib13818::DescriptorCA> ca;
    pmt.collect_CA(ca);
    for (const lib13818::DescriptorCA& d : ca)
        if (std::find(entry.ca_system_ids.begin(), entry.ca_system_ids.end(), d.CA_system_ID) ==
            entry.ca_system_ids.end())
            entry.ca_system_ids.push_back(d.CA_system_ID);
}

}  // namespace kestrel::channels
