#include "app/channel_list_command.h"

#include "app/message_box.h"
#include "app/stream_file.h"
#include "channels/channel_list.h"
#include "settings/keys.h"

namespace kestrel::app {

namespace {

const QString dvbv5_filter = QStringLiteral("dvbv5 channel files (*.conf)");
const QString vdr_filter = QStringLiteral("VDR channels.conf (*.conf)");

}  // namespace

void export_channel_list(const AllNetworks& networks, settings_store& settings, file_chooser& files,
                         QWidget* parent) {
    const std::string stored = settings::read(settings, settings::channelfile);
    QString filter;
    const QString path = files.save_file(
        {stored.empty() ? documents_file(QStringLiteral("channels.conf")) : QString::fromStdString(stored),
         QStringLiteral("conf"),
         {dvbv5_filter, vdr_filter},
         &filter},
        parent);
    if (path.isEmpty()) return;
    settings::write(settings, settings::channelfile, path.toStdString());
    const channels::channel_format format =
        filter == vdr_filter ? channels::channel_format::vdr : channels::channel_format::dvbv5;
    std::size_t written = 0;
    const std::string error = channels::write_channel_list(path.toStdString(), networks, format,
                                                           channels::stored_lnb(settings), written);
    if (!error.empty())
        return show_message(parent, QStringLiteral("The channel list was not written to %1:\n%2")
                                        .arg(path, QString::fromStdString(error)));
    show_message(parent, QStringLiteral("%1 channels were written to %2").arg(written).arg(path),
                 QMessageBox::Information);
}

}  // namespace kestrel::app
