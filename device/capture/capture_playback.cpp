#include "device/capture/capture_playback.h"

#include "log/event_log.h"

namespace kestrel {

std::string capture_playback::open(const std::string& path) {
    path_ = path;
    if (std::string error = file_.open(path); !error.empty()) return error;
    scanner_ = ts::packet_scanner(file_.format());
    event_log(3, "capture %s: %llu bytes, %zu-byte packets", path.c_str(),
              static_cast<unsigned long long>(file_.size()), file_.format().stride);
    return {};
}

void capture_playback::loop() {
    if (!file_.error().empty()) event_log(1, "%s", file_.error().c_str());
    if (scanner_.skipped_bytes() > 0)
        event_log(2, "capture %s: %llu bytes skipped to regain sync", path_.c_str(),
                  static_cast<unsigned long long>(scanner_.skipped_bytes()));
    skipped_total_ += scanner_.skipped_bytes();
    file_.rewind();
    scanner_ = ts::packet_scanner(file_.format());
    have_block_ = false;
    want_all_ = false;
}

}  // namespace kestrel
