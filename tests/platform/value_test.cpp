#include "platform/value/datetime.h"
#include "platform/value/locale.h"
#include "platform/value/numbertext.h"
#include "platform/value/value.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace pemvora;

TEST(NumberText, ShortestFormWithFifteenDigits)
{
    struct Case { double value; const char* text; };
    const Case cases[] = {
        {1.15 * 100, "115"},
        {2045.67 * 100, "204567"},
        {0.1 + 0.2, "0.3"},
        {0.05, "0.05"},
        {120034.56, "120034.56"},
        {100, "100"},
        {-12.5, "-12.5"},
        {0, "0"},
        {-0.0, "0"},
        {0.00001, "0.00001"},
        {0.000001, "1E-6"},
        {0.0000015, "1.5E-6"},
        {999999999999999.0, "999999999999999"},
        {1e15, "1E15"},
        {1.5e16, "1.5E16"},
        {123456789012345678.0, "1.23456789012346E17"},
        {1.0 / 3, "0.333333333333333"},
        {9876543210.12, "9876543210.12"},
    };
    for (const Case& c : cases) EXPECT_EQ(formatNumber(c.value), c.text) << c.value;
    EXPECT_EQ(formatNumber(12.5, ','), "12,5");
}

TEST(NumberText, ParsesWhatThePlatformAccepts)
{
    EXPECT_EQ(parseNumber(" 12.5 "), 12.5);
    EXPECT_EQ(parseNumber("-3"), -3);
    EXPECT_EQ(parseNumber("1E3"), 1000);
    EXPECT_EQ(parseNumber(".5"), 0.5);
    EXPECT_EQ(parseNumber("1,5", ','), 1.5);
    for (const char* bad : {"", "abc", "1.2.3", "1E", "12a", "-", "1,5"})
        EXPECT_FALSE(parseNumber(bad).has_value()) << bad;

    EXPECT_EQ(parseInteger(" 42 "), 42);
    EXPECT_EQ(parseInteger("-9223372036854775808"), INT64_MIN);
    EXPECT_EQ(parseInteger("$FF"), 255);
    for (const char* bad : {"", "1.5", "9223372036854775808", "x", "--1"})
        EXPECT_FALSE(parseInteger(bad).has_value()) << bad;
}

TEST(NumberText, RoundsHalvesToEven)
{
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(3.5), 4);
    EXPECT_EQ(roundHalfEven(-2.5), -2);
    EXPECT_EQ(roundHalfEven(2.6), 3);
}

TEST(ValueKinds, ConstructionAndKindTests)
{
    EXPECT_TRUE(Value().isEmpty());
    EXPECT_TRUE(Value::null().isNull());
    EXPECT_TRUE(Value(3).isInteger());
    EXPECT_TRUE(Value(3.0).isDouble());
    EXPECT_TRUE(Value("x").isString());
    EXPECT_TRUE(Value(true).isBoolean());
    EXPECT_TRUE(Value(DateTime{1}).isDateTime());
    EXPECT_NE(Value(1), Value(1.0));
    EXPECT_EQ(Value("a"), Value(std::string("a")));
}

TEST(ValueConversions, ToText)
{
    EXPECT_EQ(Value().toText(), "");
    EXPECT_EQ(Value::null().toText(), "");
    EXPECT_EQ(Value(-42).toText(), "-42");
    EXPECT_EQ(Value(1.15 * 100).toText(), "115");
    EXPECT_EQ(Value(true).toText(), "True");
    EXPECT_EQ(Value(false).toText(), "False");
    EXPECT_EQ(Value(encodeDate(2008, 3, 5)).toText(), "2008-3-5");
    EXPECT_EQ(Value(DateTime{encodeDate(2008, 3, 5).days + encodeTime(14, 5, 9).days}).toText(), "2008-3-5 14:05:09");
    EXPECT_EQ(Value(encodeTime(9, 30, 0)).toText(), "9:30:00");
}

TEST(ValueConversions, ToNumbersAndTheirErrors)
{
    EXPECT_EQ(Value("12.5").toNumber(), 12.5);
    EXPECT_EQ(Value().toNumber(), 0);
    EXPECT_EQ(Value(true).toNumber(), 1);
    EXPECT_EQ(Value(2.5).toInteger(), 2);
    EXPECT_EQ(Value(3.5).toInteger(), 4);
    EXPECT_EQ(Value("17").toInteger(), 17);
    EXPECT_EQ(Value("2.5").toInteger(), 2);
    EXPECT_THROW(Value("abc").toNumber(), ConversionError);
    EXPECT_THROW(Value(1e30).toInteger(), ConversionError);
    EXPECT_THROW(Value(3000000000LL).toInt32(), ConversionError);
    try {
        Value::null().toInteger();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "Could not convert variant of type (Null) into type (Integer)");
    }
    try {
        Value("x1").toInteger();
        FAIL();
    } catch (const ConversionError& e) {
        EXPECT_STREQ(e.what(), "'x1' is not a valid integer value");
    }
}

TEST(ValueConversions, ToDate)
{
    const DateTime d = Value("2008-3-5").toDateTime();
    const DateParts p = decodeDate(d);
    EXPECT_EQ(p.year, 2008);
    EXPECT_EQ(p.month, 3);
    EXPECT_EQ(p.day, 5);
    EXPECT_EQ(Value("2008/03/05 10:20").toDateTime().days, encodeDate(2008, 3, 5).days + encodeTime(10, 20, 0).days);
    EXPECT_THROW(Value("2008-2-30").toDateTime(), ConversionError);
    EXPECT_THROW(Value("tomorrow").toDateTime(), ConversionError);
}

TEST(DateTimeValues, CalendarArithmetic)
{
    EXPECT_EQ(encodeDate(1899, 12, 30).days, 0);
    EXPECT_EQ(encodeDate(1900, 1, 1).days, 2);
    EXPECT_EQ(encodeDate(2008, 3, 5).days, 39512);
    EXPECT_EQ(dayOfWeek(encodeDate(2026, 12, 10)), 5);   // a Thursday
    const DateParts leap = decodeDate(DateTime{encodeDate(2024, 2, 28).days + 1});
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    const TimeParts t = decodeTime(DateTime{encodeDate(2008, 3, 5).days + encodeTime(23, 59, 59, 999).days});
    EXPECT_EQ(t.hour, 23);
    EXPECT_EQ(t.second, 59);
    EXPECT_EQ(t.millisecond, 999);
    EXPECT_THROW(encodeDate(2023, 2, 29), ConversionError);
}
