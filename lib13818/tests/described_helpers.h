#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "lib13818/fields/described_loop.h"
#include "lib13818/tests/si_sections.h"

namespace lib13818 {

// A descriptor: tag, the length of `body`, then `body`.
inline Bytes descriptor(std::uint8_t tag, const Bytes& body) {
    return concat({{tag, static_cast<std::uint8_t>(body.size())}, body});
}

// What one descriptor loop decodes into.
struct loop_result {
    std::vector<DescriptorGeneric> general;
    std::vector<DescriptorDescribed> described;
    std::vector<SectionWarning> warnings;
};

inline loop_result read_loop(const Bytes& loop) {
    loop_result out;
    described_loop others(out.general, out.described, out.warnings);
    for_each_descriptor(reader(loop.data(), loop.size()), loop_end::lenient,
                        [&](int, reader d) { others.add(d); });
    return out;
}

// The quantity at `path`: field names, with loop entries by index between them
// ("cells/0/subcells/1/transposer_frequency"); nullopt when a loop has no such entry.
inline std::optional<std::uint64_t> quantity_at(const DescriptorDescribed& d, std::string_view path) {
    described_record r = d.body();
    for (std::size_t slash = path.find('/'); slash != std::string_view::npos; slash = path.find('/')) {
        const auto records = r.records(path.substr(0, slash));
        path.remove_prefix(slash + 1);
        slash = path.find('/');
        const auto index = static_cast<std::size_t>(std::stoul(std::string(path.substr(0, slash))));
        path.remove_prefix(slash + 1);
        if (index >= records.size()) return std::nullopt;
        auto entry = records.begin();
        for (std::size_t i = 0; i < index; ++i)
            ++entry;
        r = *entry;
    }
    return r.quantity(path);
}

// Every bit of the descriptor is covered by exactly one leaf field.
inline void expect_tiled(const DescriptorDescribed& d) {
    std::vector<int> covered(d.raw.size() * 8, 0);
    for (const decoded_field& f : d.fields) {
        if (!f.leaf()) continue;
        const std::size_t first = static_cast<std::size_t>(f.byte - d.byte) * 8 + f.bit;
        ASSERT_LE(first + f.bits, covered.size()) << d.name() << ": " << f.spec->name << " runs past the end";
        for (std::size_t bit = first; bit < first + f.bits; ++bit)
            ++covered[bit];
    }
    for (std::size_t bit = 0; bit < covered.size(); ++bit)
        EXPECT_EQ(covered[bit], 1) << d.name() << ": bit " << bit << " covered " << covered[bit] << " times";
}

struct expected_value {
    const char* path;                    // as quantity_at takes it
    std::optional<std::uint64_t> value;  // nullopt: the field is absent
};

// One descriptor that decodes whole, and values it must decode to.
struct described_case {
    const char* what;
    Bytes bytes;
    const description* kind;
    std::vector<expected_value> values;
};

inline void expect_decoded(const described_case& c) {
    SCOPED_TRACE(c.what);
    const loop_result loop = read_loop(c.bytes);
    ASSERT_EQ(loop.described.size(), 1u);
    EXPECT_TRUE(loop.warnings.empty()) << loop.warnings.front().text;
    const DescriptorDescribed& d = loop.described.front();
    EXPECT_TRUE(d.is(*c.kind)) << d.name();
    for (const expected_value& v : c.values)
        EXPECT_EQ(quantity_at(d, v.path), v.value) << v.path;
    expect_tiled(d);
}

// One descriptor its length cuts short: one warning, and either the values of what it
// still holds or, when it cannot be decoded, its bytes kept generic.
struct truncated_case {
    const char* what;
    Bytes bytes;
    bool decoded;  // false: kept generic
    const char* warning;
    std::vector<expected_value> values;
};

inline void expect_truncated(const truncated_case& c) {
    SCOPED_TRACE(c.what);
    const loop_result loop = read_loop(c.bytes);
    ASSERT_EQ(loop.warnings.size(), 1u);
    EXPECT_NE(loop.warnings[0].text.find(c.warning), std::string::npos) << loop.warnings[0].text;
    EXPECT_LT(loop.warnings[0].byte, c.bytes.size());
    ASSERT_EQ(loop.described.size(), c.decoded ? 1u : 0u);
    ASSERT_EQ(loop.general.size(), c.decoded ? 0u : 1u);
    if (!c.decoded) {
        EXPECT_EQ(loop.general[0].data, Bytes(c.bytes.begin() + 2, c.bytes.end()));
        return;
    }
    for (const expected_value& v : c.values)
        EXPECT_EQ(quantity_at(loop.described[0], v.path), v.value) << v.path;
    expect_tiled(loop.described[0]);
}

}  // namespace lib13818
