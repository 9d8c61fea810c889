#pragma once
// Our number and date-time format notations, the ones report templates carry in
// their display formats (GBK text, letters in any case).
//
// Number patterns: up to three sections "positive;negative;zero". In a section
// "0" is a digit that is always shown, "#" a digit shown when significant, "."
// the decimal point (the first one), "," anywhere before the point turns on
// thousands grouping, "E+" "E-" "e+" "e-" followed by "0"s the exponent form;
// text in single or double quotes and every other character are copied. The value
// is rounded (halves away from zero) to the decimals the section shows. A point
// with no decimal digit after it is left out, so "##0." shows whole numbers.
//
// Date-time patterns: d dd (day), ddd dddd (day names), ddddd (short date),
// dddddd (long date), m mm (month, or minutes right after an hour), mmm mmmm
// (month names), yy yyyy, h hh, n nn (minutes), s ss, z zzz (milliseconds),
// t (short time), tt (long time), c (short date and long time), am/pm a/p ampm
// (12-hour clock with markers), "/" and ":" the locale's separators, quoted text
// and other characters copied. Two-byte characters are copied whole.

#include <string>
#include <string_view>

namespace pemvora {

struct Locale;
struct DateTime;

struct NumberSeparators {
    char decimal = '.';
    char thousands = ',';
};

// An empty pattern gives the general 15-digit form (formatNumber).
std::string formatNumberPattern(double value, std::string_view pattern, NumberSeparators seps);

// Fixed-point text with exactly `decimals` decimals (at most 15 significant digits
// are taken from the value), optionally with thousands grouping.
std::string formatFixed(double value, int decimals, bool grouped, NumberSeparators seps);

// An empty pattern means "c".
std::string formatDateTimePattern(DateTime value, std::string_view pattern, const Locale& locale);

} // namespace pemvora
