#include "lib13818/fields/field_reader.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include "lib13818/fields/header_fields.h"

namespace lib13818 {

namespace {

// Why a descriptor cannot be read as described, raised where the reading stops.
struct fault {
    enum class kind { fixed_part, inner_length, missing };
    kind what;
    const field* at;
    std::size_t bit;        // where `at` starts, in bits from the tag byte
    const char* announcer;  // missing: the field whose value announced the part, if any
    const field* missing;   // missing: the optional part that does not fit
};

// Where a list of fields may read, and what running out of bytes there means: inside an
// optional part, which part that is and which field announced it.
struct scope {
    std::size_t end_bit;
    fault::kind on_short;
    const char* announcer = nullptr;
    const field* optional = nullptr;
};

// The most fields a record without loops decodes to (a group's count in line); with a loop,
// about one a byte of the descriptor. Decoding then fills one allocation.
std::size_t fields_to_expect(std::span<const field> fields, std::size_t length) {
    std::size_t n = 0;
    for (const field& f : fields) {
        if (f.kind == field_kind::loop) return n + length + 1;
        n += f.kind == field_kind::group ? fields_to_expect(f.element->fields, length) : 1;
    }
    return n;
}

// The name a warning gives a field: a group's is that of its first field that shows.
const char* shown_name(const field& f) {
    if (f.kind != field_kind::group) return f.name;
    for (const field& inner : f.element->fields)
        if (inner.kind != field_kind::reserved) return shown_name(inner);
    return f.name;
}

// Reads one descriptor's fields in the order of its description, appending each decoded
// field to `out.fields`. Records of loops are kept open on a small stack, so that a
// condition or an extent finds the field it names in its own record or an enclosing one.
class interpreter {
  public:
    interpreter(reader d, std::uint64_t specifier, DescriptorDescribed& out)
        : base_(d.position()),
          size_bits_(d.remaining() * 8),
          section_byte_(d.offset()),
          specifier_(specifier),
          out_(out) {}

    void run(const description& what) {
        const scope all{size_bits_, fault::kind::fixed_part};
        read_value(header_fields::tag, all);
        read_value(header_fields::length, all);
        if (what.extension != description::no_extension) read_value(header_fields::extension, all);
        read_fields(what.body.fields, all);
        cover_rest();
    }

    // What a `missing` fault leaves unread is kept as bytes, so that every byte stays covered.
    void cover_rest() {
        if (cursor_ % 8 != 0) push(header_fields::padding, 0, 8 - cursor_ % 8);
        if (cursor_ < size_bits_)
            push(header_fields::additional_bytes, (size_bits_ - cursor_) / 8, size_bits_ - cursor_);
    }

    std::size_t section_byte(std::size_t bit) const { return section_byte_ + bit / 8; }

  private:
    struct open_record {
        std::uint16_t first;  // its first field
        std::uint16_t via;    // the loop of the enclosing record it belongs to
    };

    void read_fields(std::span<const field> fields, const scope& s) {
        for (const field& f : fields)
            read_field(f, s);
    }

    void read_field(const field& f, const scope& s) {
        if (!holds(f.when, s)) return;
        scope inner = s;
        if (f.when.test != condition::kind::always && s.on_short != fault::kind::inner_length)
            inner = {s.end_bit, fault::kind::missing, f.when.field, &f};
        switch (f.kind) {
            case field_kind::text:
            case field_kind::bytes: {
                const std::size_t n = byte_count(f, inner);
                push(f, n, n * 8);
                return;
            }
            case field_kind::loop:
                return read_loop(f, inner);
            case field_kind::group:
                return read_group(f, inner);
            case field_kind::specifier:
                return push(f, specifier_, 0);
            default:
                return read_value(f, inner);
        }
    }

    void read_value(const field& f, const scope& s) {
        if (cursor_ + f.bits > s.end_bit) throw short_of(f, s);
        std::uint64_t v = peek_bits(f.bits);
        if (f.kind == field_kind::bcd) v = from_bcd(v, f.bits / 4);
        push(f, v, f.bits);
    }

    // Texts and bytes: their byte count, checked against the bytes left.
    std::size_t byte_count(const field& f, const scope& s) {
        aligned(f);
        const std::size_t left = (s.end_bit - cursor_) / 8;
        std::size_t n = left;
        if (f.span.how == extent::kind::bytes_in) n = named_value(f.span.field, f);
        if (f.span.how == extent::kind::fixed) n = f.span.add;
        if (n > left) {
            const bool announced = f.span.how == extent::kind::fixed;
            throw announced ? short_of(f, s)
                            : fault{fault::kind::inner_length, &f, cursor_, nullptr, nullptr};
        }
        return n;
    }

