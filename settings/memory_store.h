#pragma once

#include <map>
#include <string>
#include <utility>

#include "settings/settings_store.h"

namespace kestrel {

// The settings store's in-memory twin for tests: values live in a map, integers and
// strings apart as in the registry; nothing is ever written anywhere.
class memory_store final : public settings_store {
  public:
    std::int32_t read_int(std::string_view group, std::string_view key, std::int32_t fallback) override;
    std::string read_string(std::string_view group, std::string_view key, std::string_view fallback) override;
    void write_int(std::string_view group, std::string_view key, std::int32_t value) override;
    void write_string(std::string_view group, std::string_view key, std::string_view value) override;
    bool sync() override { return true; }
    std::string status() override { return ""; }
    std::string location() override { return "memory"; }

    // True when the key has been written.
    bool contains(std::string_view group, std::string_view key) const;

  private:
    using name = std::pair<std::string, std::string>;
    std::map<name, std::int32_t> ints_;
    std::map<name, std::string> strings_;
};

}  // namespace kestrel
