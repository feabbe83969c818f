#include "epg/components.h"

namespace kestrel::epg {

namespace {

constexpr const char* aspects[] = {"4:3", "16:9", "16:9", ">16:9"};

// MPEG-2 video (stream_content 0x1): 0x01-0x04 SD 25 Hz, 0x05-0x08 SD 30 Hz, 0x09-0x0C HD
// 25 Hz, 0x0D-0x10 HD 30 Hz; in each group 4:3, 16:9 with pan vectors, 16:9, >16:9.
void mpeg2_video(component& c) {
    if (c.component_type < 0x01 || c.component_type > 0x10) return;
    const int index = c.component_type - 1;
    c.aspect = aspects[index % 4];
    c.high_definition = index >= 8;
}

// H.264/AVC video (stream_content 0x5): the same groups, without the pan-vector types.
void avc_video(component& c) {
    switch (c.component_type) {
        case 0x01:
        case 0x05:
            c.aspect = "4:3";
            break;
        case 0x03:
        case 0x07:
        case 0x0B:
        case 0x0F:
            c.aspect = "16:9";
            break;
        case 0x04:
        case 0x08:
        case 0x0C:
        case 0x10:
            c.aspect = ">16:9";
            break;
        default:
            break;
    }
    c.high_definition = c.component_type >= 0x0B && c.component_type <= 0x10;
}

// MPEG-1 layer 2 (0x2) and HE-AAC (0x6) audio modes.
void audio_mode(component& c) {
    switch (c.component_type) {
        case 0x01:
            c.audio = "mono";
            break;
        case 0x02:
            c.audio = "dual mono";
            break;
        case 0x03:
        case 0x43:
            c.audio = "stereo";
            break;
        case 0x04:
            c.audio = "multichannel";
            break;
        case 0x05:
            c.audio = "surround";
            break;
        default:
            break;
    }
}

void subtitles(component& c) {
    if (c.component_type == 0x01) c.subtitles = "teletext";
    if ((c.component_type >= 0x10 && c.component_type <= 0x15) ||
        (c.component_type >= 0x20 && c.component_type <= 0x25))
        c.subtitles = "dvb";
}

std::string describe(const component& c) {
    std::string words;
    const auto add = [&](const std::string& part) {
        if (part.empty()) return;
        if (!words.empty()) words += ' ';
        words += part;
    };
    switch (c.type) {
        case component::kind::video:
            add(c.aspect);
            add(c.high_definition ? "HD" : "");
            add("video");
            break;
        case component::kind::audio:
            add(c.audio);
            add("audio");
            break;
        case component::kind::subtitles:
            add(c.subtitles == "teletext" ? "teletext subtitles"
                : c.subtitles == "dvb"    ? "DVB subtitles"
                                          : "");
            if (words.empty()) add("teletext");
            break;
        case component::kind::other:
            add("other component");
            break;
    }
    return words;
}

}  // namespace

component describe_component(int stream_content, int component_type) {
    component c;
    c.stream_content = stream_content;
    c.component_type = component_type;
    switch (stream_content) {
        case 0x01:
            c.type = component::kind::video;
            mpeg2_video(c);
            break;
        case 0x05:
            c.type = component::kind::video;
            avc_video(c);
            break;
        case 0x02:
        case 0x06:
            c.type = component::kind::audio;
            audio_mode(c);
            break;
        case 0x04:
        case 0x07:
            c.type = component::kind::audio;  // AC-3 and DTS code their modes otherwise
            break;
        case 0x03:
            c.type = component::kind::subtitles;
            subtitles(c);
            break;
        default:
            break;
    }
    c.description = describe(c);
    return c;
}

}  // namespace kestrel::epg
