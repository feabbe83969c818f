#include "views/row_list.h"

namespace kestrel::views {

field_list::field_list(std::string_view names) {
    while (!names.empty()) {
        const std::size_t comma = names.find(',');
        names_.emplace_back(names.substr(0, comma));
        names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
    }
}

row_list::row_list(const field_list& fields) {
    rows_.reserve(fields.names().size());
    for (const std::string& name : fields.names())
        rows_.push_back({name, {}});
}

void row_list::add(std::string value) {
    next().value = std::move(value);
}

void row_list::add_pid(std::string value, std::int32_t pid) {
    value_row& row = next();
    row.value = std::move(value);
    row.kind = row_kind::pid;
    row.pid = pid;
}

void row_list::add_bytes(const std::vector<std::uint8_t>& bytes) {
    value_row& row = next();
    row.value = byte_dump(bytes);
    if (bytes.empty()) return;
    row.kind = row_kind::bytes;
    row.bytes = &bytes;
}

std::string byte_dump(std::span<const std::uint8_t> bytes) {
    static constexpr char digits[] = "0123456789ABCDEF";
    const std::size_t shown = std::min<std::size_t>(bytes.size(), 100);
    std::string out;
    out.reserve(shown * 3);
    for (std::size_t i = 0; i < shown; ++i) {
        if (i > 0) out += ' ';
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 0x0F];
    }
    return out;
}

}  // namespace kestrel::views
