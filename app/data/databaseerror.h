#pragma once
// The one exception type of the database layer. Its text is meant for the
// application's error box: it names the file or the statement and says what
// went wrong in words a user can act on.

#include <stdexcept>
#include <string>

namespace pemvora::data {

enum class DbErrorKind {
    MissingFile,    // the database file does not exist
    NotADatabase,   // wrong password, or the file is not a database at all
    Locked,         // another program holds the file
    ReadOnly,       // the file or its folder cannot be written
    Constraint,     // the table refused the row
    Usage,          // an operation the dataset cannot do in its state
    Other,
};

class DatabaseError : public std::runtime_error {
public:
    DatabaseError(DbErrorKind kind, const std::string& message)
        : std::runtime_error(message), kind_(kind) {}
    DbErrorKind kind() const { return kind_; }

private:
    DbErrorKind kind_;
};

} // namespace pemvora::data
