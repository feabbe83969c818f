#include "device/dvb_device.h"

namespace kestrel {

const char* result_meaning(std::uint32_t code) {
    switch (code) {
        case result::ok:
            return "success";
        case result::burst_position:
            return "DiSEqC position out of range for tone burst";
        case result::failed:
            return "the card reported an error, the frontend did not lock, or the position is out of range";
        case result::not_supported:
            return "not supported by this device or frontend type";
        case result::mismatch:
            return "device already initialized, tuner type mismatch, or DiSEqC mode out of range";
        case result::not_initialized:
            return "card not initialized";
        default:
            return "unknown result";
    }
}

}  // namespace kestrel
