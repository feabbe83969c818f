#pragma once

// A descriptor described once: its fields in the standard's order, each a name, a width or
// kind, and how to show it. One interpreter (field_reader) reads any description through
// the bounded reader; the dump, the value rows and the JSON writer render the decoded
// fields from the same description. A new descriptor is one small file that defines its
// description and one line in the catalogue (catalogue.h, catalogue.cpp).
//
// Writing a description (see lib13818/descriptors/*_descriptor.cpp):
//
//     constexpr field cell_fields[] = {
//         uimsbf("cell_id", 16).hex(4),
//         loop("frequencies", centre_frequency, bytes_in("frequency_loop_length")).when_set("tfs_flag"),
//     };
//     constexpr record cell{"cell", cell_fields};
//
// Names are the standard's spelling ("FEC_inner", "code_rate-HP_stream"); the renderers
// derive upper-case row names and lower-case JSON keys from them ('-' becomes '_').
// Conditions and extents name an earlier field of the same record or of an enclosing one.
// The header fields (descriptor_tag, descriptor_length and, for extension descriptors,
// descriptor_tag_extension) are read by the framework before the description's fields.

#include <cstdint>
#include <span>
#include <string>

namespace lib13818 {

// How a field is read and what its value is.
enum class field_kind : std::uint8_t {
    uimsbf,     // unsigned integer of `bits` bits, most significant first
    bcd,        // bits / 4 binary coded decimal digits, read as a decimal number
    reserved,   // bits that only fill the layout: shown nowhere
    length,     // an unsigned integer that sizes or counts a later field
    language,   // 24 bits: an ISO 639 language or ISO 3166 country code
    utc_time,   // 40 bits: Modified Julian Date and six BCD digits of the time
    duration,   // 24 bits: six BCD digits hhmmss
    text,       // DVB text (selector first) over its extent
    bytes,      // bytes over their extent
    loop,       // records of `element` over their extent
    group,      // the fields of `element` in line, usually under a condition; with an
                // extent other than `rest`, they must fill exactly that many bytes
    specifier,  // no bits: the private_data_specifier in force in the descriptor's loop
};

// How many bytes (or records) a text, bytes, loop or group field spans.
struct extent {
    enum class kind : std::uint8_t {
        rest,        // to the end of the enclosing record's bytes
        bytes_in,    // as many bytes as the earlier length field `field` says
        records_in,  // as many records as the earlier field `field` says, plus `add`
        fixed,       // `add` bytes (texts, bytes, groups) or `add` records (loops)
    };
    kind how = kind::rest;
    const char* field = nullptr;
    std::uint16_t add = 0;
};

// When a field is present. Conditions on other fields name an earlier integer field.
struct condition {
    enum class kind : std::uint8_t {
        always,
        equals,      // field == low
        differs,     // field != low
        in_range,    // low <= field <= high
        more_bytes,  // the enclosing record has bytes left
    };
    kind test = kind::always;
    const char* field = nullptr;
    std::uint32_t low = 0;
    std::uint32_t high = 0;
};

// A name of one value of a coded field.
struct value_name {
    std::uint32_t value;
    const char* name;
};

// The unit a field's integer counts in: value * multiplier / divisor is the quantity in
// `text` units; the JSON key gets "_" + json_suffix (none when empty).
struct unit {
    const char* json_suffix;
    const char* text;
    std::uint32_t multiplier = 1;
    std::uint32_t divisor = 1;
};

struct record;

struct field {
    const char* name = nullptr;
    field_kind kind = field_kind::uimsbf;
    std::uint16_t bits = 0;
    condition when{};
    extent span{};
    const record* element = nullptr;
    std::span<const value_name> names{};
    // A name computed from the value, for codes that follow a rule ("minimum age 12").
    std::string (*describe)(std::uint64_t value) = nullptr;
    const unit* measure = nullptr;
    const char* json_name = nullptr;  // the JSON key's stem when it is not the field's name
    std::uint8_t hex_digits = 0;      // rows show the value in hexadecimal with this many digits

