#pragma once

#include <cstdint>

namespace kestrel::analysis {

// The continuity_counter of one PID (ISO/IEC 13818-1): +1 for each packet with payload; one
// duplicate of a payload packet allowed; a discontinuity_indicator allows any value. The
// first packet only sets the state. A packet without payload does not advance the counter and
// is not checked: muxers differ in the value they give it (the last one or the next one), and
// a loss shows at the next payload packet anyway.
class continuity_state {
  public:
    enum class verdict : std::uint8_t { in_order, jump, extra_copy };
    struct outcome {
        verdict what = verdict::in_order;
        std::uint8_t lost = 0;  // packets missing in a jump
    };

    outcome next(std::uint8_t counter, bool payload, bool discontinuity) {
        const int last = last_;
        if (!payload) {
            // After a discontinuity without payload the next payload packet starts afresh.
            if (discontinuity) last_ = -1;
            return {};
        }
        if (counter == ((last + 1) & 0x0F) && last >= 0 && !discontinuity) [[likely]] {
            last_ = counter;
            copy_seen_ = false;
            return {};
        }
        return irregular(counter, discontinuity);
    }

    // The counter that the next payload packet carries when in order, -1 before the first one.
    int expected() const { return last_ < 0 ? -1 : (last_ + 1) & 0x0F; }
    // Payload packets without discontinuity_indicator came in order, the last with `counter`.
    void followed(std::uint8_t counter) {
        last_ = counter;
        copy_seen_ = false;
    }

  private:
    // A first packet, a discontinuity, a copy or a jump.
    outcome irregular(std::uint8_t counter, bool discontinuity);

    int last_ = -1;
    bool copy_seen_ = false;
};

}  // namespace kestrel::analysis
