#include "channels/channel_list.h"

#include <sstream>

#include "channels/channel_collection.h"
#include "channels/vdr_writer.h"
#include "dbexport/replacement_file.h"
#include "settings/keys.h"

namespace kestrel::channels {

bool parse_channel_format(std::string_view text, channel_format& format) {
    if (text == "dvbv5") {
        format = channel_format::dvbv5;
    } else if (text == "vdr") {
        format = channel_format::vdr;
    } else {
        return false;
    }
    return true;
}

lnb_oscillators stored_lnb(settings_store& store) {
    return {settings::read(store, settings::lof1), settings::read(store, settings::lof2),
            settings::read(store, settings::switch_khz)};
}

std::string write_channel_list(const std::string& path, const AllNetworks& networks, channel_format format,
                               const lnb_oscillators& lnb, std::size_t& written) {
    const std::vector<channel_entry> entries = collect_channels(networks);
    // Formatted before the file is made, so that a list the format cannot hold leaves no trace.
    std::ostringstream text;
    try {
        if (format == channel_format::vdr)
            write_vdr(text, entries);
        else
            write_dvbv5(text, entries, lnb);
    } catch (const channel_list_error& e) {
        return e.what();
    }
    const std::string failure =
        dbexport::write_whole_file(path, [&text](std::ostream& out) { out << text.str(); });
    if (failure.empty()) written = entries.size();
    return failure;
}

}  // namespace kestrel::channels
