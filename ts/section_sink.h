#pragma once

#include <cstdint>
#include <span>
#include <type_traits>
#include <utility>

namespace kestrel::ts {

// Where complete sections go: a non-owning reference to any callable taking (pid, section).
// The section's bytes are valid only during the call; a receiver that keeps them copies them.
class section_sink {
  public:
    template <class F>
    requires std::is_invocable_v<F&, std::uint16_t, std::span<const std::uint8_t>> &&
        (!std::is_same_v<std::remove_cvref_t<F>, section_sink>)
            section_sink(F&& f)  // NOLINT: implicit, so that a lambda can be passed as it stands
        : object_(const_cast<void*>(static_cast<const void*>(&f))),
          call_([](void* object, std::uint16_t pid, std::span<const std::uint8_t> section) {
              (*static_cast<std::remove_reference_t<F>*>(object))(pid, section);
          }) {}

    void operator()(std::uint16_t pid, std::span<const std::uint8_t> section) const {
        call_(object_, pid, section);
    }

  private:
    void* object_;
    void (*call_)(void*, std::uint16_t, std::span<const std::uint8_t>);
};

}  // namespace kestrel::ts
