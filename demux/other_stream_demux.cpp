#include "demux/other_stream_demux.h"

#include <cstdint>

namespace kestrel {

namespace {

constexpr std::uint8_t full_mask = 0xFF;

}  // namespace

void sdt_other_demux::add_sdt_other(SdtMap& result, FilterCallback callback, void* context) {
    static constexpr std::uint8_t sdt_other = 0x46;
    result_ = &result;
    add_psi_handler(0x11, &sdt_other, &full_mask, &result, 1, callback, context);
}

void nit_other_demux::add_nit_other(NitMap& result, FilterCallback callback, void* context) {
    static constexpr std::uint8_t nit_other = 0x41;
    result_ = &result;
    add_psi_handler(0x10, &nit_other, &full_mask, &result, 1, callback, context);
}

}  // namespace kestrel
