#include "lib13818/tests/capture_sections.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>

namespace lib13818 {

namespace {

constexpr std::size_t packet_size = 188;
constexpr std::uint8_t sync_byte = 0x47;
constexpr std::uint8_t stuffing = 0xFF;

// The section bytes gathered so far on one PID.
struct Assembly {
    std::vector<std::uint8_t> pending;
    bool active = false;  // pending holds the start of a section
    int last_cc = -1;
};

// Moves every complete section at the front of `a.pending` to `out`.
void take_complete(Assembly& a, std::uint16_t pid, std::vector<CapturedSection>& out) {
    while (a.active && a.pending.size() >= 3) {
        if (a.pending[0] == stuffing) {
            a.pending.clear();
            a.active = false;
            return;
        }
        const std::size_t size = 3 + (((a.pending[1] & 0x0F) << 8) | a.pending[2]);
        if (a.pending.size() < size) return;
        out.push_back({pid, {a.pending.begin(), a.pending.begin() + static_cast<std::ptrdiff_t>(size)}});
        a.pending.erase(a.pending.begin(), a.pending.begin() + static_cast<std::ptrdiff_t>(size));
    }
}

void drop(Assembly& a) {
    a.pending.clear();
    a.active = false;
}

void take_packet(const std::uint8_t* p, Assembly& a, std::uint16_t pid, std::vector<CapturedSection>& out) {
    const bool errored = p[1] & 0x80;
    const bool unit_start = p[1] & 0x40;
    const int adaptation = (p[3] >> 4) & 3;
    const int cc = p[3] & 0x0F;
    if (errored) return drop(a);
    if (!(adaptation & 1)) return;  // no payload
    if (cc == a.last_cc) return;    // a repeated packet
    if (a.last_cc >= 0 && cc != ((a.last_cc + 1) & 0x0F)) drop(a);
    a.last_cc = cc;

    std::size_t start = 4;
    if (adaptation & 2) start += 1 + p[4];
    if (start >= packet_size) return;
    const std::uint8_t* payload = p + start;
    const std::uint8_t* end = p + packet_size;
    if (!unit_start) {
        if (a.active) a.pending.insert(a.pending.end(), payload, end);
        return take_complete(a, pid, out);
    }
    const std::uint8_t* section_start = payload + 1 + payload[0];
    if (section_start > end) return drop(a);
    if (a.active) {
        a.pending.insert(a.pending.end(), payload + 1, section_start);
        take_complete(a, pid, out);
    }
    a.pending.assign(section_start, end);
    a.active = true;
    take_complete(a, pid, out);
}

}  // namespace

std::vector<CapturedSection> capture_sections(const std::string& path, const std::set<std::uint16_t>& pids) {
    std::ifstream file(path, std::ios::binary);
    const std::vector<std::uint8_t> ts{std::istreambuf_iterator<char>(file),
                                       std::istreambuf_iterator<char>()};
    std::vector<CapturedSection> out;
    std::map<std::uint16_t, Assembly> assemblies;
    std::size_t i = 0;
    while (i + packet_size <= ts.size()) {
        if (ts[i] != sync_byte) {  // lost sync: find the next sync byte
            ++i;
            continue;
        }
        const std::uint8_t* p = ts.data() + i;
        const auto pid = static_cast<std::uint16_t>(((p[1] & 0x1F) << 8) | p[2]);
        if (pids.contains(pid)) take_packet(p, assemblies[pid], pid, out);
        i += packet_size;
    }
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
