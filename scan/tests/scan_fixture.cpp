#include "scan/tests/scan_fixture.h"

#include <fstream>

#include "device/capture/capture_card.h"

namespace kestrel::testing {

void recorded_progress::add_row(int row, std::string_view name, int) {
    rows_.emplace_back(name);
    seen_[row] = false;
}

void recorded_progress::add_bytes(int row, std::int32_t) {
    if (!seen_[row].exchange(true) && first_bytes) first_bytes(rows_[static_cast<std::size_t>(row)]);
}

void recorded_progress::clear_rows() {
    std::string names;
    for (const std::string& name : rows_)
        names += (names.empty() ? "" : "+") + name;
    collections.push_back(names);
    rows_.clear();
}

ScanTest::ScanTest() {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::filesystem::temp_directory_path() /
              (std::string("kestrel-scan-") + test->test_suite_name() + "-" + test->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
}

ScanTest::~ScanTest() {
    device.reset();
    std::filesystem::remove_all(folder_);
}

std::string ScanTest::demo_file(const std::string& name) {
    return std::string(KESTREL_DATA_DIR) + "/demo/" + name;
}

void ScanTest::make_device(const std::string& path, bool realtime) {
    std::string error;
    auto card = capture_card::create({path, realtime, 0}, error);
    EXPECT_EQ(error, "");
    device = std::make_unique<dvb_device_techotrend>(std::move(card));
    EXPECT_EQ(device->init(), 0u);
}

dvb_device_techotrend& ScanTest::open(const std::string& path, double ghz, int polarisation,
                                      unsigned long ksymbols, unsigned long position, bool realtime) {
    make_device(path, realtime);
    device->set_lnb_config({diseqc_mode::committed, 9750000, 10600000, 11700000, true});
    EXPECT_EQ(device->set_tuner(ghz, polarisation, 0, ksymbols * 1000, position), 0u);
    return *device;
}

dvb_device_techotrend& ScanTest::open_ground(const std::string& path, double mhz) {
    make_device(path, false);
    TUNERPARM tuning;
    tuning.type = device->get_frontend_type();
    tuning.frequency = mhz;
    tuning.word_b = 6900000;  // the cable symbol rate; a terrestrial tuning's flag word
    tuning.word_c = tuning.type == frontend_dvb_c ? 5 : 3;  // QAM-256; bandwidth automatic
    EXPECT_EQ(device->set_tuner(tuning), 0u);
    return *device;
}

std::string ScanTest::write_file(const std::string& name, const std::vector<std::uint8_t>& bytes) {
    const std::string path = (folder_ / name).string();
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ScanTest::write_stream(const std::vector<ts::carousel>& carousels, std::uint32_t duration_ms,
                                   const ts::carousel& middle) {
    ts::mux_plan plan;
    plan.duration_ms = duration_ms / 2;
    plan.carousels = carousels;
    plan.pcr_pid = 0x1FF0;
    ts::stream_builder builder(ts::format_188, 1'000'000);
    builder.add_mux(plan);
    if (!middle.sections.empty()) {
        plan.carousels.push_back(middle);
        plan.carousels.back().interval_ms = duration_ms;
    }
    builder.add_mux(plan);
    return write_file("stream.ts", builder.take());
}

int ScanTest::scan(std::int32_t mode, const table_selection& tables) {
    si_reader reader(*device, settings, satellites, tables, progress);
    return reader.run(networks, mode);
}

long ScanTest::traced(const std::string& text) {
    return trace_.count(text);
}

}  // namespace kestrel::testing
