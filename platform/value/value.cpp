#include "platform/value/value.h"

#include "platform/value/locale.h"
#include "platform/value/numbertext.h"

#include <cmath>
#include <limits>

#include <fmt/format.h>

namespace pemvora {

namespace {

[[noreturn]] void cannotConvert(ValueKind from, const char* to)
{
    throw ConversionError(fmt::format("Could not convert variant of type ({}) into type ({})", kindName(from), to));
}

std::int64_t doubleToInteger(double d)
{
    const double r = roundHalfEven(d);
    // 2^63 is exactly representable; anything at or beyond it does not fit.
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0))
        throw ConversionError(fmt::format("'{}' is out of the integer range", formatNumber(d)));
    return static_cast<std::int64_t>(r);
}

} // namespace

const char* kindName(ValueKind kind)
{
    switch (kind) {
    case ValueKind::Empty: return "Empty";
    case ValueKind::Null: return "Null";
    case ValueKind::Integer: return "Integer";
    case ValueKind::Double: return "Double";
    case ValueKind::String: return "String";
    case ValueKind::Boolean: return "Boolean";
    case ValueKind::DateTime: return "Date";
    }
    return "Unknown";
}

std::string Value::toText() const { return toText(defaultLocale()); }

std::string Value::toText(const Locale& locale) const
{
    switch (kind()) {
    case ValueKind::Empty:
    case ValueKind::Null: return {};
    case ValueKind::Integer: return formatInteger(integer());
    case ValueKind::Double: return formatNumber(dbl(), locale.decimalSeparator);
    case ValueKind::String: return string();
    case ValueKind::Boolean: return boolean() ? "True" : "False";
    case ValueKind::DateTime: return dateTimeToText(dateTime(), locale);
    }
    return {};
}

double Value::toNumber() const { return toNumber(defaultLocale()); }

double Value::toNumber(const Locale& locale) const
{
    switch (kind()) {
    case ValueKind::Empty: return 0;
    case ValueKind::Integer: return static_cast<double>(integer());
    case ValueKind::Double: return dbl();
    case ValueKind::Boolean: return boolean() ? 1 : 0;
    case ValueKind::DateTime: return dateTime().days;
    case ValueKind::String:
        if (const auto v = parseNumber(string(), locale.decimalSeparator)) return *v;
        throw ConversionError(fmt::format("'{}' is not a valid floating point value", string()));
    case ValueKind::Null: break;
    }
    cannotConvert(kind(), "Double");
}

std::int64_t Value::toInteger() const
{
    switch (kind()) {
    case ValueKind::Empty: return 0;
    case ValueKind::Integer: return integer();
    case ValueKind::Double: return doubleToInteger(dbl());
    case ValueKind::Boolean: return boolean() ? 1 : 0;
    case ValueKind::DateTime: return doubleToInteger(dateTime().days);
    case ValueKind::String:
        if (const auto v = parseInteger(string())) return *v;
        if (const auto v = parseNumber(string())) return doubleToInteger(*v);
        throw ConversionError(fmt::format("'{}' is not a valid integer value", string()));
    case ValueKind::Null: break;
    }
    cannotConvert(kind(), "Integer");
}

int Value::toInt32() const
{
    const std::int64_t v = toInteger();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw ConversionError(fmt::format("'{}' is out of the integer range", v));
    return static_cast<int>(v);
}

bool Value::toBoolean() const
{
    switch (kind()) {
    case ValueKind::Empty: return false;
    case ValueKind::Integer: return integer() != 0;
    case ValueKind::Double: return dbl() != 0;
    case ValueKind::Boolean: return boolean();
    case ValueKind::DateTime: return dateTime().days != 0;
    case ValueKind::String: {
        const std::string& s = string();
        if (s.size() == 4 && (s[0] | 0x20) == 't' && (s[1] | 0x20) == 'r' && (s[2] | 0x20) == 'u' &&
            (s[3] | 0x20) == 'e')
            return true;
        if (s.size() == 5 && (s[0] | 0x20) == 'f' && (s[1] | 0x20) == 'a' && (s[2] | 0x20) == 'l' &&
            (s[3] | 0x20) == 's' && (s[4] | 0x20) == 'e')
            return false;
        if (const auto v = parseNumber(s)) return *v != 0;
        throw ConversionError(fmt::format("'{}' is not a valid boolean value", s));
    }
    case ValueKind::Null: break;
    }
    cannotConvert(kind(), "Boolean");
}

DateTime Value::toDateTime() const { return toDateTime(defaultLocale()); }

DateTime Value::toDateTime(const Locale& locale) const
{
    switch (kind()) {
    case ValueKind::Empty: return {};
    case ValueKind::Integer: return {static_cast<double>(integer())};
    case ValueKind::Double: return {dbl()};
    case ValueKind::DateTime: return dateTime();
    case ValueKind::String:
        if (const auto v = parseDateTime(string(), locale)) return *v;
        throw ConversionError(fmt::format("'{}' is not a valid date", string()));
    case ValueKind::Boolean:
    case ValueKind::Null: break;
    }
    cannotConvert(kind(), "Date");
}

} // namespace pemvora
