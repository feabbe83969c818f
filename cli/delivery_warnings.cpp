#include "cli/delivery_warnings.h"

namespace kestrel::cli {

void warn_delivery_faults(std::FILE* out, const char* command, dvb_device& device) {
    const delivery_faults faults = device.faults();
    if (faults.overflows > 0)
        std::fprintf(out,
                     "kestrel-cli %s: warning: the card's demux buffer ran over %llu times: data were lost\n",
                     command, static_cast<unsigned long long>(faults.overflows));
    if (faults.lock_losses > 0)
        std::fprintf(out, "kestrel-cli %s: warning: the frontend lost lock %llu times: data are missing\n",
                     command, static_cast<unsigned long long>(faults.lock_losses));
}

}  // namespace kestrel::cli
