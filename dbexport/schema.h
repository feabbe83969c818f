#pragma once

// The export database's schema, held as data: the six tables with their columns in order,
// the thirteen named keys and the two views. The SQL that creates them is built from these
// lists, so the order of tables, columns and keys is the order written here.

#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel::dbexport {

enum class column_type { integer, text };

struct column {
    std::string_view table;
    std::string_view name;
    column_type type;
    int size;  // VARCHAR(size) for text, TEXT for 0; SQLite keeps longer values whole
    bool autoincrement;
};

enum class key_kind { primary, foreign, unique };

struct key {
    std::string_view table;
    std::string_view name;
    key_kind kind;
    std::vector<std::string_view> columns;
    std::string_view related_table;  // foreign keys only, over the same column names
};

struct view {
    std::string_view name;
    std::string_view select;
};

std::span<const std::string_view> table_names();
std::span<const column> columns();
std::span<const key> keys();
std::span<const view> views();

// "CREATE TABLE ..." for one table: its columns, then its keys as named constraints. An
// autoincrement column carries its primary key inline, the one place SQLite accepts
// AUTOINCREMENT.
std::string create_table_sql(std::string_view table);
std::string create_view_sql(const view& v);
// "INSERT INTO table (...) VALUES (?1, ...)" over every column but the autoincrement one,
// in column order.
std::string insert_sql(std::string_view table);

}  // namespace kestrel::dbexport
