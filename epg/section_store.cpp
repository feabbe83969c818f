#include "epg/section_store.h"

#include <algorithm>

#include "lib13818/core/crc32.h"
#include "lib13818/core/error.h"
#include "lib13818/core/section.h"
#include "lib13818/tables/sdt.h"

namespace kestrel::epg {

namespace {

constexpr std::uint8_t sdt_actual = 0x42, sdt_other = 0x46, tdt = 0x70, tot = 0x73;
constexpr std::uint8_t pf_actual = 0x4E, pf_other = 0x4F, schedule_actual = 0x50, schedule_other = 0x60;
// table_id .. last_table_id and CRC_32: the least an EIT section holds.
constexpr std::size_t eit_minimum = 18;
// table_id .. last_section_number and CRC_32: the least any long-form section holds.
constexpr std::size_t long_form_minimum = 12;
constexpr std::size_t tdt_size = 8;
constexpr int sections_per_segment = 8;

bool is_eit(std::uint8_t table_id) {
    return table_id >= pf_actual && table_id <= 0x6F;
}
bool is_present_following(int table_id) {
    return table_id == pf_actual || table_id == pf_other;
}
int first_table_of_family(int table_id) {
    return is_present_following(table_id) ? table_id
           : table_id < schedule_other    ? schedule_actual
                                          : schedule_other;
}

std::uint16_t u16(std::span<const std::uint8_t> s, std::size_t at) {
    return static_cast<std::uint16_t>((s[at] << 8) | s[at + 1]);
}

std::uint64_t family_key(std::uint16_t onid, std::uint16_t tsid, std::uint16_t service_id, int first_table) {
    return std::uint64_t{onid} << 48 | std::uint64_t{tsid} << 32 | std::uint64_t{service_id} << 16 |
           static_cast<std::uint64_t>(first_table);
}

// An intact long-form section that is in force: syntax indicator set, CRC over it 0,
// current_next_indicator 1.
bool usable_long_form(std::span<const std::uint8_t> s) {
    return s.size() >= long_form_minimum && (s[1] & 0x80) && (s[5] & 0x01) &&
           lib13818::crc32(s.data(), s.size()) == 0;
}

}  // namespace

section_store::section_store(store_options options) : options_(std::move(options)) {}

bool section_store::feed(std::span<const std::uint8_t> section) {
    const std::size_t size = lib13818::section_size(section.data(), section.size());
    if (size == 0 || size > section.size()) {
        ++rejected_;
        return complete();
    }
    const auto s = section.first(size);
    if (is_eit(s[0]))
        store_eit(s);
    else
        store_other(s);
    return complete();
}

void section_store::store_eit(std::span<const std::uint8_t> s) {
    if (s.size() < eit_minimum || !usable_long_form(s)) {
        ++rejected_;
        return;
    }
    const std::uint16_t service_id = u16(s, 3);
    if (!options_.services.empty() && !options_.services.contains(service_id)) return;
    const int table_id = s[0], number = s[6];
    const int first_table = first_table_of_family(table_id);
    const std::uint64_t key = family_key(u16(s, 10), u16(s, 8), service_id, first_table);
    const auto [at, new_family] = families_.try_emplace(key);
    family& f = at->second;
    if (new_family) ++incomplete_families_;
    const auto [table_at, new_table] = f.tables.try_emplace(table_id);
    sub_table& table = table_at->second;
    if (new_table) ++sub_table_count_;

    stored_section& slot = table.sections[number];
    if (std::equal(slot.bytes.begin(), slot.bytes.end(), s.begin(), s.end())) return;  // a repeat
    if (slot.bytes.empty()) ++eit_sections_;
    slot.bytes.assign(s.begin(), s.end());
    slot.order = ++order_;

    table.last_section_number = s[7];
    // segment_last_section_number must lie in the section's segment, at or after it.
    const int segment = number / sections_per_segment;
    const int segment_end = segment * sections_per_segment + sections_per_segment - 1;
    table.segment_last[static_cast<std::size_t>(segment)] =
        std::max<int>(number, std::min<int>(s[12], segment_end)) + 1;
    f.last_table_id = s[13];
    update(f);
}

void section_store::store_other(std::span<const std::uint8_t> s) {
    const std::uint8_t table_id = s[0];
    if (table_id == sdt_actual || table_id == sdt_other) {
        if (s.size() < long_form_minimum + 3 || !usable_long_form(s)) {
            ++rejected_;
            return;
        }
        const std::uint64_t key = std::uint64_t{table_id} << 40 | std::uint64_t{u16(s, 8)} << 24 |
                                  std::uint64_t{u16(s, 3)} << 8 | s[6];
        sdts_[key] = {{s.begin(), s.end()}, ++order_};
        if (table_id == sdt_actual) announce(s);
    } else if (table_id == tdt && s.size() == tdt_size) {
        tdt_ = stored_section{{s.begin(), s.end()}, ++order_};
    } else if (table_id == tot) {
        if (lib13818::crc32(s.data(), s.size()) != 0) {
            ++rejected_;
            return;
        }
        tot_ = stored_section{{s.begin(), s.end()}, ++order_};
    } else {
        return;
    }
    update_complete();
}

bool section_store::sub_table_complete(int table_id, const sub_table& table) const {
    const auto has = [&](int number) { return table.sections.contains(number); };
    if (is_present_following(table_id)) {
        for (int n = 0; n <= table.last_section_number; ++n)
            if (!has(n)) return false;
        return true;
    }
    if (table.segment_last[static_cast<std::size_t>(table.last_section_number / sections_per_segment)] == 0)
        return false;
    for (int segment = 0; segment < 32; ++segment)
        for (int n = segment * sections_per_segment;
             n < table.segment_last[static_cast<std::size_t>(segment)]; ++n)
            if (!has(n)) return false;
    return true;
}

void section_store::update(family& f) {
    bool all = true;
    int first_table = 0;
    for (auto& [table_id, table] : f.tables) {
        first_table = first_table_of_family(table_id);
        const bool now = sub_table_complete(table_id, table);
        if (now != table.complete) now ? ++complete_sub_tables_ : --complete_sub_tables_;
        table.complete = now;
        all = all && now;
    }
    // A schedule announces its tables up to last_table_id; each must have come.
    if (!is_present_following(first_table) && f.last_table_id >= first_table &&
        f.last_table_id < first_table + 16)
        for (int id = first_table; id <= f.last_table_id; ++id)
            all = all && f.tables.contains(id);
    if (all != f.complete) all ? --incomplete_families_ : ++incomplete_families_;
    f.complete = all;
    update_complete();
}

void section_store::announce(std::span<const std::uint8_t> sdt_actual) {
    lib13818::Sdt sdt;
    try {
        sdt.parse(sdt_actual.data(), sdt_actual.size());
    } catch (const lib13818::error&) {
        return;
    }
    has_sdt_actual_ = true;
    const auto onid = static_cast<std::uint16_t>(sdt.original_network_id);
    const auto tsid = static_cast<std::uint16_t>(sdt.table_id_extension);
    for (const auto& service : sdt.services) {
        const auto sid = static_cast<std::uint16_t>(service.service_id);
        if (!options_.services.empty() && !options_.services.contains(sid)) continue;
        if (service.EIT_present_following_flag) announced_.insert(family_key(onid, tsid, sid, pf_actual));
        if (service.EIT_schedule_flag) announced_.insert(family_key(onid, tsid, sid, schedule_actual));
    }
}

void section_store::update_complete() {
    const bool time_known = tot_.has_value() || (!options_.needs_tot && tdt_.has_value());
    const bool announced_came = std::all_of(announced_.begin(), announced_.end(),
                                            [&](std::uint64_t key) { return families_.contains(key); });
    complete_ =
        !families_.empty() && incomplete_families_ == 0 && has_sdt_actual_ && time_known && announced_came;
}

}  // namespace kestrel::epg
