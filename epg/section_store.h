#pragma once

// The guide's collector: every EIT section (present/following and schedule, actual and
// other), the SDTs that name the services and the latest TDT and TOT, as a card or a
// capture delivers them. Unlike the scan's collectors it never stops early: it keeps each
// sub-table (table_id, original_network_id, transport_stream_id, service_id) whole and says
// when the guide is complete.
//
// Rules:
// - A section that fails its CRC check, is cut short or is "not yet applicable"
//   (current_next_indicator 0) is counted and left out.
// - Per sub-table and section number the latest section received wins: multiplexers change
//   the version section by section and send a schedule section again only when it changed.
// - Complete: every service has, for each EIT family it sends (p/f actual or other, schedule
//   actual or other), sections 0..last_section_number of its p/f table, and of its schedule
//   every table up to last_table_id, the segment holding last_section_number, and every
//   section up to segment_last_section_number of each segment seen; every service the SDT
//   actual says has present/following or schedule EIT on this transport stream has sent
//   that table; and the time has come (a TOT, or a TDT when no TOT offset is needed).
//
// Threads: feed() runs on one thread at a time (the card's delivery thread, or the reader
// of a capture); the counters may be read from any thread meanwhile. The sections are read
// once feeding has ended.

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <span>
#include <vector>

namespace kestrel::epg {

struct store_options {
    std::set<std::uint16_t> services;  // only these service_ids; empty: every service
    bool needs_tot = true;             // complete only with a TOT (local time comes from it)
};

// One stored section and when it came (a running count over all sections stored).
struct stored_section {
    std::vector<std::uint8_t> bytes;
    std::uint64_t order = 0;
};

class section_store {
  public:
    explicit section_store(store_options options = {});

    // One whole section as delivered (table_id to the end of its CRC; bytes after the end
    // section_length gives are ignored). Returns true once the guide is complete.
    bool feed(std::span<const std::uint8_t> section);

    bool complete() const { return complete_.load(); }
    std::uint64_t eit_sections() const { return eit_sections_.load(); }
    std::uint64_t rejected_sections() const { return rejected_.load(); }
    std::uint32_t sub_tables() const { return sub_table_count_.load(); }
    std::uint32_t complete_sub_tables() const { return complete_sub_tables_.load(); }

    // Every EIT section kept, each sub-table's in section order.
    template <class Visit>
    void for_each_eit(Visit&& visit) const {
        for (const auto& [key, family] : families_)
            for (const auto& [table_id, table] : family.tables)
                for (const auto& [number, section] : table.sections)
                    visit(section);
    }
    // The SDT sections kept (actual and other), and the latest TDT and TOT.
    const std::map<std::uint64_t, stored_section>& sdt_sections() const { return sdts_; }
    const std::optional<stored_section>& latest_tdt() const { return tdt_; }
    const std::optional<stored_section>& latest_tot() const { return tot_; }

  private:
    struct sub_table {
        std::map<int, stored_section> sections;  // by section_number
        int last_section_number = 0;
        std::array<int, 32> segment_last{};  // per segment: its last section number + 1; 0 unseen
        bool complete = false;
    };
    // A service's sub-tables of one family, by table_id.
    struct family {
        std::map<int, sub_table> tables;
        int last_table_id = 0;
        bool complete = false;
    };

    void store_eit(std::span<const std::uint8_t> s);
    void store_other(std::span<const std::uint8_t> s);
    bool sub_table_complete(int table_id, const sub_table& table) const;
    void update(family& f);
    void announce(std::span<const std::uint8_t> sdt_actual);
    void update_complete();

    store_options options_;
    std::map<std::uint64_t, family> families_;      // by onid, tsid, sid and family
    std::map<std::uint64_t, stored_section> sdts_;  // by table_id, tsid, onid, section_number
    std::set<std::uint64_t> announced_;             // families the SDT actual says are sent
    std::optional<stored_section> tdt_, tot_;
    std::uint64_t order_ = 0;
    std::uint32_t incomplete_families_ = 0;
    bool has_sdt_actual_ = false;

    std::atomic<bool> complete_{false};
    std::atomic<std::uint64_t> eit_sections_{0};
    std::atomic<std::uint64_t> rejected_{0};
    std::atomic<std::uint32_t> sub_table_count_{0};
    std::atomic<std::uint32_t> complete_sub_tables_{0};
};

}  // namespace kestrel::epg
