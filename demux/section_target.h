#pragma once

#include <cstddef>
#include <cstdint>
#include <variant>
#include <vector>

#include "lib13818/core/section.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/sdt.h"
#include "model/section_maps.h"

namespace kestrel {

// Where a single-section handler delivers its section: any table of the library, in the
// long or the short section form (a PAT, a BAT, a TDT, ...), or nowhere.
class section_target {
  public:
    section_target() = default;
    section_target(std::nullptr_t) {}
    section_target(lib13818::Section* table) : long_form_(table) {}
    section_target(lib13818::ShortSection* table) : short_form_(table) {}
    // A table that keeps the bytes of its section beside it.
    template <class Table>
    section_target(with_bytes<Table>* table) : section_target(static_cast<Table*>(table)) {
        bytes_ = &table->bytes;
    }

    explicit operator bool() const { return long_form_ != nullptr || short_form_ != nullptr; }
    const void* address() const {
        return long_form_ != nullptr ? static_cast<const void*>(long_form_) : short_form_;
    }
    // The long-form table, or null.
    const lib13818::Section* long_form() const { return long_form_; }
    // Parses the section into the table, and keeps its bytes when the table keeps them;
    // throws lib13818::error.
    void parse(const std::uint8_t* section, std::size_t length) const {
        if (long_form_ != nullptr) long_form_->parse(section, length);
        if (short_form_ != nullptr) short_form_->parse(section, length);
        if (bytes_ != nullptr) *bytes_ = received_section({section, length});
    }

  private:
    lib13818::Section* long_form_ = nullptr;
    lib13818::ShortSection* short_form_ = nullptr;
    std::vector<std::uint8_t>* bytes_ = nullptr;
};

// The list a multi-section handler parses its sections into, by table: PMT (only the
// first section), NIT, SDT or PAT (every section). Empty for a single-section handler.
using typed_target = std::variant<std::monostate, PmtList*, std::vector<with_bytes<lib13818::Nit>>*,
                                  std::vector<with_bytes<lib13818::Sdt>>*, PatList*>;

}  // namespace kestrel
