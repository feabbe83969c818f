#pragma once

// A descriptor decoded from its description (description.h), and how its readers get at
// its values.
//
// Who calls what:
// - The table loops hand every descriptor their table does not decode into a kind of its
//   own to a described_loop (described_loop.h), which decodes the ones the catalogue
//   knows into DescriptorDescribed values (the table's `described` sequence, in stream
//   order) and keeps the others generic.
// - Consumers (scans building tunings, channel lists, the programme guide) pick their
//   descriptors by description (catalogue.h) and read typed values by the standard's
//   field names, never the bytes:
//
//       for (const DescriptorDescribed& d : ts.described)
//           if (d.is(descriptions::T2_delivery_system))
//               for (described_record cell : d.records("cells"))
//                   frequency_hz = cell.records("frequencies").front().quantity("centre_frequency");
//
//   number(name) is the field's integer (BCD digits as their decimal number), std::nullopt
//   when the field is absent because its condition did not hold; quantity(name) is that
//   value in the field's unit (Hz, kHz, symbol/s; orbital positions stay in tenths of a
//   degree through number()); records(name) are a loop's entries. A name the description
//   does not have throws std::invalid_argument: a misspelt name fails on first use, never
//   silently. Logical channel numbers, for one: d.records("channels") of
//   descriptions::logical_channel_eacem or _nordig, each with service_id,
//   visible_service_flag and logical_channel_number.
// - Faults: decoding never throws; what a descriptor's length leaves out is absent, with a
//   warning in its section's `warnings`.
// - The renderers (the dump here, the views' value rows and JSON) walk `fields` with the
//   description, so no renderer knows any descriptor.
//
// Positions: every decoded field records its first byte in its section, its first bit in
// that byte and its width in bits. The leaf fields (all but loops and their records) of a
// descriptor cover each of its bytes, tag and length included, exactly once.

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "lib13818/descriptors/descriptor.h"
#include "lib13818/fields/description.h"

namespace lib13818 {

// One decoded field, or one record of a loop, of a described descriptor.
struct decoded_field {
    enum class role : std::uint8_t { value, loop, record };

    const field* spec = nullptr;  // for a record: the field of its loop
    // Integers: the value (BCD as its decimal number, codes as read). Texts and bytes:
    // their byte count. Loops: their record count. Specifiers: the value in force, or
    // no_specifier when none was.
    std::uint64_t value = 0;
    std::uint16_t byte = 0;  // first byte, as an offset in the section
    std::uint8_t bit = 0;    // first bit in that byte, 0 the most significant
    role kind = role::value;
    std::uint16_t bits = 0;  // width: for texts, bytes, loops and records all their bytes
    std::uint16_t end = 0;   // index of the first field after this one's records and fields

    static constexpr std::uint64_t no_specifier = ~std::uint64_t{0};

    // True for fields that stand for bytes of their own (everything but loops and records).
    bool leaf() const { return kind == role::value && spec->kind != field_kind::specifier; }
};

class DescriptorDescribed;

// A record of a described descriptor: its body, or one entry of one of its loops.
class described_record {
  public:
    described_record() = default;
    // The record whose entries are fields[first, end) of `d`, read by `spec`.
    described_record(const DescriptorDescribed& d, std::uint16_t first, std::uint16_t end, const record* spec)
        : descriptor_(&d), first_(first), end_(end), spec_(spec) {}

    std::optional<std::uint64_t> number(std::string_view name) const;
    std::optional<std::uint64_t> quantity(std::string_view name) const;
    // The bytes of a text (selector included) or bytes field.
    std::optional<std::string_view> bytes(std::string_view name) const;

    // The entries of loop `name` (none when the loop is absent).
    class records_view;
    records_view records(std::string_view name) const;

    // The decoded field of `name` in this record (or in one of its groups), or null when absent.
    const decoded_field* find(std::string_view name) const;

    const DescriptorDescribed& descriptor() const { return *descriptor_; }
    const record& spec() const { return *spec_; }
    // fields()[first()..end()) are this record's fields, loops with their records among them.
    std::uint16_t first() const { return first_; }
    std::uint16_t end() const { return end_; }

    friend bool operator==(const described_record& a, const described_record& b) {
        return a.descriptor_ == b.descriptor_ && a.first_ == b.first_;
    }

  private:
    const decoded_field* checked_find(std::string_view name) const;

    const DescriptorDescribed* descriptor_ = nullptr;
    std::uint16_t first_ = 0;
    std::uint16_t end_ = 0;
    const record* spec_ = nullptr;
};

class described_record::records_view {
  public:
    class iterator {
      public:
        using value_type = described_record;
        using difference_type = std::ptrdiff_t;
        iterator() = default;
        iterator(const DescriptorDescribed* d, std::uint16_t at) : d_(d), at_(at) {}
        described_record operator*() const;
        iterator& operator++();
        iterator operator++(int) {
            iterator before = *this;
            ++*this;
            return before;
        }
        bool operator==(const iterator& other) const { return at_ == other.at_; }

      private:
        const DescriptorDescribed* d_ = nullptr;
        std::uint16_t at_ = 0;
    };

    records_view() = default;
    records_view(const DescriptorDescribed* d, std::uint16_t first, std::uint16_t end, std::size_t count)
        : d_(d), first_(first), end_(end), count_(count) {}
    iterator begin() const { return {d_, first_}; }
    iterator end() const { return {d_, end_}; }
    std::size_t size() const { return count_; }
    bool empty() const { return count_ == 0; }
    described_record front() const { return *begin(); }

  private:
    const DescriptorDescribed* d_ = nullptr;
    std::uint16_t first_ = 0;
    std::uint16_t end_ = 0;
    std::size_t count_ = 0;
};

class DescriptorDescribed : public Descriptor {
  public:
    DescriptorDescribed() = default;

    const char* name() const override;
    // One line per field, "name value", numbers in decimal; loop entries indented.
    void dump_body(std::ostream& out) const override;

    bool is(const description& d) const { return what == &d; }
    // The body's fields, as described_record gives them.
    described_record body() const;
    std::optional<std::uint64_t> number(std::string_view name) const { return body().number(name); }
    std::optional<std::uint64_t> quantity(std::string_view name) const { return body().quantity(name); }
    std::optional<std::string_view> bytes(std::string_view name) const { return body().bytes(name); }
    described_record::records_view records(std::string_view name) const { return body().records(name); }

    // The text (with its selector) or bytes of a decoded field.
    std::string_view bytes_of(const decoded_field& f) const;

    const description* what = nullptr;
    // The header fields, then the body's; each loop is followed by its records, each record
    // by its fields.
    std::vector<decoded_field> fields;
    std::string raw;         // the descriptor's bytes from its tag
    std::uint16_t byte = 0;  // where the descriptor starts in its section
};

}  // namespace lib13818