    void read_loop(const field& f, const scope& s) {
        aligned(f);
        // The extent first: the loop's own entry stays open until its records are read.
        const bool counted = f.span.how == extent::kind::records_in || f.span.how == extent::kind::fixed;
        const std::size_t wanted = !counted ? 0
                                   : f.span.how == extent::kind::fixed
                                       ? f.span.add
                                       : named_value(f.span.field, f) + f.span.add;
        const std::size_t end = counted ? s.end_bit : cursor_ + byte_count(f, s) * 8;
        const auto loop_index = static_cast<std::uint16_t>(out_.fields.size());
        const std::size_t start = cursor_;
        push_open(f, decoded_field::role::loop);
        std::size_t count = 0;
        for (; counted ? count < wanted : cursor_ < end; ++count) {
            const std::size_t before = cursor_;
            read_record(f, loop_index, {end, fault::kind::inner_length});
            // A record of no bytes would never reach the end.
            if (cursor_ == before) throw fault{fault::kind::inner_length, &f, cursor_, nullptr, nullptr};
        }
        close(loop_index, start, count);
    }

    void read_record(const field& loop, std::uint16_t loop_index, const scope& s) {
        if (depth_ == open_.size()) throw fault{fault::kind::inner_length, &loop, cursor_, nullptr, nullptr};
        const auto index = static_cast<std::uint16_t>(out_.fields.size());
        const std::size_t start = cursor_;
        push_open(loop, decoded_field::role::record);
        open_[depth_++] = {static_cast<std::uint16_t>(index + 1), loop_index};
        read_fields(loop.element->fields, s);
        --depth_;
        close(index, start, 1);
    }

    // A group reads its fields in line; a sized one must fill its bytes exactly.
    void read_group(const field& f, const scope& s) {
        if (f.span.how == extent::kind::rest) return read_fields(f.element->fields, s);
        const std::size_t end = cursor_ + byte_count(f, s) * 8;
        read_fields(f.element->fields, {end, fault::kind::inner_length});
        if (cursor_ != end) throw fault{fault::kind::inner_length, &f, cursor_, nullptr, nullptr};
    }

    bool holds(const condition& c, const scope& s) const {
        if (c.test == condition::kind::always) return true;
        if (c.test == condition::kind::more_bytes) return cursor_ < s.end_bit;
        const decoded_field* other = find(c.field);
        if (other == nullptr) return false;
        switch (c.test) {
            case condition::kind::equals:
                return other->value == c.low;
            case condition::kind::differs:
                return other->value != c.low;
            default:
                return other->value >= c.low && other->value <= c.high;
        }
    }

    std::size_t named_value(const char* name, const field& f) const {
        const decoded_field* other = find(name);
        if (other == nullptr) throw fault{fault::kind::inner_length, &f, cursor_, nullptr, nullptr};
        return static_cast<std::size_t>(other->value);
    }

    // The last field named `name` of the innermost open record that has one.
    const decoded_field* find(const char* name) const {
        const std::vector<decoded_field>& fields = out_.fields;
        std::size_t limit = fields.size();
        for (std::size_t level = depth_ + 1; level-- > 0;) {
            const std::size_t first = level == 0 ? 0 : open_[level - 1].first;
            const decoded_field* found = nullptr;
            for (std::size_t i = first; i < limit; i = fields[i].end)
                if (fields[i].kind == decoded_field::role::value &&
                    std::strcmp(fields[i].spec->name, name) == 0)
                    found = &fields[i];
            if (found != nullptr) return found;
            if (level > 0) limit = open_[level - 1].via;
        }
        return nullptr;
    }

    fault short_of(const field& f, const scope& s) const {
        return {s.on_short, &f, cursor_, s.announcer, s.optional};
    }

    void aligned(const field& f) const {
        if (cursor_ % 8 != 0) throw fault{fault::kind::inner_length, &f, cursor_, nullptr, nullptr};
    }

    // The next n bits (at most 64) as an integer, most significant first.
    std::uint64_t peek_bits(unsigned n) const {
        std::uint64_t v = 0;
        for (std::size_t at = cursor_; n > 0;) {
            const unsigned bit = at % 8;
            const unsigned take = std::min(8 - bit, n);
            const unsigned byte = base_[at / 8];
            v = (v << take) | ((byte >> (8 - bit - take)) & ((1u << take) - 1));
            at += take;
            n -= take;
        }
        return v;
    }

