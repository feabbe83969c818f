#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <optional>
#include <string>

#include "lib13818/core/crc32.h"
#include "lib13818/fields/catalogue.h"
#include "lib13818/fields/header_fields.h"
#include "lib13818/tables/bat.h"
#include "lib13818/tables/eit.h"
#include "lib13818/tables/nit.h"
#include "lib13818/tables/pat.h"
#include "lib13818/tables/pmt.h"
#include "lib13818/tables/sdt.h"
#include "lib13818/tables/tot.h"
#include "lib13818/tests/capture_sections.h"
#include "lib13818/tests/si_sections.h"

namespace lib13818 {
namespace {

// Walks a description as the reader will, checking what a description can get wrong: a
// condition or extent naming no earlier integer field in scope, a text, bytes or loop that
// starts between bytes, an integer wider than 64 bits, a loop entry of no fields.
class description_check {
  public:
    explicit description_check(const description& d) : where_(d.name) {
        names_ = {header_fields::tag.name, header_fields::length.name, header_fields::extension.name};
        walk(d.body);
    }

  private:
    void walk(const record& r) {
        for (const field& f : r.fields)
            check(f);
    }

    void check(const field& f) {
        if (f.when.field != nullptr) expect_named(f.when.field, f);
        if (f.span.field != nullptr) expect_named(f.span.field, f);
        switch (f.kind) {
            case field_kind::text:
            case field_kind::bytes:
                expect_aligned(f);
                return;
            case field_kind::loop: {
                expect_aligned(f);
                EXPECT_FALSE(f.element->fields.empty()) << where_ << ": " << f.name;
                const std::size_t outer = names_.size();
                walk(*f.element);
                EXPECT_EQ(phase_, 0u) << where_ << ": entries of " << f.name << " end between bytes";
                names_.resize(outer);
                return;
            }
            case field_kind::group: {
                if (f.span.how != extent::kind::rest) expect_aligned(f);
                const std::optional<unsigned> before = phase_;
                walk(*f.element);
                // An optional group that ends between bytes leaves the position unknown.
                if (f.when.test != condition::kind::always && phase_ != before) phase_.reset();
                return;
            }
            case field_kind::specifier:
                return;
            default:
                EXPECT_LE(f.bits, 64) << where_ << ": " << f.name;
                names_.push_back(f.name);
                if (phase_) phase_ = (*phase_ + f.bits) % 8;
                if (f.when.test != condition::kind::always && f.bits % 8 != 0) phase_.reset();
        }
    }

    void expect_named(const char* name, const field& f) const {
        EXPECT_TRUE(std::any_of(names_.begin(), names_.end(),
                                [&](const char* n) { return std::strcmp(n, name) == 0; }))
            << where_ << ": " << f.name << " names " << name << ", which is not read before it";
    }
    void expect_aligned(const field& f) const {
        EXPECT_EQ(phase_, 0u) << where_ << ": " << f.name << " does not start on a byte";
    }

    const char* where_;
    std::vector<const char*> names_;
    std::optional<unsigned> phase_ = 0;
};

TEST(DescribedCatalogue, EveryDescriptionReadsItsOwnFields) {
    for (const description* d : catalogue())
        description_check check(*d);
}

TEST(DescribedCatalogue, KeysFindTheirDescriptions) {
    for (const description* d : catalogue()) {
        if (d == &descriptions::extension || d == &descriptions::user_defined) continue;
        EXPECT_EQ(find_description(d->tag, d->extension, d->private_data_specifier), d) << d->name;
    }
    EXPECT_EQ(find_description(0x7F, 0x42, decoded_field::no_specifier), &descriptions::extension);
    EXPECT_EQ(find_description(0x83, description::no_extension, 0x12345678), &descriptions::user_defined);
    EXPECT_EQ(find_description(0x01, description::no_extension, 0x28), nullptr);
    EXPECT_EQ(find_description(0xFF, description::no_extension, decoded_field::no_specifier), nullptr);
}

// Every generic descriptor of a section's loops.
template <class Table>
void collect_generic(const std::vector<std::uint8_t>& bytes, std::vector<DescriptorGeneric>& out,
                     std::vector<SectionWarning>& warnings) {
    Table t;
    t.parse(bytes.data(), bytes.size());
    auto add = [&](const std::vector<DescriptorGeneric>& general) {
        out.insert(out.end(), general.begin(), general.end());
    };
    if constexpr (std::is_same_v<Table, Nit> || std::is_same_v<Table, Bat>) {
        add(t.descriptors);
        for (const auto& ts : t.transport_streams)
            add(ts.general);
    } else if constexpr (std::is_same_v<Table, Sdt>) {
        for (const auto& s : t.services)
            add(s.general);
    } else if constexpr (std::is_same_v<Table, Eit>) {
        for (const auto& e : t.events)
            add(e.general);
    } else if constexpr (std::is_same_v<Table, Pmt>) {
        add(t.general);
        for (const auto& s : t.streams)
            add(s.general);
    } else {
        add(t.general);
    }
    warnings.insert(warnings.end(), t.warnings.begin(), t.warnings.end());
}

TEST(DescribedCatalogue, NoStandardDescriptorOfTheCapturesStaysGeneric) {
    const std::vector<std::string> files = capture_files();
    if (files.empty()) GTEST_SKIP() << "no captures in " KESTREL_SHARED_DIR "/captures";
    std::map<int, int> generic_by_tag;
    std::vector<SectionWarning> warnings;
    std::size_t sections = 0;
    for (const std::string& file : files) {
        std::set<std::uint16_t> pids;
        for (std::uint16_t pid = 0; pid < 0x20; ++pid)
            pids.insert(pid);
        for (const CapturedSection& s : capture_sections(file, {0x00}))
            if (s.bytes[0] == 0x00 && crc32(s.bytes.data(), s.bytes.size()) == 0)
                for (const PatProgram& p : parse_as<Pat>(s.bytes).programs)
                    pids.insert(static_cast<std::uint16_t>(p.PID));
        for (const CapturedSection& s : capture_sections(file, pids)) {
            const std::uint8_t id = s.bytes[0];
            const bool long_form = (s.bytes[1] & 0x80) != 0;
            if (long_form && crc32(s.bytes.data(), s.bytes.size()) != 0) continue;
            std::vector<DescriptorGeneric> generic;
            try {
                if (id == 0x02) collect_generic<Pmt>(s.bytes, generic, warnings);
                if (id == 0x40 || id == 0x41) collect_generic<Nit>(s.bytes, generic, warnings);
                if (id == 0x42 || id == 0x46) collect_generic<Sdt>(s.bytes, generic, warnings);
                if (id == 0x4A) collect_generic<Bat>(s.bytes, generic, warnings);
                if (id >= 0x4E && id <= 0x6F) collect_generic<Eit>(s.bytes, generic, warnings);
                if (id == 0x73) collect_generic<Tot>(s.bytes, generic, warnings);
            } catch (const error& e) {
                ADD_FAILURE() << file << ": table_id " << int{id} << ": " << e.what();
            }
            ++sections;
            for (const DescriptorGeneric& g : generic)
                if (g.descriptor_tag < 0x80) ++generic_by_tag[g.descriptor_tag];
        }
    }
    EXPECT_GT(sections, 0u);
    for (const auto& [tag, count] : generic_by_tag)
        ADD_FAILURE() << count << " descriptors of tag " << tag << " stay generic";
    for (const SectionWarning& w : warnings)
        ADD_FAILURE() << "warning at byte " << w.byte << ": " << w.text;
}

}  // namespace
}  // namespace lib13818
