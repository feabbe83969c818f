#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "ts/stream_builder.h"
#include "ts/tests/extract_helpers.h"

namespace kestrel::testing {

using ts::testing::bytes;
using ts::testing::make_section;

// A folder of its own per test for captures and manifests, removed afterwards.
class capture_folder : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        folder_ = std::filesystem::temp_directory_path() /
                  (std::string("kestrel-capture-") + info->test_suite_name() + "-" + info->name());
        std::filesystem::remove_all(folder_);
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string write(const std::string& name, const std::vector<std::uint8_t>& data) const {
        const std::string path = (folder_ / name).string();
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
        return path;
    }
    std::string write(const std::string& name, const std::string& text) const {
        return write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }

    // One second of multiplex with the given carousels, a PCR on 0x100 unless told
    // otherwise, and elementary packets on 0x101.
    static std::vector<std::uint8_t> mux(std::vector<ts::carousel> carousels, bool with_pcr = true,
                                         std::uint32_t duration_ms = 1000) {
        ts::mux_plan plan;
        plan.duration_ms = duration_ms;
        plan.carousels = std::move(carousels);
        if (with_pcr) plan.pcr_pid = 0x100;
        plan.elementary_pids = {0x101};
        ts::stream_builder builder;
        builder.add_mux(plan);
        return builder.take();
    }

    std::filesystem::path folder_;
};

}  // namespace kestrel::testing
