#include "views/described_names.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <map>
#include <mutex>
#include <tuple>

namespace kestrel::views {

namespace {

std::string spelt(std::string_view name, int (*to_case)(int)) {
    std::string out(name);
    for (char& c : out)
        c = c == '-' ? '_' : static_cast<char>(to_case(static_cast<unsigned char>(c)));
    return out;
}

constexpr std::string_view descriptor_suffix = "_descriptor";

std::tuple<int, int, std::uint32_t> order_of(const lib::description& d) {
    return {d.tag, d.extension, d.private_data_specifier};
}

}  // namespace

std::string_view row_name(const char* name) {
    static std::mutex guard;
    static std::map<std::string_view, std::string> names;
    const std::lock_guard lock(guard);
    auto [at, added] = names.try_emplace(name);
    if (added) at->second = spelt(name, std::toupper);
    return at->second;
}

std::string singular_node(const char* name) {
    return spelt(name, std::toupper);
}

std::string plural_node(const char* name) {
    return spelt(name, std::toupper) + "S";
}

std::string json_key(const lib::description& d) {
    std::string_view name = d.name;
    if (name.ends_with(descriptor_suffix)) name.remove_suffix(descriptor_suffix.size());
    return spelt(name, std::tolower);
}

std::string json_key(const lib::field& f) {
    std::string key = spelt(f.json_name != nullptr ? f.json_name : f.name, std::tolower);
    if (f.measure != nullptr && *f.measure->json_suffix != '\0')
        key.append("_").append(f.measure->json_suffix);
    return key;
}

const lib::field* sole_field(const lib::record& r) {
    const lib::field* sole = nullptr;
    for (const lib::field& f : r.fields) {
        if (f.kind == lib::field_kind::reserved) continue;
        if (sole != nullptr || f.kind == lib::field_kind::loop || f.kind == lib::field_kind::group)
            return nullptr;
        sole = &f;
    }
    return sole;
}

std::vector<described_kind> kinds_of(const std::vector<lib::DescriptorDescribed>& described) {
    std::vector<described_kind> kinds;
    for (const lib::DescriptorDescribed& d : described) {
        auto kind = std::find_if(kinds.begin(), kinds.end(), [&](const described_kind& k) {
            return std::strcmp(k.what->name, d.what->name) == 0;
        });
        if (kind == kinds.end()) kind = kinds.insert(kinds.end(), {d.what, {}});
        kind->members.push_back(&d);
    }
    std::stable_sort(kinds.begin(), kinds.end(), [](const described_kind& a, const described_kind& b) {
        return order_of(*a.what) < order_of(*b.what);
    });
    return kinds;
}

}  // namespace kestrel::views
