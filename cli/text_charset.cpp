#include "cli/text_charset.h"

#include <deque>

#include "lib13818/core/error.h"
#include "lib13818/tables/selectorless_texts.h"

namespace kestrel::cli {

namespace {

std::string& override_name() {
    static std::string name;
    return name;
}

template <class Table>
void collect(std::span<const std::uint8_t> section, std::deque<Table>& tables,
             std::vector<std::string_view>& texts) {
    Table table;
    try {
        table.parse(section.data(), section.size());
    } catch (const lib13818::error&) {
        return;
    }
    // A deque keeps the tables where they are, so the views into them stay valid.
    lib13818::collect_selectorless_texts(tables.emplace_back(std::move(table)), texts);
}

}  // namespace

void set_charset_override(std::string name) {
    override_name() = std::move(name);
}

const std::string& charset_override() {
    return override_name();
}

std::string default_charset(const std::vector<std::string_view>& selectorless_texts) {
    if (!charset_override().empty()) return charset_override();
    return lib13818::guess_default_charset(selectorless_texts);
}

lib13818::dvb_text_decoder sections_text_decoder(const std::vector<std::span<const std::uint8_t>>& sections) {
    if (!charset_override().empty()) return lib13818::dvb_text_decoder(charset_override());
    std::deque<lib13818::Eit> eits;
    std::deque<lib13818::Sdt> sdts;
    std::vector<std::string_view> texts;
    for (const auto section : sections) {
        const std::uint8_t id = section.empty() ? 0 : section[0];
        if (id == 0x42 || id == 0x46) collect(section, sdts, texts);
        if (id >= 0x4E && id <= 0x6F) collect(section, eits, texts);
    }
    return lib13818::dvb_text_decoder(default_charset(texts));
}

}  // namespace kestrel::cli
