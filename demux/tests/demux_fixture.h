#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "demux/tests/section_card.h"
#include "demux/tests/sections.h"
#include "device/dvb_device_techotrend.h"
#include "log/trace_log.h"

namespace kestrel::testing {

// A device over a section card, and the trace lines a test produced.
class DemuxTest : public ::testing::Test {
  protected:
    DemuxTest() {
        global_trace().set_debugger_output([this](std::string_view line) {
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
                line.remove_suffix(1);
            std::lock_guard lock(lines_lock_);
            lines_.emplace_back(line);
        });
        global_trace().open(nullptr, trace_log::to_debugger, 0, 4);
    }
    ~DemuxTest() override {
        device_.reset();
        global_trace().close();
        global_trace().set_debugger_output([](std::string_view) {});
    }

    // A device whose card replays the sections.
    dvb_device& device(std::vector<stream_section> stream, bool paced = false) {
        device_ =
            std::make_unique<dvb_device_techotrend>(std::make_unique<section_card>(std::move(stream), paced));
        EXPECT_EQ(device_->init(), 0u);
        return *device_;
    }

    // How many trace lines are exactly `text`.
    long traced(const std::string& text) {
        std::lock_guard lock(lines_lock_);
        return std::count(lines_.begin(), lines_.end(), text);
    }

    // Sections one millisecond apart.
    static std::vector<stream_section> on_pid(std::uint16_t pid, std::vector<bytes> sections) {
        std::vector<stream_section> stream;
        for (auto& s : sections)
            stream.push_back({pid, std::move(s), stream.size()});
        return stream;
    }

  private:
    std::mutex lines_lock_;
    std::vector<std::string> lines_;
    std::unique_ptr<dvb_device_techotrend> device_;
};

}  // namespace kestrel::testing
