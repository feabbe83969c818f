#pragma once

// Which PSI/SI tables a scan reads: one bit per table in the setting "table"/"enable".

#include <cstdint>
#include <optional>

#include "settings/settings_store.h"

namespace kestrel {

// The bits of "table"/"enable".
enum table_bit : std::int32_t {
    table_pat = 0x0001,
    table_cat = 0x0002,
    table_bat = 0x0004,
    table_pmt = 0x0008,
    table_nit_actual = 0x0010,
    table_nit_other = 0x0020,
    table_eit_actual_present_following = 0x0040,
    table_eit_other_present_following = 0x0080,
    table_eit_actual_schedule = 0x0100,
    table_eit_other_schedule = 0x0200,
    table_sdt_actual = 0x0400,
    table_sdt_other = 0x0800,
    table_rst = 0x1000,
    table_tdt = 0x2000,
    table_tot = 0x4000,
};

// The tables chosen: the stored mask, read again at every test with the bit itself as the
// default (with nothing stored every table is read), or a mask given for one run that is
// never written.
class table_selection {
  public:
    explicit table_selection(settings_store& store) : store_(&store) {}
    explicit table_selection(std::int32_t mask) : mask_(mask) {}

    bool enabled(table_bit bit) const;

  private:
    settings_store* store_ = nullptr;
    std::optional<std::int32_t> mask_;
};

}  // namespace kestrel
