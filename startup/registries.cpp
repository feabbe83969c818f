#include "startup/registries.h"

#include <fstream>
#include <string>

#include "lib13818/names/registry.h"
#include "log/log_location.h"
#include "startup/data_directory.h"
#include "startup/registry_csv.h"

namespace kestrel::startup {

namespace {

// The rows of one registry file; its name is added to `missing` when no data folder has it.
std::vector<lib13818::RegistryRow> read_registry(const std::vector<std::filesystem::path>& directories,
                                                 const char* file_name, trace_log& trace,
                                                 std::string& missing) {
    const std::filesystem::path path =
        find_data_file(directories, std::filesystem::path("registries") / file_name);
    std::ifstream in;
    if (!path.empty()) in.open(path);
    if (!in.is_open()) {
        missing += missing.empty() ? file_name : std::string(", ") + file_name;
        return {};
    }
    RegistryFile file = read_registry_csv(in);
    if (file.skipped > 0)
        trace.log(1, "registry %s: %d rows not readable, skipped", path.c_str(), file.skipped);
    trace.log(2, "registry %s: %zu rows", path.c_str(), file.rows.size());
    return std::move(file.rows);
}

}  // namespace

void load_registries(const std::vector<std::filesystem::path>& directories, trace_log& trace) {
    std::string missing;
    auto networks = read_registry(directories, "original_network_id.csv", trace, missing);
    auto ca_systems = read_registry(directories, "ca_system_id.csv", trace, missing);
    lib13818::build_registries(std::move(networks), std::move(ca_systems));
    if (!missing.empty())
        trace.log(1, "registries not found in the data folders: %s (their names are all <unknown>)",
                  missing.c_str());
}

void load_registries() {
    load_registries(data_directories(executable_path()), global_trace());
}

}  // namespace kestrel::startup
