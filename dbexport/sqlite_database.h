#pragma once

// A thin owner of one SQLite connection and its prepared statements. Every failure throws
// export_failure with the extended result code, sqlite3_errmsg (UTF-8) and "SQLite".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace kestrel::dbexport {

class sqlite_statement {
  public:
    sqlite_statement(sqlite3* db, const std::string& sql);
    ~sqlite_statement();
    sqlite_statement(const sqlite_statement&) = delete;
    sqlite_statement& operator=(const sqlite_statement&) = delete;

    // Binds one value per parameter, in order (an empty optional as NULL), runs the statement
    // once and resets it.
    template <class... Values>
    void run(const Values&... values) {
        expect_parameters(sizeof...(Values));
        int index = 0;
        (bind(++index, values), ...);
        step_and_reset();
    }

  private:
    void expect_parameters(int count) const;
    void bind(int index, std::int64_t value);
    void bind(int index, std::string_view text);
    template <class T>
    void bind(int index, const std::optional<T>& value) {
        if (value)
            bind(index, *value);
        else
            bind_null(index);
    }
    void bind_null(int index);
    void step_and_reset();

    sqlite3* db_;
    sqlite3_stmt* statement_ = nullptr;
};

class sqlite_database {
  public:
    // Opens an existing file for reading and writing; a failed open closes its handle
    // before it throws.
    explicit sqlite_database(const std::string& path);
    // Closes without checking; close() is the checked way.
    ~sqlite_database();
    sqlite_database(const sqlite_database&) = delete;
    sqlite_database& operator=(const sqlite_database&) = delete;

    void execute(const std::string& sql);
    sqlite3* handle() const { return db_; }
    void close();

  private:
    sqlite3* db_ = nullptr;
};

// The connection's last error as the export's failure.
[[noreturn]] void fail_with_sqlite(sqlite3* db);

}  // namespace kestrel::dbexport
