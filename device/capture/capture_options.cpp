#include "device/capture/capture_options.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>

#include "device/card.h"
#include "ts/capture_file.h"

namespace kestrel {

std::string parse_capture_options(std::string_view text, capture_options& out) {
    capture_options options;
    const auto question = text.find('?');
    options.path = std::string(text.substr(0, question));
    if (options.path.empty()) return "no capture file or manifest named";
    std::string_view rest =
        question == std::string_view::npos ? std::string_view{} : text.substr(question + 1);
    while (question != std::string_view::npos) {
        const auto amp = rest.find('&');
        const std::string_view option = rest.substr(0, amp);
        if (option == "realtime")
            options.realtime = true;
        else if (option == "dvb-c" || option == "dvb-t") {
            if (options.frontend != 0) return "only one of ?dvb-c and ?dvb-t";
            options.frontend = option == "dvb-c" ? frontend_dvb_c : frontend_dvb_t;
        } else
            return "unknown option '" + std::string(option) + "' (realtime, dvb-c, dvb-t)";
        if (amp == std::string_view::npos) break;
        rest.remove_prefix(amp + 1);
    }
    out = std::move(options);
    return {};
}

bool is_single_capture(const std::string& path) {
    static constexpr std::array<std::string_view, 5> extensions{".ts", ".m2ts", ".mts", ".trp", ".tp"};
    std::string extension = std::filesystem::path(path).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (std::find(extensions.begin(), extensions.end(), extension) != extensions.end()) return true;
    ts::capture_file file;
    return file.open(path).empty();
}

}  // namespace kestrel