    constexpr field when_set(const char* flag) const { return with({condition::kind::differs, flag, 0, 0}); }
    constexpr field when_clear(const char* flag) const { return with({condition::kind::equals, flag, 0, 0}); }
    constexpr field when_equal(const char* other, std::uint32_t value) const {
        return with({condition::kind::equals, other, value, value});
    }
    constexpr field when_not_equal(const char* other, std::uint32_t value) const {
        return with({condition::kind::differs, other, value, value});
    }
    constexpr field when_in(const char* other, std::uint32_t low, std::uint32_t high) const {
        return with({condition::kind::in_range, other, low, high});
    }
    constexpr field when_more_bytes() const { return with({condition::kind::more_bytes, nullptr, 0, 0}); }
    constexpr field named(std::span<const value_name> value_names) const {
        field f = *this;
        f.names = value_names;
        return f;
    }
    constexpr field described_by(std::string (*rule)(std::uint64_t)) const {
        field f = *this;
        f.describe = rule;
        return f;
    }
    constexpr field in(const unit& u) const {
        field f = *this;
        f.measure = &u;
        return f;
    }
    constexpr field json(const char* stem) const {
        field f = *this;
        f.json_name = stem;
        return f;
    }
    constexpr field hex(std::uint8_t digits) const {
        field f = *this;
        f.hex_digits = digits;
        return f;
    }

  private:
    constexpr field with(condition c) const {
        field f = *this;
        f.when = c;
        return f;
    }
};

// The fields of a descriptor body, of one loop entry or of a group. `name` names one loop
// entry in the tree ("cell" shows as CELL, several as the loop's name, CELLS).
struct record {
    const char* name;
    std::span<const field> fields;
};

// A descriptor: its name as the standard spells it ("T2_delivery_system_descriptor"),
// the key loops find it by, and its body.
struct description {
    static constexpr std::int16_t no_extension = -1;
    static constexpr std::int16_t any_extension = 0x100;
    static constexpr std::uint32_t no_specifier = 0;

    const char* name;
    std::uint8_t tag;
    std::int16_t extension = no_extension;  // descriptor_tag_extension of an extension descriptor
    // Private descriptors (tags 0x80-0xFE) mean what the private_data_specifier before them
    // in their loop says: they are decoded only in the scope of this one.
    std::uint32_t private_data_specifier = no_specifier;
    record body{};
};

// The field builders, for descriptions to read like the standard's syntax tables.
namespace describe {

constexpr field uimsbf(const char* name, std::uint16_t bits) {
    return {.name = name, .kind = field_kind::uimsbf, .bits = bits};
}
constexpr field flag(const char* name) {
    return uimsbf(name, 1);
}
constexpr field coded(const char* name, std::uint16_t bits, std::span<const value_name> names) {
    return uimsbf(name, bits).named(names);
}
constexpr field bcd(const char* name, std::uint16_t digits) {
    return {.name = name, .kind = field_kind::bcd, .bits = static_cast<std::uint16_t>(digits * 4)};
}
constexpr field reserved(std::uint16_t bits) {
    return {.name = "reserved", .kind = field_kind::reserved, .bits = bits};
}
constexpr field length(const char* name, std::uint16_t bits) {
    return {.name = name, .kind = field_kind::length, .bits = bits};
}
constexpr field language(const char* name) {
    return {.name = name, .kind = field_kind::language, .bits = 24};
}
constexpr field utc_time(const char* name) {
    return {.name = name, .kind = field_kind::utc_time, .bits = 40};
}
constexpr field duration(const char* name) {
    return {.name = name, .kind = field_kind::duration, .bits = 24};
}
constexpr field text(const char* name, extent span) {
    return {.name = name, .kind = field_kind::text, .span = span};
}
constexpr field bytes(const char* name, extent span) {
    return {.name = name, .kind = field_kind::bytes, .span = span};
}
constexpr field loop(const char* name, const record& element, extent span) {
    return {.name = name, .kind = field_kind::loop, .span = span, .element = &element};
}
constexpr field group(const record& element, extent span = {}) {
    return {.name = element.name, .kind = field_kind::group, .span = span, .element = &element};
}
constexpr field specifier(const char* name) {
    return {.name = name, .kind = field_kind::specifier};
}

constexpr extent rest() {
    return {};
}
constexpr extent bytes_in(const char* length_field) {
    return {extent::kind::bytes_in, length_field, 0};
}
constexpr extent records_in(const char* count_field, std::uint16_t add = 0) {
    return {extent::kind::records_in, count_field, add};
}
constexpr extent fixed(std::uint16_t count) {
    return {extent::kind::fixed, nullptr, count};
}

}  // namespace describe

}  // namespace lib13818
