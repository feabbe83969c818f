#pragma once

// Where the guide's sections come from: a card, or a capture file read directly.
//
// card_collection sets three section filters on the card (EIT on PID 0x12, SDT on 0x11,
// TDT and TOT on 0x14) and feeds what they deliver into the store until the store is
// complete, `seconds` of the card's clock have passed, a capture card has played its file
// once, or cancel() comes.
//
// Threads: run() blocks its caller (a worker; the CLI's main thread). The filters' callback
// runs on the card's delivery thread and only feeds the store; when the store becomes
// complete it stops every filter, which does not wait there. cancel() may come from any
// thread at any moment, also while the filters are being added; it never waits. The
// store's counters can be polled meanwhile; its sections are read after run() returned.

#include <atomic>
#include <cstdint>
#include <string>

#include "device/dvb_device.h"
#include "epg/section_store.h"

namespace kestrel::epg {

inline constexpr std::uint32_t default_seconds = 60;

class card_collection {
  public:
    enum class ending { complete, stopped, cancelled, refused };

    card_collection(dvb_device& device, section_store& store, std::uint32_t seconds = default_seconds);
    card_collection(const card_collection&) = delete;
    card_collection& operator=(const card_collection&) = delete;

    // complete: the store is; stopped: time or the capture's pass ran out first; cancelled;
    // refused: the device set none of the filters.
    ending run();
    void cancel();

  private:
    static void on_section(void* context, std::int32_t length, const std::uint8_t* data);

    dvb_device& device_;
    section_store& store_;
    std::uint32_t seconds_;
    std::atomic<bool> cancelled_{false};
    std::atomic<bool> completed_{false};
};

// The guide's sections of a capture file, in one pass; "" or the reason it could not be
// read (naming the file).
std::string read_capture(const std::string& path, section_store& store);

}  // namespace kestrel::epg
