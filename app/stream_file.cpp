#include "app/stream_file.h"

#include <QDir>
#include <QStandardPaths>

#include "log/trace_log.h"

namespace kestrel::app {

QString documents_file(const QString& name) {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty()) {
        global_trace().log(4, "no documents folder: the home folder is used");
        folder = QDir::homePath();
    }
    return folder + QLatin1Char('/') + name;
}

QString default_stream_file() {
    return documents_file(QStringLiteral("stream.bin"));
}

QString read_stream_file(settings_store& settings, const settings::string_key& key) {
    const std::string stored = settings::read(settings, key);
    return stored.empty() ? default_stream_file() : QString::fromStdString(stored);
}

void write_stream_file(settings_store& settings, const settings::string_key& key, const QString& file) {
    settings::write(settings, key, file.toStdString());
}

}  // namespace kestrel::app
