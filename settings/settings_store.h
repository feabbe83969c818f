#pragma once

// The settings store: what the user sets, kept between runs. Toolkit-free code reads and
// writes every setting through this interface; the programs give it the QSettings store
// (the user's, or an INI file named by --settings), tests the in-memory twin.
//
// Conventions: a setting is a group and a key ("DISQ"/"LOF1"); integers are 32-bit, the
// others strings. A missing key reads as the default the caller passes (settings/keys.h
// names every key with its default). Values are read again each time they are needed, so
// a change takes effect at the next read. Writes may be cached: sync() writes them out and
// reads what others wrote; status() then says whether the store could be read and written.
// One thread at a time (the user interface, or the scan worker while the interface waits).

#include <cstdint>
#include <string>
#include <string_view>

namespace kestrel {

class settings_store {
  public:
    virtual ~settings_store() = default;

    virtual std::int32_t read_int(std::string_view group, std::string_view key, std::int32_t fallback) = 0;
    virtual std::string read_string(std::string_view group, std::string_view key,
                                    std::string_view fallback) = 0;
    virtual void write_int(std::string_view group, std::string_view key, std::int32_t value) = 0;
    virtual void write_string(std::string_view group, std::string_view key, std::string_view value) = 0;

    // Writes what is cached and reads what changed; false when the store could not be read
    // or written, status() then says why.
    virtual bool sync() = 0;
    // "" while the store is fine, otherwise a one-line reason naming the store.
    virtual std::string status() = 0;
    // Where the store lives, for messages ("/home/u/.config/Tidewell/kestrel.conf").
    virtual std::string location() = 0;
};

}  // namespace kestrel
