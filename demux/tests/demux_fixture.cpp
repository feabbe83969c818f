#include "demux/tests/demux_fixture.h"

#include <fstream>
#include <span>

#include "device/capture/capture_card.h"
#include "ts/stream_builder.h"

namespace kestrel::testing {

namespace {

constexpr std::uint16_t pcr_pid = 0x1FF0;
// Slow enough that a minute of stream stays a small file.
constexpr std::uint32_t bitrate = 100'000;

std::vector<std::uint8_t> transport_stream(const std::vector<stream_section>& stream) {
    ts::stream_builder builder(ts::format_188, bitrate);
    builder.add_pcr(pcr_pid);
    for (const stream_section& s : stream) {
        const std::uint64_t now_ms = builder.clock() / (ts::stream_builder::clock_hz / 1000);
        if (s.time_ms > now_ms) {
            ts::mux_plan gap;
            gap.duration_ms = static_cast<std::uint32_t>(s.time_ms - now_ms);
            gap.pcr_pid = pcr_pid;
            builder.add_mux(gap);
        }
        builder.add_sections(s.pid, std::span(&s.section, 1));
    }
    builder.add_pcr(pcr_pid);
    return builder.take();
}

}  // namespace

DemuxTest::DemuxTest() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("kestrel-demux-") + test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

DemuxTest::~DemuxTest() {
    device_.reset();
    std::filesystem::remove_all(folder_);
}

dvb_device& DemuxTest::device(const std::vector<stream_section>& stream, bool realtime) {
    const std::string path = (folder_ / ("stream-" + std::to_string(++files_) + ".ts")).string();
    const std::vector<std::uint8_t> data = transport_stream(stream);
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return capture_device(path, realtime);
}

dvb_device& DemuxTest::capture_device(const std::string& path, bool realtime) {
    std::string error;
    auto card = capture_card::create({path, realtime, 0}, error);
    EXPECT_EQ(error, "");
    device_ = std::make_unique<dvb_device_techotrend>(std::move(card));
    EXPECT_EQ(device_->init(), 0u);
    return *device_;
}

dvb_device& DemuxTest::fake_device(fake_card*& card) {
    auto owned = std::make_unique<fake_card>();
    card = owned.get();
    device_ = std::make_unique<dvb_device_techotrend>(std::move(owned));
    EXPECT_EQ(device_->init(), 0u);
    return *device_;
}

long DemuxTest::traced(const std::string& text) {
    return trace_.count(text);
}

std::vector<stream_section> DemuxTest::on_pid(std::uint16_t pid, const std::vector<bytes>& sections) {
    std::vector<stream_section> stream;
    for (const bytes& s : sections)
        stream.push_back({pid, s, 0});
    return stream;
}

}  // namespace kestrel::testing
