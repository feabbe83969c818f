#include <condition_variable>
#include <thread>

#include "device/capture/capture_card.h"
#include "scan/tests/scan_fixture.h"
#include "tools/encode/descriptors.h"
#include "tools/encode/tables.h"

namespace kestrel::testing {
namespace {

using encode::bytes;
using strings = std::vector<std::string>;
constexpr std::int32_t all_tables = 0x7FFF;
constexpr std::int32_t demo_onid = 0x2F00;

TEST_F(ScanTest, ReadsTheDemoStreamInRowOrderAndKeepsTheFirstScan) {
    open(demo_file("demo.manifest"), 12.322, 0, 27800);
    // With no table kept, the first three reads still find the stream; a second scan with
    // every table leaves it as it is.
    EXPECT_EQ(scan(0, table_selection(0)), 0);
    EXPECT_EQ(scan(0, table_selection(all_tables)), 0);
    EXPECT_EQ(progress.collections, (strings{"NIT", "SDT", "PAT", "NIT", "SDT", "PAT"}));
    const Transponder& empty = networks.at(demo_onid).transponders.at(1);
    EXPECT_FALSE(empty.PAT.parsed);
    EXPECT_TRUE(empty.nit_actual.empty());
    EXPECT_TRUE(empty.sdt_actual.empty());

    networks.clear();
    progress.collections.clear();
    EXPECT_EQ(scan(0, table_selection(settings)), 0);
    EXPECT_EQ(progress.collections,
              (strings{"NIT", "SDT", "PAT", "BAT+CAT", "TDT/TOT+RST", "EIT", "SDT", "NIT", "PMT+PMT"}));
    const Transponder& t = networks.at(demo_onid).transponders.at(1);
    EXPECT_EQ(t.label(), "0001 - 12322H 3/4 27800");
    EXPECT_TRUE(t.BAT.parsed && t.CAT.parsed && t.PAT.parsed && t.RST.parsed && t.TDT.parsed && t.TOT.parsed);
    EXPECT_EQ(t.PAT.programs.size(), 3u);  // read twice, kept once
    EXPECT_EQ(t.PMTs.size(), 2u);
    EXPECT_EQ(t.nit_other.size(), 1u);
    EXPECT_EQ(t.sdt_other.at(demo_onid).size(), 5u);  // the other streams of the satellite
    EXPECT_EQ(t.eit_actual_present_following.at(demo_onid).at(1).size(), 2u);
    EXPECT_FALSE(t.eit_other_schedule.empty());
    EXPECT_EQ(traced("nNID=0x2f00 nTID=0x1"), 3);
    EXPECT_EQ(traced("CStreamRootReadDlg::StreamInfo::StreamInfo(1,PMT,0x120,1880)"), 1);
    EXPECT_EQ(progress.exits, (std::vector<int>{0, 0, 0}));
}

// A stream whose NIT does not list it, with programs 1 and 2 on one PMT PID and five more
// programs on PIDs of their own.
std::vector<ts::carousel> pmt_stream() {
    std::vector<encode::pat_program> programs{{0, 0x10}, {1, 0x100}, {2, 0x100}};
    std::vector<bytes> pmts;
    for (std::uint16_t p = 1; p <= 7; ++p) {
        if (p > 2) programs.push_back({p, static_cast<std::uint16_t>(0x100 + p - 2)});
        pmts.push_back(encode::pmt_section({0x02, p, 0, 0, 0}, 0x1FF0, {}, {}));
    }
    std::vector<ts::carousel> stream{
        {0x00, {encode::pat_section({0x00, 0x42, 0, 0, 0}, programs)}, 100},
        {0x10, {encode::network_section({0x40, 0x3001, 0, 0, 0}, {}, {{0x77, 0x3000, {}}})}, 100},
        {0x11, {encode::sdt_section({0x42, 0x42, 0, 0, 0}, 0x3000, {})}, 100},
        {0x100, {pmts[0], pmts[1]}, 100}};
    for (std::size_t p = 2; p < pmts.size(); ++p)
        stream.push_back({static_cast<std::uint16_t>(0x100 + p - 1), {pmts[p]}, 100});
    return stream;
}

TEST_F(ScanTest, ReadsThePmtsFourPidsAtATimeAndTakesTheTuningFromTheTuner) {
    open(write_stream(pmt_stream()), 11.778, 1, 27500);
    EXPECT_EQ(scan(0, table_selection(table_pat | table_pmt)), 0);
    EXPECT_EQ(progress.collections, (strings{"NIT", "SDT", "PAT", "PMT+PMT+PMT+PMT", "PMT+PMT"}));
    const Transponder& t = networks.at(0x3000).transponders.at(0x42);
    EXPECT_EQ(t.PMTs.size(), 7u);
    EXPECT_EQ(t.label(), "0042 - 11778V AUTO 27500");
    EXPECT_EQ(traced("current TS not found in NIT - using tuner parameters"), 1);

    // Without the PAT kept and without the RST's second PAT read there is no PMT to read.
    networks.clear();
    progress.collections.clear();
    EXPECT_EQ(scan(0, table_selection(table_pmt)), 0);
    EXPECT_EQ(progress.collections, (strings{"NIT", "SDT", "PAT"}));
    EXPECT_TRUE(networks.at(0x3000).transponders.at(0x42).PMTs.empty());
}

TEST_F(ScanTest, ATransportStreamTheNitDoesNotListIsLabelledByItsSystemFromTheReadBack) {
    const std::string file = write_stream(pmt_stream());
    const std::string manifest = "frontend dvb-t\n- 474000 - 0 system=dvb-t2 stream=0 " + file + "\n";
    std::string error;
    device = std::make_unique<dvb_device_techotrend>(capture_card::create(
        {write_file("t2.manifest", {manifest.begin(), manifest.end()}), false, 0}, error));
    ASSERT_EQ(device->init(), result::ok) << error;
    TUNERPARM t{3, 474.0, 0, 1, 2, 0, 0, 0, {}};  // 8 MHz by the seed's word
    t.delivery.system = lib13818::DeliverySystem::dvb_t2;
    ASSERT_EQ(device->set_tuner(t), result::ok);
    EXPECT_EQ(scan(0, table_selection(table_pat)), 0);
    const Transponder& tp = networks.at(0x3000).transponders.at(0x42);
    EXPECT_EQ(tp.label(), "0042 - 474.000 MHz 8 MHz T2 PLP 0");
    EXPECT_EQ(tp.delivery.bandwidth_hz, 8000000);
}

TEST_F(ScanTest, CancelOnTheFirstEitBytesEndsThatCollectionOnly) {
    // One EIT section half-way through three seconds of stream played in real time: only a
    // cancel ends its collection before the whole stream has been played; every other
    // table repeats.
    std::vector<ts::carousel> stream = pmt_stream();
    stream[1].sections.push_back(encode::network_section({0x41, 0x3002, 0, 0, 0}, {}, {}));
    stream[2].sections.push_back(encode::sdt_section({0x46, 0x43, 0, 0, 0}, 0x3000, {}));
    const ts::carousel eit{0x12, {encode::eit_section({0x50, 1, 0, 0, 0}, {0x42, 0x3000, 0, 0x50}, {})}};
    open(write_stream(stream, 3000, eit), 11.778, 1, 27500, 0, true);
    std::mutex lock;
    std::condition_variable wake;
    bool eit_arrived = false;
    progress.first_bytes = [&](const std::string& row) {
        if (row != "EIT") return;
        std::lock_guard hold(lock);
        eit_arrived = true;
        wake.notify_one();
    };
    si_reader reader(*device, settings, satellites,
                     table_selection(table_pat | table_pmt | table_sdt_other | table_nit_other |
                                     table_eit_actual_schedule),
                     progress);
    std::thread user([&] {
        std::unique_lock hold(lock);
        wake.wait(hold, [&] { return eit_arrived; });
        reader.cancel();
    });
    EXPECT_EQ(reader.run(networks, 0), 0);
    user.join();
    EXPECT_EQ(progress.collections,
              (strings{"NIT", "SDT", "PAT", "EIT", "SDT", "NIT", "PMT+PMT+PMT+PMT", "PMT+PMT"}));
    EXPECT_EQ(traced("nokia_dvb2000_demux2::timerproc()"), 0);
    EXPECT_EQ(traced("CSIReaderDlg::OnCancel()"), 1);
    const Transponder& t = networks.at(0x3000).transponders.at(0x42);
    EXPECT_EQ(t.eit_actual_schedule.at(0x3000).at(0x42).at(1).size(), 1u);
    EXPECT_EQ(t.sdt_other.at(0x3000).count(0x43), 1u);
    EXPECT_EQ(t.nit_other.count(0x3002), 1u);
    EXPECT_EQ(t.PMTs.size(), 7u);
}

}  // namespace
}  // namespace kestrel::testing
