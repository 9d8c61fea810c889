#include "app/data/sqlvalue.h"

#include <sqlcipher/sqlite3.h>

#include <fmt/format.h>

#include <cctype>
#include <charconv>
#include <cmath>

namespace pemvora::data {

std::string dateTimeToSql(DateTime dt)
{
    // Round to the second first, so 23:59:59.7 becomes the next day, not "60".
    const double days = std::round(dt.days * 86400.0) / 86400.0;
    const DateTime rounded{days + (days < 0 ? -1e-9 : 1e-9)};
    const DateParts d = decodeDate(rounded);
    const TimeParts t = decodeTime(rounded);
    return fmt::format("{:04}-{:02}-{:02} {:02}:{:02}:{:02}", d.year, d.month, d.day, t.hour,
                       t.minute, t.second);
}

namespace {

// Reads exactly `width` digits at `pos`.
bool readDigits(std::string_view text, std::size_t& pos, int width, int& out)
{
    if (pos + width > text.size()) return false;
    const char* first = text.data() + pos;
    for (int i = 0; i < width; ++i)
        if (!std::isdigit(static_cast<unsigned char>(first[i]))) return false;
    std::from_chars(first, first + width, out);
    pos += width;
    return true;
}

bool expect(std::string_view text, std::size_t& pos, char c)
{
    if (pos >= text.size() || text[pos] != c) return false;
    ++pos;
    return true;
}

} // namespace

std::optional<DateTime> dateTimeFromSql(std::string_view text)
{
    std::size_t pos = 0;
    DateParts d;
    TimeParts t;
    if (!readDigits(text, pos, 4, d.year) || !expect(text, pos, '-') ||
        !readDigits(text, pos, 2, d.month) || !expect(text, pos, '-') ||
        !readDigits(text, pos, 2, d.day))
        return std::nullopt;
    if (!isValidDate(d.year, d.month, d.day)) return std::nullopt;
    if (pos < text.size()) {
        if (text[pos] != ' ' && text[pos] != 'T') return std::nullopt;
        ++pos;
        if (!readDigits(text, pos, 2, t.hour) || !expect(text, pos, ':') ||
            !readDigits(text, pos, 2, t.minute))
            return std::nullopt;
        if (pos < text.size()) {
            if (!expect(text, pos, ':') || !readDigits(text, pos, 2, t.second)) return std::nullopt;
            if (pos < text.size()) {
                if (!expect(text, pos, '.')) return std::nullopt;
                const std::size_t start = pos;
                while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
                if (pos == start || pos != text.size()) return std::nullopt;
                const std::string_view frac = text.substr(start, std::min<std::size_t>(3, pos - start));
                int ms = 0;
                std::from_chars(frac.data(), frac.data() + frac.size(), ms);
                for (std::size_t n = frac.size(); n < 3; ++n) ms *= 10;
                t.millisecond = ms;
            }
        }
        if (t.hour > 23 || t.minute > 59 || t.second > 59) return std::nullopt;
    }
    return encodeDateTime(d, t);
}

bool isDateTimeDeclType(const char* declType)
{
    if (!declType) return false;
    std::string upper(declType);
    for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper.find("DATE") != std::string::npos || upper.find("TIME") != std::string::npos;
}

int bindValue(sqlite3_stmt* stmt, int index, const Value& value)
{
    switch (value.kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: return sqlite3_bind_null(stmt, index);
    case ValueKind::Integer: return sqlite3_bind_int64(stmt, index, value.integer());
    case ValueKind::Double: return sqlite3_bind_double(stmt, index, value.dbl());
    case ValueKind::Boolean: return sqlite3_bind_int(stmt, index, value.boolean() ? 1 : 0);
    case ValueKind::String:
        return sqlite3_bind_text(stmt, index, value.string().data(),
                                 static_cast<int>(value.string().size()), SQLITE_TRANSIENT);
    case ValueKind::DateTime: {
        const std::string text = dateTimeToSql(value.dateTime());
        return sqlite3_bind_text(stmt, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT);
    }
    }
    return SQLITE_MISUSE;
}

Value columnValue(sqlite3_stmt* stmt, int column, bool dateColumn)
{
    switch (sqlite3_column_type(stmt, column)) {
    case SQLITE_NULL: return Value::null();
    case SQLITE_INTEGER: return Value(static_cast<long long>(sqlite3_column_int64(stmt, column)));
    case SQLITE_FLOAT: return Value(sqlite3_column_double(stmt, column));
    default: break;
    }
    const auto* bytes = static_cast<const char*>(sqlite3_column_blob(stmt, column));
    const int size = sqlite3_column_bytes(stmt, column);
    std::string_view text(bytes ? bytes : "", static_cast<std::size_t>(size));
    if (dateColumn)
        if (const auto dt = dateTimeFromSql(text)) return Value(*dt);
    return Value(text);
}

} // namespace pemvora::data
