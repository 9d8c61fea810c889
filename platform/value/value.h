#pragma once
// Value: the variant that expressions, variables, object properties, function
// arguments and database columns pass around.
//
// Kinds: empty (nothing assigned), Null (a known absence, as a database NULL),
// integer, double, string (bytes: GBK inside the report engine, UTF-8 in the
// cheque database), boolean and date-time.

#include "platform/value/datetime.h"

#include <cstdint>
#include <stdexcept>
#include <string>
#include <variant>

namespace pemvora {

struct Locale;

// A value that cannot be converted to the kind asked for.
class ConversionError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum class ValueKind { Empty, Null, Integer, Double, String, Boolean, DateTime };

const char* kindName(ValueKind kind);

class Value {
public:
    Value() = default;                        // empty
    static Value null() { Value v; v.data_ = NullTag{}; return v; }

    Value(int v) : data_(std::int64_t(v)) {}
    Value(long v) : data_(std::int64_t(v)) {}
    Value(long long v) : data_(std::int64_t(v)) {}
    Value(unsigned v) : data_(std::int64_t(v)) {}
    Value(double v) : data_(v) {}
    Value(bool v) : data_(v) {}
    Value(DateTime v) : data_(v) {}
    Value(std::string v) : data_(std::move(v)) {}
    Value(std::string_view v) : data_(std::string(v)) {}
    Value(const char* v) : data_(std::string(v)) {}

    ValueKind kind() const { return static_cast<ValueKind>(data_.index()); }
    bool isEmpty() const { return kind() == ValueKind::Empty; }
    bool isNull() const { return kind() == ValueKind::Null; }
    bool isEmptyOrNull() const { return isEmpty() || isNull(); }
    bool isInteger() const { return kind() == ValueKind::Integer; }
    bool isDouble() const { return kind() == ValueKind::Double; }
    bool isNumber() const { return isInteger() || isDouble(); }
    bool isString() const { return kind() == ValueKind::String; }
    bool isBoolean() const { return kind() == ValueKind::Boolean; }
    bool isDateTime() const { return kind() == ValueKind::DateTime; }

    // Direct access; only valid for the matching kind.
    std::int64_t integer() const { return std::get<std::int64_t>(data_); }
    double dbl() const { return std::get<double>(data_); }
    const std::string& string() const { return std::get<std::string>(data_); }
    bool boolean() const { return std::get<bool>(data_); }
    DateTime dateTime() const { return std::get<DateTime>(data_); }

    // Conversions. Empty reads as "", 0, false; Null reads as "" but raises
    // ConversionError as a number, integer, boolean or date. Booleans read as
    // 1 and 0 and as "True" and "False"; a string is parsed.
    std::string toText() const;
    std::string toText(const Locale& locale) const;
    double toNumber() const;
    double toNumber(const Locale& locale) const;
    // Doubles round half to even; strings read as integers, else as numbers rounded.
    std::int64_t toInteger() const;
    // As toInteger, but also raises ConversionError outside the 32-bit range.
    int toInt32() const;
    bool toBoolean() const;
    DateTime toDateTime() const;
    DateTime toDateTime(const Locale& locale) const;

    // Same kind and same content (no conversion); for tests and caches.
    friend bool operator==(const Value& a, const Value& b) { return a.data_ == b.data_; }

private:
    struct NullTag {
        friend bool operator==(NullTag, NullTag) { return true; }
    };
    // Order matches ValueKind.
    std::variant<std::monostate, NullTag, std::int64_t, double, std::string, bool, DateTime> data_;
};

} // namespace pemvora
