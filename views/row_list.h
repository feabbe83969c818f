#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "views/value_rows.h"

namespace kestrel::views {

// The field names of one record kind, split once from their comma-separated list.
class field_list {
  public:
    explicit field_list(std::string_view names);
    const std::vector<std::string>& names() const { return names_; }

  private:
    std::vector<std::string> names_;
};

// The rows of one record: every name of its field list with an empty value, filled front
// to back by the builder; rows it does not fill stay empty.
class row_list {
  public:
    explicit row_list(const field_list& fields);

    void add(std::string value);
    void add_na() { add("N/A"); }
    void add_empty() { add({}); }
    // A PID row: streaming the PID is offered on it.
    void add_pid(std::string value, std::int32_t pid);
    // The first 100 bytes in hex, a bytes row when there are any.
    void add_bytes(const std::vector<std::uint8_t>& bytes);

    std::vector<value_row> take() { return std::move(rows_); }

  private:
    value_row& next() { return rows_.at(next_++); }

    std::vector<value_row> rows_;
    std::size_t next_ = 0;
};

// At most the first 100 bytes as "%02X", a blank between two bytes.
std::string byte_dump(std::span<const std::uint8_t> bytes);

}  // namespace kestrel::views
