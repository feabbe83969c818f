#pragma once

#include "app/file_chooser.h"
#include "model/scan_result.h"
#include "settings/settings_store.h"

class QWidget;

namespace kestrel::app {

// "Export channel list..." (File menu): the save dialog offering the dvbv5 and the VDR
// format, opening on the list written last ("General"/"channelfile", else channels.conf in
// the documents folder); then the scan result's list in the chosen format, replacing the
// file whole, and a message saying how many channels went where, or why none did.
void export_channel_list(const AllNetworks& networks, settings_store& settings, file_chooser& files,
                         QWidget* parent);

}  // namespace kestrel::app
