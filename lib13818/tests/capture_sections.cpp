#include "lib13818/tests/capture_sections.h"

#include <algorithm>
#include <filesystem>

#include "ts/section_extractor.h"

namespace lib13818 {

std::vector<CapturedSection> capture_sections(const std::string& path, const std::set<std::uint16_t>& pids) {
    kestrel::ts::section_extractor extractor;
    for (std::uint16_t pid : pids)
        extractor.select_pid(pid);
    std::vector<CapturedSection> out;
    kestrel::ts::extract_sections(path, extractor,
                                  [&](std::uint16_t pid, std::span<const std::uint8_t> section) {
                                      out.push_back({pid, {section.begin(), section.end()}});
                                  });
    return out;
}

std::vector<std::string> capture_files() {
    const std::filesystem::path folder = KESTREL_SHARED_DIR "/captures";
    std::vector<std::string> files;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec))
        if (entry.path().extension() == ".ts") files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace lib13818
