#include "report/script/valueops.h"

#include "platform/value/locale.h"
#include "platform/value/numbertext.h"

#include <cmath>
#include <cstring>
#include <limits>

#include <fmt/format.h>

namespace pemvora::report::ops {

namespace {

bool isWhole(const Value& v) { return v.isInteger() || v.isBoolean() || v.isEmpty(); }

std::int64_t wholeOf(const Value& v)
{
    if (v.isInteger()) return v.integer();
    if (v.isBoolean()) return v.boolean() ? 1 : 0;
    return 0;
}

enum class Arith { Add, Subtract, Multiply };

Value arithmetic(Arith op, const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return Value::null();
    if (isWhole(a) && isWhole(b)) {
        const std::int64_t x = wholeOf(a), y = wholeOf(b);
        std::int64_t r = 0;
        bool overflow = false;
        switch (op) {
        case Arith::Add: overflow = __builtin_add_overflow(x, y, &r); break;
        case Arith::Subtract: overflow = __builtin_sub_overflow(x, y, &r); break;
        case Arith::Multiply: overflow = __builtin_mul_overflow(x, y, &r); break;
        }
        if (!overflow) return Value(r);
    }
    const double x = toNumber(a, locale), y = toNumber(b, locale);
    switch (op) {
    case Arith::Add:
        // A date moved by a number of days stays a date.
        if (a.isDateTime() != b.isDateTime()) return Value(DateTime{x + y});
        return Value(x + y);
    case Arith::Subtract:
        if (a.isDateTime() && !b.isDateTime()) return Value(DateTime{x - y});
        return Value(x - y);
    case Arith::Multiply: return Value(x * y);
    }
    return Value(0);
}

int sign(double d) { return d < 0 ? -1 : d > 0 ? 1 : 0; }

int compareBytes(const std::string& a, const std::string& b)
{
    const std::size_t n = std::min(a.size(), b.size());
    const int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0) return c < 0 ? -1 : 1;
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

// The integer a bitwise operator needs.
int bitsOf(const Value& v, const Locale& locale) { return toInt32(v, locale); }

} // namespace

double toNumber(const Value& v, const Locale& locale) { return v.toNumber(locale); }

int toInt32(const Value& v, const Locale& locale)
{
    double d = 0;
    if (v.isString()) {
        if (const auto i = parseInteger(v.string())) {
            if (*i < std::numeric_limits<int>::min() || *i > std::numeric_limits<int>::max())
                throw ConversionError(fmt::format("'{}' is out of the integer range", v.string()));
            return static_cast<int>(*i);
        }
        d = roundHalfEven(v.toNumber(locale));
    } else if (v.isInteger()) {
        const std::int64_t i = v.integer();
        if (i < std::numeric_limits<int>::min() || i > std::numeric_limits<int>::max())
            throw ConversionError(fmt::format("'{}' is out of the integer range", i));
        return static_cast<int>(i);
    } else {
        d = roundHalfEven(v.toNumber(locale));
    }
    if (!(d >= std::numeric_limits<int>::min() && d <= std::numeric_limits<int>::max()))
        throw ConversionError(fmt::format("'{}' is out of the integer range", formatNumber(d)));
    return static_cast<int>(d);
}

Value add(const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return Value::null();
    if ((a.isString() || a.isEmpty()) && (b.isString() || b.isEmpty()) && (a.isString() || b.isString()))
        return Value(a.toText() + b.toText());
    return arithmetic(Arith::Add, a, b, locale);
}

Value subtract(const Value& a, const Value& b, const Locale& locale) { return arithmetic(Arith::Subtract, a, b, locale); }
Value multiply(const Value& a, const Value& b, const Locale& locale) { return arithmetic(Arith::Multiply, a, b, locale); }

Value divide(const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return Value::null();
    const double y = toNumber(b, locale);
    const double x = toNumber(a, locale);
    if (y == 0) return Value(0.0);
    return Value(x / y);
}

Value modulo(const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return Value::null();
    const int x = toInt32(a, locale), y = toInt32(b, locale);
    if (y == 0) throw CalculationError("Division by zero");
    if (y == -1) return Value(0);   // INT_MIN mod -1 would trap
    return Value(x % y);
}

Value bitAnd(const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return Value::null();
    if ((a.isBoolean() && (b.isBoolean() || b.isString())) || (b.isBoolean() && a.isString()))
        return Value(a.toBoolean() && b.toBoolean());
    return Value(bitsOf(a, locale) & bitsOf(b, locale));
}

Value bitOr(const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return Value::null();
    if ((a.isBoolean() && (b.isBoolean() || b.isString())) || (b.isBoolean() && a.isString()))
        return Value(a.toBoolean() || b.toBoolean());
    return Value(bitsOf(a, locale) | bitsOf(b, locale));
}

Value negate(const Value& a, const Locale& locale)
{
    if (a.isNull()) return Value::null();
    if (a.isInteger() && a.integer() != std::numeric_limits<std::int64_t>::min()) return Value(-a.integer());
    if (a.isEmpty()) return Value(0);
    return Value(-toNumber(a, locale));
}

Value logicalNot(const Value& a, const Locale& locale) { return Value(equals(a, Value(0), locale) ? 1 : 0); }

namespace {
// x, or the integer next to it when it lies within 1E-10 of one.
double snapped(double x)
{
    const double r = std::round(x);
    return std::fabs(x - r) < 1e-10 ? r : x;
}
} // namespace

Value intPart(const Value& a, const Locale& locale) { return Value(std::trunc(snapped(toNumber(a, locale)))); }

Value fracPart(const Value& a, const Locale& locale)
{
    const double x = snapped(toNumber(a, locale));
    return Value(x - std::trunc(x));
}

Value round(const Value& a, const Locale& locale) { return Value(roundHalfEven(toNumber(a, locale))); }

Value str(const Value& a, const Locale& locale) { return Value(a.toText(locale)); }

int compare(const Value& a, const Value& b, const Locale& locale)
{
    if (a.isNull() || b.isNull()) return a.isNull() == b.isNull() ? 0 : a.isNull() ? -1 : 1;
    // Empty stands for "" beside a string and for 0 otherwise.
    if (a.isEmpty()) return compare(b.isString() ? Value(std::string()) : Value(0), b, locale);
    if (b.isEmpty()) return compare(a, a.isString() ? Value(std::string()) : Value(0), locale);
    if (a.isDateTime() || b.isDateTime()) return sign(a.toDateTime(locale).days - b.toDateTime(locale).days);
    if (a.isString() && b.isString()) return compareBytes(a.string(), b.string());
    if ((a.isBoolean() && (b.isBoolean() || b.isString())) || (b.isBoolean() && a.isString()))
        return static_cast<int>(a.toBoolean()) - static_cast<int>(b.toBoolean());
    if (a.isInteger() && b.isInteger()) return a.integer() < b.integer() ? -1 : a.integer() > b.integer() ? 1 : 0;
    return sign(toNumber(a, locale) - toNumber(b, locale));
}

bool equals(const Value& a, const Value& b, const Locale& locale) { return compare(a, b, locale) == 0; }

} // namespace pemvora::report::ops
