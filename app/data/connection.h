#pragma once
// A connection to one password-protected SQLCipher database file.
//
// Opening keys the connection before any statement and then reads from the
// file, because a wrong key only shows at the first read. An existing database
// is opened read-write and never created: a missing file is an error, so a
// mistyped path can never leave a new empty database behind.

#include "app/data/databaseerror.h"
#include "platform/value/value.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace pemvora::data {

inline constexpr int kDefaultBusyTimeoutMs = 2000;

class Connection;

// One prepared statement; move-only, finalised on destruction.
class Statement {
public:
    Statement() = default;
    Statement(Connection& connection, sqlite3_stmt* stmt) : connection_(&connection), stmt_(stmt) {}
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    ~Statement();

    // Binds the values to the parameters 1..n; too many values is an error.
    void bind(const std::vector<Value>& params);
    // Runs to the next row: true while there is one.
    bool step();
    void reset();

    int columnCount() const;
    std::string columnName(int column) const;
    const char* declType(int column) const;     // may be null (an expression)
    const char* tableName(int column) const;    // the table a column comes from, or null
    const char* originName(int column) const;   // its name in that table, or null
    Value value(int column, bool dateColumn = false) const;

    sqlite3_stmt* handle() const { return stmt_; }

private:
    Connection* connection_ = nullptr;
    sqlite3_stmt* stmt_ = nullptr;
};

class Connection {
public:
    enum class Mode { Existing, CreateNew };

    Connection() = default;
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;
    ~Connection();

    // Opens (Existing) or creates (CreateNew: the file must not exist yet) the
    // database at `path` with the password. Throws DatabaseError with a message
    // that names the file: missing, wrong password / not a database, locked.
    // Opening an open connection does nothing.
    void open(const std::string& path, const std::string& password, Mode mode = Mode::Existing,
              int busyTimeoutMs = kDefaultBusyTimeoutMs);
    void close();
    bool isOpen() const { return db_ != nullptr; }
    const std::string& path() const { return path_; }

    // Prepares exactly one statement (trailing blanks and one ";" allowed).
    Statement prepare(std::string_view sql);
    // Prepares, binds and runs one statement to its end.
    void execute(std::string_view sql, const std::vector<Value>& params = {});

    std::int64_t lastInsertRowid() const;
    int changes() const;
    bool inTransaction() const;

    // Throws the DatabaseError for an SQLite result code, with `context` first.
    [[noreturn]] void raise(int rc, std::string_view context) const;

    sqlite3* handle() const { return db_; }

private:
    sqlite3* db_ = nullptr;
    std::string path_;
};

// One transaction (or a savepoint inside an open one). Rolls back unless
// commit() was called.
class Transaction {
public:
    explicit Transaction(Connection& connection);
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;
    ~Transaction();
    void commit();

private:
    Connection& connection_;
    bool nested_ = false;
    bool done_ = false;
};

} // namespace pemvora::data
