#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "demux/tests/sections.h"
#include "device/dvb_device_techotrend.h"
#include "device/testing/fake_card.h"
#include "log/testing/trace_lines.h"

namespace kestrel::testing {

// One section of a stream and the stream time at which it is sent (or right after the
// section before, when that one took longer).
struct stream_section {
    std::uint16_t pid = 0;
    bytes section;
    std::uint64_t time_ms = 0;
};

// Demultiplexer tests on the capture card: each stream is built into a transport stream
// file of the test's own, which the card replays. The trace lines a test produced are kept.
class DemuxTest : public ::testing::Test {
  protected:
    DemuxTest();
    ~DemuxTest() override;

    // A device whose capture card replays the stream, flat out or in real time.
    dvb_device& device(const std::vector<stream_section>& stream, bool realtime = false);
    // A device whose capture card replays a capture file.
    dvb_device& capture_device(const std::string& path, bool realtime = false);
    // A device over a fake card, which `card` is set to, that the test drives itself.
    dvb_device& fake_device(fake_card*& card);

    // How many trace lines are exactly `text`.
    long traced(const std::string& text);

    // Sections back to back on one PID.
    static std::vector<stream_section> on_pid(std::uint16_t pid, const std::vector<bytes>& sections);

  private:
    trace_lines trace_{4};
    std::filesystem::path folder_;
    int files_ = 0;
    std::unique_ptr<dvb_device_techotrend> device_;
};

}  // namespace kestrel::testing
