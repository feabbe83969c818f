#include "views/service_names.h"

namespace kestrel::views {

const lib13818::DescriptorService* find_service(const SdtMap& sdts, std::int32_t onid, std::int32_t tsid,
                                                std::int32_t service_id) {
    const auto network = sdts.find(onid);
    if (network == sdts.end()) return nullptr;
    const auto stream = network->second.find(tsid);
    if (stream == network->second.end()) return nullptr;
    for (const auto& [number, sdt] : stream->second)
        for (const auto& service : sdt.services)
            if (service.service_id == service_id && !service.service.empty()) return &service.service.front();
    return nullptr;
}

}  // namespace kestrel::views