    // Digits above 9 are taken as they stand.
    static std::uint64_t from_bcd(std::uint64_t nibbles, unsigned digits) {
        std::uint64_t v = 0;
        for (unsigned i = digits; i-- > 0;)
            v = v * 10 + ((nibbles >> (4 * i)) & 0x0F);
        return v;
    }

    void push(const field& f, std::uint64_t value, std::size_t bits) {
        out_.fields.push_back({&f, value, static_cast<std::uint16_t>(section_byte(cursor_)),
                               static_cast<std::uint8_t>(cursor_ % 8), decoded_field::role::value,
                               static_cast<std::uint16_t>(bits), 0});
        cursor_ += bits;
        out_.fields.back().end = static_cast<std::uint16_t>(out_.fields.size());
    }

    void push_open(const field& f, decoded_field::role role) {
        out_.fields.push_back({&f, 0, static_cast<std::uint16_t>(section_byte(cursor_)),
                               static_cast<std::uint8_t>(cursor_ % 8), role, 0, 0});
    }

    void close(std::uint16_t index, std::size_t start, std::size_t count) {
        decoded_field& entry = out_.fields[index];
        entry.value = count;
        entry.bits = static_cast<std::uint16_t>(cursor_ - start);
        entry.end = static_cast<std::uint16_t>(out_.fields.size());
    }

    const std::uint8_t* base_;
    std::size_t size_bits_;
    std::size_t section_byte_;
    std::uint64_t specifier_;
    DescriptorDescribed& out_;
    std::size_t cursor_ = 0;  // in bits from the tag byte
    std::array<open_record, 8> open_{};
    std::size_t depth_ = 0;
};

std::string warning_text(const description& what, std::size_t length, const fault& f) {
    const std::string name = what.name;
    const std::string declared = "descriptor_length " + std::to_string(length);
    switch (f.what) {
        case fault::kind::fixed_part:
            return name + ": " + declared + " is shorter than its fixed part" +
                   (f.at->kind == field_kind::reserved ? "" : std::string(", which needs ") + f.at->name) +
                   ": kept as bytes";
        case fault::kind::inner_length:
            return name + ": " + f.at->name + " disagrees with " + declared + ": kept as bytes";
        case fault::kind::missing:
            if (f.announcer != nullptr)
                return name + ": " + f.announcer + " announces " + shown_name(*f.missing) + ", which " +
                       declared + " leaves out";
            return name + ": " + declared + " ends before " + f.at->name;
    }
    return name;
}

// Where a warning points: the descriptor as a whole when its fixed part does not fit; the
// flag that announced a missing part; else the field at fault, or descriptor_length when
// that field would start past the end.
std::size_t fault_bit(const fault& f, const DescriptorDescribed& out, std::size_t size_bits) {
    constexpr std::size_t length_bit = 8;
    if (f.what == fault::kind::fixed_part) return 0;
    if (f.what == fault::kind::missing && f.announcer != nullptr)
        for (auto field = out.fields.rbegin(); field != out.fields.rend(); ++field)
            if (std::strcmp(field->spec->name, f.announcer) == 0)
                return static_cast<std::size_t>(field->byte - out.byte) * 8 + field->bit;
    return f.bit < size_bits ? f.bit : length_bit;
}

}  // namespace

bool read_described(const description& what, reader d, std::uint64_t specifier, DescriptorDescribed& out,
                    std::vector<SectionWarning>& warnings) {
    const std::uint8_t* p = d.position();
    out.what = &what;
    out.descriptor_tag = p[0];
    out.descriptor_length = d.remaining() > 1 ? p[1] : 0;
    out.byte = static_cast<std::uint16_t>(d.offset());
    out.raw.assign(reinterpret_cast<const char*>(p), d.remaining());
    out.fields.clear();
    // The header's three fields and the two that may cover what the description leaves.
    constexpr std::size_t framework_fields = 5;
    out.fields.reserve(framework_fields + fields_to_expect(what.body.fields, d.remaining() - 2));
    interpreter reading(d, specifier, out);
    try {
        reading.run(what);
    } catch (const fault& f) {
        warnings.push_back({reading.section_byte(fault_bit(f, out, d.remaining() * 8)),
                            warning_text(what, d.remaining() - 2, f)});
        if (f.what != fault::kind::missing) return false;
        reading.cover_rest();
    }
    return true;
}

}  // namespace lib13818
