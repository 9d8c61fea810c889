#pragma once
// How values travel between Value and SQLite: NULL <-> Null, integers, reals,
// UTF-8 text, and date-times stored as text "YYYY-MM-DD HH:MM:SS".

#include "platform/value/value.h"

#include <optional>
#include <string>
#include <string_view>

struct sqlite3_stmt;

namespace pemvora::data {

// "2008-03-05 14:07:00" (to the second).
std::string dateTimeToSql(DateTime dt);
// Reads "YYYY-MM-DD", "YYYY-MM-DD HH:MM", "YYYY-MM-DD HH:MM:SS[.fff]" (or with a
// "T" between date and time); nullopt for anything else.
std::optional<DateTime> dateTimeFromSql(std::string_view text);

// A column whose declared type names a date or a time holds date-time values.
bool isDateTimeDeclType(const char* declType);

// Binds one parameter (1-based index); returns the SQLite result code.
int bindValue(sqlite3_stmt* stmt, int index, const Value& value);
// Reads one column of the current row; date columns stored as date text come
// back as date-time values.
Value columnValue(sqlite3_stmt* stmt, int column, bool dateColumn);

} // namespace pemvora::data
