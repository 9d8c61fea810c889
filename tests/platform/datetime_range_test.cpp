// Date-times at and beyond the ends of the calendar (years 1 to 9999), and
// values that are no day at all: each gives a defined result, never a cast of
// a huge double to an integer.

#include "platform/value/datetime.h"
#include "platform/value/locale.h"
#include "platform/value/numberformat.h"
#include "platform/value/value.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace pemvora {
namespace {

TEST(DateTimeRange, DaysBeyondTheCalendarDecodeToNoDate)
{
    struct Case {
        double days;
        int year, month, day;   // 0, 0, 0: outside the calendar
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {-693593.0, 1, 1, 1},            // the first day
        {-693593.75, 1, 1, 1},           // its evening (the time counts away from zero)
        {2958465.999, 9999, 12, 31},     // the last day's last moments
        {-693594.0, 0, 0, 0},
        {2958466.0, 0, 0, 0},
        {1e308, 0, 0, 0},
        {-1e308, 0, 0, 0},
        {9223372036854775808.0, 0, 0, 0},
        {inf, 0, 0, 0},
        {-inf, 0, 0, 0},
        {std::nan(""), 0, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.days);
        const DateParts p = decodeDate(DateTime{c.days});
        EXPECT_EQ(p.year, c.year);
        EXPECT_EQ(p.month, c.month);
        EXPECT_EQ(p.day, c.day);
        EXPECT_EQ(calendarDay(DateTime{c.days}).has_value(), c.year != 0);
        if (c.year == 0) {
            EXPECT_THROW(dayOfWeek(DateTime{c.days}), ConversionError);
        }
    }
    EXPECT_EQ(dayOfWeek(DateTime{-693593.0}), 2);   // 1 January of the year 1 was a Monday
}

TEST(DateTimeRange, OutsideTheCalendarTheTextIsTheNumber)
{
    const Locale& locale = defaultLocale();
    EXPECT_EQ(dateTimeToText(DateTime{1e308}, locale), "1E308");
    EXPECT_EQ(dateTimeToText(DateTime{std::numeric_limits<double>::infinity()}, locale), "INF");
    EXPECT_EQ(dateTimeToText(DateTime{std::nan("")}, locale), "NAN");
    EXPECT_THROW(formatDateTimePattern(DateTime{9223372036854775808.0}, "yyyy-mm-dd", locale), ConversionError);
    EXPECT_THROW(formatDateTimePattern(DateTime{-1e308}, "hh:nn", locale), ConversionError);
    const TimeParts t = decodeTime(DateTime{std::numeric_limits<double>::infinity()});
    EXPECT_EQ(t.hour + t.minute + t.second + t.millisecond, 0);
}

} // namespace
} // namespace pemvora
