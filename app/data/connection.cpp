#include "app/data/connection.h"

#include "app/data/sqlvalue.h"

#include <sqlcipher/sqlite3.h>

#include <fmt/format.h>

#include <cctype>
#include <filesystem>
#include <system_error>

namespace pemvora::data {

// ---- Statement ----

Statement::Statement(Statement&& other) noexcept
    : connection_(other.connection_), stmt_(other.stmt_)
{
    other.stmt_ = nullptr;
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        connection_ = other.connection_;
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

void Statement::bind(const std::vector<Value>& params)
{
    const int expected = sqlite3_bind_parameter_count(stmt_);
    if (static_cast<int>(params.size()) > expected)
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("The statement takes {} parameter(s) but {} were given",
                                        expected, params.size()));
    for (std::size_t i = 0; i < params.size(); ++i) {
        const int rc = bindValue(stmt_, static_cast<int>(i) + 1, params[i]);
        if (rc != SQLITE_OK) connection_->raise(rc, "Cannot bind a parameter");
    }
}

bool Statement::step()
{
    const int rc = sqlite3_step(stmt_);
    if (rc == SQLITE_ROW) return true;
    if (rc == SQLITE_DONE) return false;
    const char* sql = sqlite3_sql(stmt_);
    connection_->raise(rc, fmt::format("Statement failed ({})", sql ? sql : ""));
}

void Statement::reset()
{
    sqlite3_reset(stmt_);
}

int Statement::columnCount() const { return sqlite3_column_count(stmt_); }
std::string Statement::columnName(int column) const
{
    const char* name = sqlite3_column_name(stmt_, column);
    return name ? name : "";
}
const char* Statement::declType(int column) const { return sqlite3_column_decltype(stmt_, column); }
const char* Statement::tableName(int column) const { return sqlite3_column_table_name(stmt_, column); }
const char* Statement::originName(int column) const { return sqlite3_column_origin_name(stmt_, column); }
Value Statement::value(int column, bool dateColumn) const { return columnValue(stmt_, column, dateColumn); }

// ---- Connection ----

namespace {

DatabaseError notAChequeDatabase(const std::string& path)
{
    return DatabaseError(DbErrorKind::NotADatabase,
                         fmt::format("The database file '{}' cannot be read: the password is "
                                     "wrong or the file is not a cheque database",
                                     path));
}

} // namespace

Connection::~Connection()
{
    close();
}

void Connection::raise(int rc, std::string_view context) const
{
    const int primary = rc & 0xff;
    const std::string detail = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
    switch (primary) {
    case SQLITE_NOTADB:
        throw notAChequeDatabase(path_);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
        throw DatabaseError(DbErrorKind::Locked,
                            fmt::format("{}: the database file '{}' is locked by another program; "
                                        "try again when it is free",
                                        context, path_));
    case SQLITE_READONLY:
        throw DatabaseError(DbErrorKind::ReadOnly,
                            fmt::format("{}: the database file '{}' cannot be written ({})",
                                        context, path_, detail));
    case SQLITE_CONSTRAINT:
        throw DatabaseError(DbErrorKind::Constraint, fmt::format("{}: {}", context, detail));
    default:
        throw DatabaseError(DbErrorKind::Other, fmt::format("{}: {}", context, detail));
    }
}

void Connection::open(const std::string& path, const std::string& password, Mode mode,
                      int busyTimeoutMs)
{
    if (db_) return;
    path_ = path;
    std::error_code ec;
    const bool exists = std::filesystem::exists(path, ec);
    if (mode == Mode::Existing && !exists)
        throw DatabaseError(DbErrorKind::MissingFile,
                            fmt::format("The database file '{}' does not exist", path));
    if (mode == Mode::CreateNew && exists)
        throw DatabaseError(DbErrorKind::Usage,
                            fmt::format("The file '{}' exists already", path));
    // SQLite takes an empty file for an empty database; it holds no cheques.
    if (mode == Mode::Existing && std::filesystem::is_regular_file(path, ec)
        && std::filesystem::file_size(path, ec) == 0 && !ec)
        throw notAChequeDatabase(path);

    int flags = SQLITE_OPEN_READWRITE;
    if (mode == Mode::CreateNew) flags |= SQLITE_OPEN_CREATE;
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string detail = db ? sqlite3_errmsg(db) : sqlite3_errstr(rc);
        sqlite3_close(db);
        if ((rc & 0xff) == SQLITE_CANTOPEN && !std::filesystem::exists(path, ec))
            throw DatabaseError(DbErrorKind::MissingFile,
                                fmt::format("The database file '{}' does not exist", path));
        throw DatabaseError(DbErrorKind::Other,
                            fmt::format("Cannot open the database file '{}': {}", path, detail));
    }
    db_ = db;
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    try {
        // An empty password means no encryption (SQLCipher refuses an empty key).
        if (!password.empty()) {
            rc = sqlite3_key(db_, password.data(), static_cast<int>(password.size()));
            if (rc != SQLITE_OK) raise(rc, fmt::format("Cannot open the database file '{}'", path));
        }
        // The key is only checked when the first page is read.
        Statement check = prepare("SELECT count(*) FROM sqlite_master");
        check.step();
    } catch (const DatabaseError& e) {
        close();
        if (e.kind() == DbErrorKind::Locked)
            throw DatabaseError(DbErrorKind::Locked,
                                fmt::format("The database file '{}' is locked by another program; "
                                            "try again when it is free",
                                            path));
        throw;
    }
}

void Connection::close()
{
    if (!db_) return;
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

Statement Connection::prepare(std::string_view sql)
{
    if (!db_) throw DatabaseError(DbErrorKind::Usage, "The database connection is not open");
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    const int rc = sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, &tail);
    if (rc != SQLITE_OK) {
        sqlite3_finalize(stmt);
        raise(rc, fmt::format("Cannot run the statement ({})", sql));
    }
    if (!stmt)
        throw DatabaseError(DbErrorKind::Usage, fmt::format("The statement is empty ({})", sql));
    Statement result(*this, stmt);
    for (const char* p = tail; p && p < sql.data() + sql.size(); ++p)
        if (!std::isspace(static_cast<unsigned char>(*p)) && *p != ';')
            throw DatabaseError(DbErrorKind::Usage,
                                fmt::format("Only one statement can be run at a time ({})", sql));
    return result;
}

void Connection::execute(std::string_view sql, const std::vector<Value>& params)
{
    Statement stmt = prepare(sql);
    stmt.bind(params);
    while (stmt.step()) {
    }
}

std::int64_t Connection::lastInsertRowid() const { return sqlite3_last_insert_rowid(db_); }
int Connection::changes() const { return sqlite3_changes(db_); }
bool Connection::inTransaction() const { return db_ && !sqlite3_get_autocommit(db_); }

// ---- Transaction ----

Transaction::Transaction(Connection& connection) : connection_(connection)
{
    nested_ = connection_.inTransaction();
    connection_.execute(nested_ ? "SAVEPOINT pemvora_write" : "BEGIN IMMEDIATE");
}

void Transaction::commit()
{
    connection_.execute(nested_ ? "RELEASE pemvora_write" : "COMMIT");
    done_ = true;
}

Transaction::~Transaction()
{
    if (done_) return;
    try {
        if (nested_) {
            connection_.execute("ROLLBACK TO pemvora_write");
            connection_.execute("RELEASE pemvora_write");
        } else if (connection_.inTransaction()) {
            connection_.execute("ROLLBACK");
        }
    } catch (const DatabaseError&) {
        // Nothing more can be done here; SQLite rolls back on close.
    }
}

} // namespace pemvora::data
