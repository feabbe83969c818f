#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "ts/tests/extract_helpers.h"

namespace kestrel::ts {
namespace {

using namespace testing;

const std::filesystem::path captures = KESTREL_SHARED_DIR "/captures";

bytes read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// A deliberately plain section reader for 188-byte captures in sync: per PID a growing byte
// string that a pointer field restarts and a counter jump or a damaged packet empties.
class reference_reader {
  public:
    std::vector<pid_section> read(const bytes& capture, const std::set<std::uint16_t>& pids) {
        for (std::size_t at = 0; at + 188 <= capture.size(); at += 188) {
            const std::uint8_t* p = &capture[at];
            const std::uint16_t pid = static_cast<std::uint16_t>((p[1] & 0x1F) << 8 | p[2]);
            if (pids.count(pid)) packet(p, streams_[pid]);
        }
        return found_;
    }

  private:
    struct stream {
        bytes pending{};
        bool synced = false;
        int last = -1;
        bool duplicate = false;
    };

    void packet(const std::uint8_t* p, stream& s) {
        const int control = p[3] >> 4 & 3, counter = p[3] & 15;
        const bool start = p[1] & 0x40;
        int at = 4;
        if (control & 2) at += 1 + p[4];
        if ((p[1] & 0x80) || control == 0 || at > (control == 3 ? 187 : 188)) {
            s = stream{};
            return;
        }
        if (!(control & 1)) return;
        const bool discontinuity = (control & 2) && p[4] > 0 && (p[5] & 0x80);
        if (s.last == counter && !s.duplicate && !discontinuity) {
            s.duplicate = true;
            return;
        }
        if (s.last >= 0 && (counter != (s.last + 1) % 16 || discontinuity))
            s.synced = false, s.pending.clear();
        s.last = counter;
        s.duplicate = false;
        if ((p[3] >> 6) != 0) {
            s.synced = false;
            return;
        }
        if (!start) {
            if (s.synced) s.pending.insert(s.pending.end(), p + at, p + 188);
        } else {
            const int pointer = p[at++];
            if (at + pointer >= 189) {
                s = stream{.last = counter};
                return;
            }
            if (s.synced) s.pending.insert(s.pending.end(), p + at, p + at + pointer);
            complete(p, s);
            s.pending.assign(p + at + pointer, p + 188);
            s.synced = true;
        }
        complete(p, s);
    }

    // Takes every complete section off the front of the pending bytes.
    void complete(const std::uint8_t* p, stream& s) {
        while (s.synced && s.pending.size() >= 3 && s.pending[0] != 0xFF) {
            const std::size_t size = 3 + ((s.pending[1] & 15) << 8 | s.pending[2]);
            if (size > 4096) break;
            if (s.pending.size() < size) return;
            found_.emplace_back(
                static_cast<std::uint16_t>((p[1] & 0x1F) << 8 | p[2]),
                bytes(s.pending.begin(), s.pending.begin() + static_cast<std::ptrdiff_t>(size)));
            s.pending.erase(s.pending.begin(), s.pending.begin() + static_cast<std::ptrdiff_t>(size));
        }
        if (s.pending.size() >= 3 || (!s.pending.empty() && s.pending[0] == 0xFF))
            s.synced = false, s.pending.clear();
    }

    std::map<std::uint16_t, stream> streams_;
    std::vector<pid_section> found_;
};

std::vector<pid_section> distinct(const std::vector<pid_section>& all) {
    std::vector<pid_section> once;
    std::set<pid_section> seen;
    for (const auto& s : all)
        if (seen.insert(s).second) once.push_back(s);
    return once;
}

TEST(Captures, YieldTheSectionsOfAPlainReader) {
    if (!std::filesystem::is_directory(captures)) GTEST_SKIP() << "no captures at " << captures;
    for (const char* name : {"test-018.ts", "test-025.ts", "test-030.ts", "test-101.ts", "test-103.ts"}) {
        const bytes capture = read_file(captures / name);
        std::set<std::uint16_t> pids;
        for (std::uint16_t pid = 0; pid < 0x20; ++pid)
            pids.insert(pid);
        for (std::uint16_t pid : {0x100, 0x101, 0x810, 0x140, 0x141, 0x149})
            pids.insert(pid);
        std::vector<pid_section> found;
        section_extractor extractor;
        for (std::uint16_t pid : pids)
            extractor.select_pid(pid);
        const std::string error = extract_sections((captures / name).string(), extractor,
                                                   [&](std::uint16_t pid, std::span<const std::uint8_t> s) {
                                                       found.emplace_back(pid, bytes(s.begin(), s.end()));
                                                   });
        ASSERT_EQ(error, "") << name;
        const auto expected = distinct(reference_reader().read(capture, pids));
        EXPECT_FALSE(expected.empty()) << name;
        EXPECT_EQ(distinct(found), expected) << name;
    }
}

TEST(CaptureFile, NamesTheFileWhenItCannotBeUsed) {
    const auto dir = std::filesystem::temp_directory_path() / "kestrel-ts-test";
    std::filesystem::create_directories(dir);
    std::ofstream(dir / "text.ts") << "no packets in here\n";
    section_extractor extractor;
    const auto ignore = [](std::uint16_t, std::span<const std::uint8_t>) {};
    EXPECT_EQ(extract_sections((dir / "text.ts").string(), extractor, ignore),
              (dir / "text.ts").string() + ": no transport stream found");
    EXPECT_EQ(extract_sections((dir / "missing.ts").string(), extractor, ignore),
              "cannot open " + (dir / "missing.ts").string() + ": No such file or directory");
    std::filesystem::remove_all(dir);
}

}  // namespace
}  // namespace kestrel::ts
