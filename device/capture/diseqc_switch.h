#pragma once

#include <cstdint>
#include <span>

namespace kestrel {

// The DiSEqC switch in front of a capture card's LNBs: follows the messages and bursts
// the card sends and keeps the position they select.
//   reset (framing E0-E3, command 00):          position 0
//   committed switch (command 38, one data byte): the position bits 2 and 3 of that byte
//   tone burst 0 / 1 (mini A / mini B):         position 0 / 1
// Anything else leaves the position as it was.
class diseqc_switch {
  public:
    void receive(std::span<const std::uint8_t> message, std::uint8_t burst);
    int position() const { return position_; }

  private:
    int position_ = 0;
};

}  // namespace kestrel
