#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace lib13818 {

// One allocation of a DVB identifier registry (ETSI TR 101 162): the id and its holder's
// name as single-byte (ISO 8859-1) text.
struct RegistryRow {
    int32_t id = 0;
    std::string name;
};

// An identifier registry: the rows it was built from and an ordered map from id to row.
// When an id appears in several rows, the last one wins.
class Registry {
  public:
    Registry() = default;
    explicit Registry(std::vector<RegistryRow> rows);

    // The name of `id`, or "<unknown>" when the registry does not list it.
    const char* name(int32_t id) const;
    std::size_t size() const { return index_.size(); }

  private:
    std::vector<RegistryRow> rows_;
    std::map<int32_t, std::size_t> index_;
};

// The program's two registries. Start-up builds them once, from rows it read, before any
// thread looks a name up; until then (or without rows) every lookup yields "<unknown>".
void build_registries(std::vector<RegistryRow> original_network_rows,
                      std::vector<RegistryRow> ca_system_rows);
const char* original_network_name(int32_t original_network_id);
const char* ca_system_name(int32_t ca_system_id);

}  // namespace lib13818
