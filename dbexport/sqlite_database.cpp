#include "dbexport/sqlite_database.h"

#include <sqlite3.h>

#include "dbexport/export_failure.h"

namespace kestrel::dbexport {

namespace {

std::string sqlite_failure_text(sqlite3* db) {
    if (db == nullptr) return failure_text(SQLITE_NOMEM, sqlite3_errstr(SQLITE_NOMEM), "SQLite");
    return failure_text(sqlite3_extended_errcode(db), sqlite3_errmsg(db), "SQLite");
}

}  // namespace

void fail_with_sqlite(sqlite3* db) {
    throw export_failure(sqlite_failure_text(db));
}

sqlite_statement::sqlite_statement(sqlite3* db, const std::string& sql) : db_(db) {
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()) + 1, &statement_, nullptr) !=
        SQLITE_OK)
        fail_with_sqlite(db_);
}

sqlite_statement::~sqlite_statement() {
    sqlite3_finalize(statement_);
}

void sqlite_statement::expect_parameters(int count) const {
    if (sqlite3_bind_parameter_count(statement_) != count)
        throw export_failure(
            failure_text(SQLITE_RANGE, "wrong number of values for the statement", "SQLite"));
}

void sqlite_statement::bind(int index, std::int64_t value) {
    if (sqlite3_bind_int64(statement_, index, value) != SQLITE_OK) fail_with_sqlite(db_);
}

void sqlite_statement::bind(int index, std::string_view text) {
    if (sqlite3_bind_text64(statement_, index, text.data(), text.size(), SQLITE_TRANSIENT, SQLITE_UTF8) !=
        SQLITE_OK)
        fail_with_sqlite(db_);
}

void sqlite_statement::bind_null(int index) {
    if (sqlite3_bind_null(statement_, index) != SQLITE_OK) fail_with_sqlite(db_);
}

void sqlite_statement::step_and_reset() {
    if (sqlite3_step(statement_) != SQLITE_DONE) {
        const std::string text = sqlite_failure_text(db_);  // before the reset can touch it
        sqlite3_reset(statement_);
        throw export_failure(text);
    }
    sqlite3_reset(statement_);
}

sqlite_database::sqlite_database(const std::string& path) {
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) return;
    const std::string text = sqlite_failure_text(db_);
    sqlite3_close(db_);  // a failed open still hands back a handle to release
    db_ = nullptr;
    throw export_failure(text);
}

sqlite_database::~sqlite_database() {
    sqlite3_close_v2(db_);
}

void sqlite_database::execute(const std::string& sql) {
    if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) fail_with_sqlite(db_);
}

void sqlite_database::close() {
    if (sqlite3_close(db_) != SQLITE_OK) fail_with_sqlite(db_);
    db_ = nullptr;
}

}  // namespace kestrel::dbexport
