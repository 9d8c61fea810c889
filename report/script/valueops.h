#pragma once
// The operations that expressions apply to values.
//
// Numbers written in expressions are doubles; comparisons give integer 0 or 1.
// Null with an arithmetic operator gives Null; empty counts as 0 or "". A value
// that has to become a number or an integer and cannot raises ConversionError;
// "/" by 0 gives 0, MOD by 0 raises CalculationError("Division by zero").

#include "platform/value/value.h"
#include "report/data/evaluator.h"

namespace pemvora {
struct Locale;
}

namespace pemvora::report {

namespace ops {

Value add(const Value& a, const Value& b, const Locale& locale);
Value subtract(const Value& a, const Value& b, const Locale& locale);
Value multiply(const Value& a, const Value& b, const Locale& locale);
Value divide(const Value& a, const Value& b, const Locale& locale);
Value modulo(const Value& a, const Value& b, const Locale& locale);
Value bitAnd(const Value& a, const Value& b, const Locale& locale);
Value bitOr(const Value& a, const Value& b, const Locale& locale);

Value negate(const Value& a, const Locale& locale);
Value logicalNot(const Value& a, const Locale& locale);
Value intPart(const Value& a, const Locale& locale);
Value fracPart(const Value& a, const Locale& locale);
Value round(const Value& a, const Locale& locale);
Value str(const Value& a, const Locale& locale);

// <0, 0, >0. Null equals only Null and orders below everything else.
int compare(const Value& a, const Value& b, const Locale& locale);
bool equals(const Value& a, const Value& b, const Locale& locale);

// A number read with the locale's decimal separator.
double toNumber(const Value& v, const Locale& locale);
// An integer within the 32-bit range; ConversionError otherwise.
int toInt32(const Value& v, const Locale& locale);

} // namespace ops
} // namespace pemvora::report
