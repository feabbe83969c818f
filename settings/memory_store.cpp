#include "settings/memory_store.h"

namespace kestrel {

namespace {

std::pair<std::string, std::string> name_of(std::string_view group, std::string_view key) {
    return {std::string(group), std::string(key)};
}

}  // namespace

std::int32_t memory_store::read_int(std::string_view group, std::string_view key, std::int32_t fallback) {
    const auto it = ints_.find(name_of(group, key));
    return it == ints_.end() ? fallback : it->second;
}

std::string memory_store::read_string(std::string_view group, std::string_view key,
                                      std::string_view fallback) {
    const auto it = strings_.find(name_of(group, key));
    return it == strings_.end() ? std::string(fallback) : it->second;
}

void memory_store::write_int(std::string_view group, std::string_view key, std::int32_t value) {
    ints_[name_of(group, key)] = value;
}

void memory_store::write_string(std::string_view group, std::string_view key, std::string_view value) {
    strings_[name_of(group, key)] = std::string(value);
}

bool memory_store::contains(std::string_view group, std::string_view key) const {
    const auto name = name_of(group, key);
    return ints_.count(name) != 0 || strings_.count(name) != 0;
}

}  // namespace kestrel
