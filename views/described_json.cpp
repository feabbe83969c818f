#include "views/described_json.h"

#include "lib13818/fields/field_text.h"
#include "views/described_names.h"
#include "views/display_text.h"
#include "views/text_format.h"
#include "views/time_text.h"

namespace kestrel::views {

namespace {

using json = nlohmann::ordered_json;

class record_writer {
  public:
    record_writer(const lib::DescriptorDescribed& d, lib::dvb_text_decoder& text) : d_(d), text_(text) {}

    json record(std::size_t first, std::size_t end) {
        json out = json::object();
        for (std::size_t i = first; i < end; i = d_.fields[i].end) {
            const lib::decoded_field& f = d_.fields[i];
            if (f.kind == lib::decoded_field::role::loop)
                put_loop(out, i);
            else
                put(out, f);
        }
        return out;
    }

  private:
    void put_loop(json& out, std::size_t at) {
        const lib::decoded_field& loop = d_.fields[at];
        const lib::field* sole = sole_field(*loop.spec->element);
        std::string key = json_key(*loop.spec);
        if (sole != nullptr && sole->measure != nullptr && *sole->measure->json_suffix != '\0')
            key.append("_").append(sole->measure->json_suffix);
        json& entries = out[key] = json::array();
        for (std::size_t r = at + 1; r < loop.end; r = d_.fields[r].end) {
            json entry = record(r + 1, d_.fields[r].end);
            if (sole == nullptr)
                entries.push_back(std::move(entry));
            else if (!entry.empty())
                entries.push_back(std::move(entry.front()));
        }
    }

    void put(json& out, const lib::decoded_field& f) {
        const lib::field& spec = *f.spec;
        if (!lib::is_shown(spec) || spec.kind == lib::field_kind::length) return;
        const std::string key = json_key(spec);
        switch (spec.kind) {
            case lib::field_kind::text: {
                const std::string_view raw = d_.bytes_of(f);
                out[key] = shown(text_, lib::DvbString::split(raw));
                out[key + "_raw"] = hex_bytes(raw);
                return;
            }
            case lib::field_kind::bytes:
                out[key] = hex_bytes(d_.bytes_of(f));
                return;
            case lib::field_kind::language:
                out[key] = shown_code(lib::language_of(f.value));
                return;
            case lib::field_kind::utc_time:
                out[key] = padded_time(lib::utc_time_of(f.value));
                return;
            case lib::field_kind::duration:
                out[key] = duration_text(lib::duration_of(f.value));
                return;
            case lib::field_kind::specifier:
                out[key] = f.value == lib::decoded_field::no_specifier ? json() : json(f.value);
                break;
            default:
                out[key] = number(spec, f.value);
                break;
        }
        const std::string name = lib::value_name_of(spec, f.value);
        if (!name.empty()) out[key + "_name"] = name;
    }

    static json number(const lib::field& spec, std::uint64_t value) {
        const lib::unit* u = spec.measure;
        if (u == nullptr) return value;
        if (u->divisor == 1) return value * u->multiplier;
        return as_decimal(static_cast<double>(value * u->multiplier) / u->divisor);
    }

    const lib::DescriptorDescribed& d_;
    lib::dvb_text_decoder& text_;
};

}  // namespace

json described_json(const lib::DescriptorDescribed& d, lib::dvb_text_decoder& text) {
    return record_writer(d, text).record(0, d.fields.size());
}

json described_json(const lib::described_record& r, lib::dvb_text_decoder& text) {
    return record_writer(r.descriptor(), text).record(r.first(), r.end());
}

void put_described(json& descriptors, const std::vector<lib::DescriptorDescribed>& described,
                   lib::dvb_text_decoder& text) {
    for (const described_kind& kind : kinds_of(described)) {
        json& list = descriptors[json_key(*kind.what)] = json::array();
        for (const lib::DescriptorDescribed* d : kind.members)
            list.push_back(described_json(*d, text));
    }
}

}  // namespace kestrel::views
