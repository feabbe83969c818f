#include "lib13818/names/ca_provider_names.h"

namespace lib13818 {

const char* ca_provider_name(int32_t CA_system_ID) {
    switch (CA_system_ID >> 8) {
        case 0x01:
            return "Canal Plus";
        case 0x05:
            return "France Telecom";
        case 0x06:
            return "Irdeto";
        case 0x09:
            return "News Datacom";
        case 0x0B:
            return "Norwegian Telekom";
        case 0x0D:
            return "Philips";
        case 0x17:
            return "BetaTechnik";
        default:
            return "unknown provider";
    }
}

}  // namespace lib13818
