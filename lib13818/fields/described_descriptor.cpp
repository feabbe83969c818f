#include "lib13818/fields/described_descriptor.h"

#include <cstring>
#include <iomanip>

#include "lib13818/core/dvb_text.h"
#include "lib13818/core/hex_dump.h"
#include "lib13818/core/value_text.h"
#include "lib13818/fields/field_text.h"
#include "lib13818/fields/header_fields.h"

namespace lib13818 {

namespace header_fields {
bool is_header(const field& f) {
    return &f == &tag || &f == &length || &f == &extension || &f == &additional_bytes;
}
}  // namespace header_fields

namespace {

// True when `fields` (or a group among them) describes a field or loop called `name`.
bool describes(std::span<const field> fields, std::string_view name) {
    for (const field& f : fields) {
        if (f.name == name) return true;
        if (f.kind == field_kind::group && describes(f.element->fields, name)) return true;
    }
    return false;
}

void dump_fields(std::ostream& out, const DescriptorDescribed& d, std::size_t first, std::size_t end,
                 int depth) {
    const std::string indent(static_cast<std::size_t>(depth) * 2, ' ');
    for (std::size_t i = first; i < end; i = d.fields[i].end) {
        const decoded_field& f = d.fields[i];
        const field& spec = *f.spec;
        if (f.kind == decoded_field::role::loop) {
            for (std::size_t r = i + 1; r < f.end; r = d.fields[r].end)
                dump_fields(out, d, r + 1, d.fields[r].end, depth + 1);
            continue;
        }
        // The header line shows the tag.
        if (!is_shown(spec) || &spec == &header_fields::tag) continue;
        out << indent << spec.name;
        switch (spec.kind) {
            case field_kind::text:
                out << ' ' << DvbString::split(d.bytes_of(f)) << '\n';
                break;
            case field_kind::bytes: {
                const std::string_view bytes = d.bytes_of(f);
                out << ":\n";
                hex_dump(out, std::vector<std::uint8_t>(bytes.begin(), bytes.end()));
                break;
            }
            case field_kind::language:
                out << ' ' << language_of(f.value).data() << '\n';
                break;
            case field_kind::utc_time:
                out << ' ' << utc_time_of(f.value) << '\n';
                break;
            case field_kind::duration:
                out << ' ' << duration_of(f.value) << '\n';
                break;
            default:
                out << ' ' << number_text(f, false) << '\n';
                break;
        }
    }
}

}  // namespace

const decoded_field* described_record::find(std::string_view name) const {
    const std::vector<decoded_field>& fields = descriptor_->fields;
    for (std::size_t i = first_; i < end_; i = fields[i].end)
        if (fields[i].kind != decoded_field::role::record && fields[i].spec->name == name) return &fields[i];
    return nullptr;
}

const decoded_field* described_record::checked_find(std::string_view name) const {
    if (const decoded_field* f = find(name)) return f;
    const bool header = name == header_fields::tag.name || name == header_fields::length.name ||
                        name == header_fields::extension.name;
    if (spec_ == nullptr || !(header || describes(spec_->fields, name)))
        throw std::invalid_argument("no field " + std::string(name) + " in " + descriptor_->name());
    return nullptr;
}

std::optional<std::uint64_t> described_record::number(std::string_view name) const {
    const decoded_field* f = checked_find(name);
    if (f == nullptr) return std::nullopt;
    return f->value;
}

std::optional<std::uint64_t> described_record::quantity(std::string_view name) const {
    const decoded_field* f = checked_find(name);
    if (f == nullptr) return std::nullopt;
    const unit* u = f->spec->measure;
    return u == nullptr ? f->value : f->value * u->multiplier / u->divisor;
}

std::optional<std::string_view> described_record::bytes(std::string_view name) const {
    const decoded_field* f = checked_find(name);
    if (f == nullptr) return std::nullopt;
    return descriptor_->bytes_of(*f);
}

described_record::records_view described_record::records(std::string_view name) const {
    const decoded_field* f = checked_find(name);
    if (f == nullptr || f->kind != decoded_field::role::loop) return {};
    const auto index = static_cast<std::uint16_t>(f - descriptor_->fields.data());
    return {descriptor_, static_cast<std::uint16_t>(index + 1), f->end, static_cast<std::size_t>(f->value)};
}

described_record described_record::records_view::iterator::operator*() const {
    const decoded_field& r = d_->fields[at_];
    return {*d_, static_cast<std::uint16_t>(at_ + 1), r.end, r.spec->element};
}

described_record::records_view::iterator& described_record::records_view::iterator::operator++() {
    at_ = d_->fields[at_].end;
    return *this;
}

const char* DescriptorDescribed::name() const {
    return what != nullptr ? what->name : "described_descriptor";
}

described_record DescriptorDescribed::body() const {
    return {*this, 0, static_cast<std::uint16_t>(fields.size()), what != nullptr ? &what->body : nullptr};
}

std::string_view DescriptorDescribed::bytes_of(const decoded_field& f) const {
    const std::size_t at = static_cast<std::size_t>(f.byte - byte);
    if (at > raw.size()) return {};
    return std::string_view(raw).substr(at, static_cast<std::size_t>(f.value));
}

void DescriptorDescribed::dump_body(std::ostream& out) const {
    out << std::dec << std::setfill(' ');
    dump_fields(out, *this, 0, fields.size(), 0);
}

}  // namespace lib13818
