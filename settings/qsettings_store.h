#pragma once

// The settings store the programs use: QSettings, either the user's store (organisation
// "Tidewell", application "kestrel", native format: ~/.config/Tidewell/kestrel.conf on
// Linux, the registry on Windows) shared by the desktop program and kestrel-cli, or an INI
// file a caller names.
//
// A file that cannot be read or parsed when the store opens is said by status() from the
// start and is never written: what Qt understood of it is still read, changes stay in
// memory for this run, so that a hand-edited file is not replaced by what Qt made of it.

#include <memory>
#include <string>

#include "settings/memory_store.h"
#include "settings/settings_store.h"

class QSettings;

namespace kestrel {

class qsettings_store final : public settings_store {
  public:
    // The user's store.
    qsettings_store();
    // The INI file at `ini_path` (created at the first sync that has something to write).
    explicit qsettings_store(const std::string& ini_path);
    ~qsettings_store() override;
    qsettings_store(const qsettings_store&) = delete;
    qsettings_store& operator=(const qsettings_store&) = delete;

    std::int32_t read_int(std::string_view group, std::string_view key, std::int32_t fallback) override;
    std::string read_string(std::string_view group, std::string_view key, std::string_view fallback) override;
    void write_int(std::string_view group, std::string_view key, std::int32_t value) override;
    void write_string(std::string_view group, std::string_view key, std::string_view value) override;
    bool sync() override;
    std::string status() override;
    std::string location() override;

  private:
    explicit qsettings_store(std::unique_ptr<QSettings> settings);

    std::unique_ptr<QSettings> settings_;
    std::string unreadable_;  // why the file could not be read when opened; writes then stay in `unsaved_`
    memory_store unsaved_;
};

}  // namespace kestrel
