#pragma once

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "device/dvb_device_techotrend.h"
#include "log/testing/trace_lines.h"
#include "scan/si_reader.h"
#include "settings/memory_store.h"
#include "ts/stream_builder.h"

namespace kestrel::testing {

// The progress as a test reads it: per collection the names of its rows ("BAT+CAT"), the
// messages and the exit codes of done. first_bytes runs on the delivery thread at the
// first delivery of a row.
class recorded_progress final : public scan_progress {
  public:
    void show_stream(const stream_texts&) override {}
    void add_row(int row, std::string_view name, int pid) override;
    void add_bytes(int row, std::int32_t length) override;
    void clear_rows() override;
    void message(std::string_view text) override { messages.emplace_back(text); }
    void note(std::string_view text) override { notes.emplace_back(text); }
    void done(int exit_code) override { exits.push_back(exit_code); }

    std::vector<std::string> collections;
    std::vector<std::string> messages;
    std::vector<std::string> notes;
    std::vector<int> exits;
    std::function<void(const std::string& row_name)> first_bytes;

  private:
    std::vector<std::string> rows_;
    std::atomic<bool> seen_[row_count] = {};
};

// Scans on capture cards: the demo network, real captures and streams of the test's own.
class ScanTest : public ::testing::Test {
  private:
    trace_lines trace_{2};

  protected:
    ScanTest();
    ~ScanTest() override;

    static std::string demo_file(const std::string& name);
    // A device on the capture or manifest, with the committed DiSEqC switch, tuned.
    dvb_device_techotrend& open(const std::string& path, double ghz, int polarisation, unsigned long ksymbols,
                                unsigned long position = 0, bool realtime = false);
    // A device on a cable or terrestrial manifest, tuned to `mhz` as the frontend's
    // first-generation system.
    dvb_device_techotrend& open_ground(const std::string& path, double mhz);
    // A file of the test's own in its folder.
    std::string write_file(const std::string& name, const std::vector<std::uint8_t>& bytes);
    // A stream of carousels at 1 Mbit/s; the sections of `middle` are sent once, half-way.
    std::string write_stream(const std::vector<ts::carousel>& carousels, std::uint32_t duration_ms = 2000,
                             const ts::carousel& middle = {});

    int scan(std::int32_t mode, const table_selection& tables);
    long traced(const std::string& text);

    memory_store settings;
    CSatelliteList satellites;
    recorded_progress progress;
    AllNetworks networks;
    std::unique_ptr<dvb_device_techotrend> device;

  private:
    void make_device(const std::string& path, bool realtime);

    std::filesystem::path folder_;
};

}  // namespace kestrel::testing
