#pragma once
// Date-time values: days since 30 December 1899 as a double, the time of day in
// the fraction. Day 2 is 1 January 1900; arithmetic on dates is arithmetic on days.

#include <optional>
#include <string>
#include <string_view>

namespace pemvora {

struct Locale;

struct DateTime {
    double days = 0;
    friend bool operator==(DateTime a, DateTime b) { return a.days == b.days; }
};

struct DateParts {
    int year = 0, month = 0, day = 0;
};
struct TimeParts {
    int hour = 0, minute = 0, second = 0, millisecond = 0;
};

bool isValidDate(int year, int month, int day);
int daysInMonth(int year, int month);
// Throws ConversionError for an impossible date or time.
DateTime encodeDate(int year, int month, int day);
DateTime encodeTime(int hour, int minute, int second, int millisecond = 0);
DateTime encodeDateTime(const DateParts& d, const TimeParts& t);
// The day of a date-time, from years 1 to 9999; nothing outside them, nor for
// infinities and NaN.
std::optional<long long> calendarDay(DateTime dt);
// A date-time outside the years 1 to 9999 (or not a number) decodes as 0-0-0,
// which isValidDate refuses.
DateParts decodeDate(DateTime dt);
TimeParts decodeTime(DateTime dt);
// 1 = Sunday ... 7 = Saturday; throws ConversionError outside the years 1 to 9999.
int dayOfWeek(DateTime dt);

// The default text of a date-time: the short date, then the long time unless the
// time is midnight; a value with no date part shows its time only.
std::string dateTimeToText(DateTime dt, const Locale& locale);

// Reads a date in the order of the locale's short date format ("2008-3-5",
// "2008/03/05"), optionally followed by a time; nullopt when it is not a date.
std::optional<DateTime> parseDate(std::string_view text, const Locale& locale);
// Reads a time "h:n[:s]" with optional AM/PM marker; nullopt when it is not a time.
std::optional<DateTime> parseTime(std::string_view text, const Locale& locale);
// A date, a time, or a date followed by a time.
std::optional<DateTime> parseDateTime(std::string_view text, const Locale& locale);

} // namespace pemvora
