#pragma once

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "ts/packet.h"

namespace kestrel::analysis {

// State per PID made when a PID first needs it: an index per PID and the states of the PIDs
// seen. A stream uses a few dozen of the 8192 PIDs, so a new analysis clears and touches
// a few kilobytes instead of a full array of states. References stay valid until the next
// PID is added.
template <class T>
class pid_table {
  public:
    T& operator[](std::uint16_t pid) {
        std::uint16_t& at = index_[pid];
        if (at == 0) [[unlikely]] {
            states_.emplace_back();
            at = static_cast<std::uint16_t>(states_.size());
        }
        return states_[at - 1];
    }
    // The PID's state, or a fresh one for a PID that never needed any.
    const T& operator[](std::uint16_t pid) const {
        static const T fresh{};
        const std::uint16_t at = index_[pid];
        return at == 0 ? fresh : states_[at - 1];
    }
    // The states made, in no particular order.
    std::span<T> all() { return states_; }
    std::span<const T> all() const { return states_; }

  private:
    std::array<std::uint16_t, ts::pid_count> index_{};  // 1 + index into states_, 0 for none
    std::vector<T> states_;
};

}  // namespace kestrel::analysis
