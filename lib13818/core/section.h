#pragma once

#include <cstddef>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include "lib13818/core/reader.h"
#include "lib13818/descriptors/generic_descriptor.h"

namespace lib13818 {

// A fault of a section that the decoder read past rather than refuse the section: where
// (the byte offset in the section of the field at fault) and what was done about it.
struct SectionWarning {
    std::size_t byte = 0;
    std::string text;

    friend bool operator==(const SectionWarning&, const SectionWarning&) = default;
};

// The long form of an MPEG-2 private section (section_syntax_indicator 1, CRC_32 at the
// end): the base of PAT, PMT, CAT, NIT, SDT, BAT and EIT. A table is default-constructed
// empty and parsed once; on any fault parse throws and `parsed` stays false.
class Section {
  public:
    virtual ~Section() = default;

    // Parses the section that starts at `section` (its table_id byte). `available` is the
    // number of bytes there; a section_length that claims more throws instead of reading on.
    virtual void parse(const std::uint8_t* section, std::size_t available);
    virtual const char* name() const = 0;
    virtual void clear() = 0;
    virtual void dump(std::ostream& out) const = 0;

    int32_t table_id = 0;
    int32_t section_length = 0;
    int32_t table_id_extension = 0;
    int32_t version_number = 0;
    int32_t section_number = 0;
    int32_t last_section_number = 0;
    int32_t current_next_indicator = 0;
    bool parsed = false;
    std::uint32_t CRC_32 = 0;
    std::vector<DescriptorGeneric> descriptors;
    std::vector<SectionWarning> warnings;

    // Where parse_body's bytes start in the section: after the 8-byte header.
    static constexpr std::size_t body_offset = 8;

  protected:
    Section() = default;
    Section(const Section&) = default;
    Section& operator=(const Section&) = default;

    // The body: the section_length - 9 bytes between the header and CRC_32.
    virtual void parse_body(reader body) = 0;
    virtual bool is_valid_table_id() const = 0;
    virtual bool check_syntax_indicator(int indicator) const = 0;
    virtual bool check_reserved(int reserved) const = 0;
};

// The short form (no section syntax, no CRC check): the base of TDT, TOT and RST.
class ShortSection {
  public:
    virtual ~ShortSection() = default;

    virtual void parse(const std::uint8_t* section, std::size_t available);
    virtual const char* name() const = 0;
    virtual void clear() = 0;
    // Writes the two header fields; the tables add theirs.
    virtual void dump(std::ostream& out) const;

    int32_t table_id = 0;
    int32_t section_length = 0;
    bool parsed = false;
    std::vector<SectionWarning> warnings;

  protected:
    ShortSection() = default;
    ShortSection(const ShortSection&) = default;
    ShortSection& operator=(const ShortSection&) = default;

    // The body: the section_length bytes after the 3-byte header.
    virtual void parse_body(reader body) = 0;
    virtual bool is_valid_table_id() const = 0;
    virtual bool check_syntax_indicator(int indicator) const = 0;
};

// One "warning at byte N: TEXT" line per warning, for the tables' dumps.
void dump_warnings(std::ostream& out, const std::vector<SectionWarning>& warnings);

// section_length + 3 for the section at p, or 0 when fewer than 3 bytes are available.
std::size_t section_size(const std::uint8_t* p, std::size_t available);

}  // namespace lib13818
