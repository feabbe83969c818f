#include "model/section_maps.h"

#include <algorithm>
#include <utility>

#include "lib13818/core/section.h"

namespace kestrel {

std::vector<std::uint8_t> received_section(std::span<const std::uint8_t> received) {
    const std::size_t size =
        std::min(lib13818::section_size(received.data(), received.size()), received.size());
    return {received.begin(), received.begin() + static_cast<std::ptrdiff_t>(size)};
}

// table_id_extension is the network_id of a NIT, the transport_stream_id of an SDT and
// the service_id of an EIT.

void file_section(NitMap& map, with_bytes<lib13818::Nit> nit) {
    const int section = nit.section_number;
    map[nit.table_id_extension].insert_or_assign(section, std::move(nit));
}

void file_section(SdtMap& map, with_bytes<lib13818::Sdt> sdt) {
    const int section = sdt.section_number;
    map[sdt.original_network_id][sdt.table_id_extension].insert_or_assign(section, std::move(sdt));
}

void file_section(EitMap& map, with_bytes<lib13818::Eit> eit) {
    const int section = eit.section_number;
    map[eit.original_network_id][eit.transport_stream_id][eit.table_id_extension].insert_or_assign(
        section, std::move(eit));
}

}  // namespace kestrel
