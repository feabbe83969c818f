#pragma once

// The file a recording goes to when the user has chosen none yet: "stream.bin" in the
// personal documents folder. The streaming dialogs keep the last choice under "pidfile"
// (one PID) and "mulpidfile" (the base name of several).

#include <QString>

#include "settings/keys.h"
#include "settings/settings_store.h"

namespace kestrel::app {

// `name` in the personal documents folder (the home folder when there is none).
QString documents_file(const QString& name);
QString default_stream_file();

// The stored file name of `key`, or the default when none is stored.
QString read_stream_file(settings_store& settings, const settings::string_key& key);
void write_stream_file(settings_store& settings, const settings::string_key& key, const QString& file);

}  // namespace kestrel::app
