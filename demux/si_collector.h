#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <span>
#include <utility>

#include "demux/filter.h"
#include "lib13818/core/error.h"

namespace kestrel {

// What the EIT, SDT and NIT collectors share: every distinct section the filter bytes let
// through is stored under a key made of the section's identifying fields, until the first
// repeated key (the carousel has come round again) or 20 sections.
class si_collector : public nokia_dvb2000_demux2::filter {
  public:
    static constexpr int slot_count = 100;
    static constexpr int enough_sections = 20;

    // A key field: `width` bytes (1 or 2, big-endian) at `offset` in the section.
    struct key_field {
        std::uint8_t offset;
        std::uint8_t width;
    };
    // How a collector names itself in the trace.
    struct trace_names {
        const char* callback;  // the section handler's name
        const char* got;       // the line of a newly stored section
    };

    void on_psi_section(std::int32_t length, const std::uint8_t* data) override;

  protected:
    si_collector(int pid, filter_bytes bytes, FilterCallback callback, void* context,
                 std::span<const key_field> key, trace_names names);

    // Parses each stored section, in key order, as a Table and hands it to on_parsed with
    // its bytes; a section that does not parse goes to on_error instead, and the next one
    // is parsed.
    template <class Table, class OnParsed, class OnError>
    void parse_sections(OnParsed&& on_parsed, OnError&& on_error) const {
        for (const auto& [key, slot] : sections_read_) {
            const auto section = slots_.section(static_cast<std::size_t>(slot));
            try {
                with_bytes<Table> table;
                table.parse(section.data(), section.size());
                table.keep(section);
                trace_section_warnings(pid(), table);
                on_parsed(std::move(table));
            } catch (const lib13818::error& e) {
                on_error(e);
            }
        }
    }

  private:
    using section_key = std::array<int, 4>;

    std::span<const key_field> key_;
    std::size_t key_size_;  // bytes of a section the key needs
    trace_names names_;
    std::map<section_key, int> sections_read_;  // key -> slot
    int m_bufpos = 0;
    int m_cnt = 0;
    bool m_eitread = false;
};

}  // namespace kestrel
