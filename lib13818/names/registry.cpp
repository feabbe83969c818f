#include "lib13818/names/registry.h"

namespace lib13818 {

Registry::Registry(std::vector<RegistryRow> rows) : rows_(std::move(rows)) {
    for (std::size_t i = 0; i < rows_.size(); ++i)
        index_.insert_or_assign(rows_[i].id, i);
}

const char* Registry::name(int32_t id) const {
    const auto it = index_.lower_bound(id);
    if (it == index_.end() || it->first != id) return "<unknown>";
    return rows_[it->second].name.c_str();
}

namespace {
struct Registries {
    Registry original_networks;
    Registry ca_systems;
};

Registries& registries() {
    static Registries all;
    return all;
}
}  // namespace

void build_registries(std::vector<RegistryRow> original_network_rows,
                      std::vector<RegistryRow> ca_system_rows) {
    registries() = {Registry(std::move(original_network_rows)), Registry(std::move(ca_system_rows))};
}

const char* original_network_name(int32_t original_network_id) {
    return registries().original_networks.name(original_network_id);
}

const char* ca_system_name(int32_t ca_system_id) {
    return registries().ca_systems.name(ca_system_id);
}

}  // namespace lib13818
