#include "device/capture/diseqc_switch.h"

#include "device/card.h"

namespace kestrel {

namespace {
constexpr std::uint8_t command_reset = 0x00;
constexpr std::uint8_t command_write_n0 = 0x38;  // the committed switch
}  // namespace

void diseqc_switch::receive(std::span<const std::uint8_t> message, std::uint8_t burst) {
    // Framing bytes E0..E3: a command from the master, first or repeated, reply or not.
    if (message.size() >= 3 && (message[0] & 0xFC) == 0xE0) {
        if (message[2] == command_reset)
            position_ = 0;
        else if (message[2] == command_write_n0 && message.size() >= 4)
            position_ = (message[3] >> 2) & 0x03;
    }
    if (burst == diseqc_burst::mini_a)
        position_ = 0;
    else if (burst == diseqc_burst::mini_b)
        position_ = 1;
}

}  // namespace kestrel
