#include "app/capitals/capitals.h"

#include <gtest/gtest.h>

using namespace pemvora;
using namespace pemvora::app;

TEST(AmountToCapitals, WorkedAmounts)
{
    struct Case { const char* text; const char* capitals; };
    const Case cases[] = {
        {"0.05", "零伍分"},
        {"0.5", "伍角整"},
        {"1", "壹元整"},
        {"9", "玖元整"},
        {"10", "壹拾元整"},
        {"10.5", "壹拾元伍角整"},
        {"20.1", "贰拾元壹角整"},
        {"100.05", "壹佰元零伍分"},
        {"305.07", "叁佰零伍元零柒分"},
        {"1001", "壹仟零壹元整"},
        {"10000", "壹万元整"},
        {"100010", "壹拾万零壹拾元整"},
        {"1000000", "壹佰万元整"},
        {"120034.56", "壹拾贰万零叁拾肆元伍角陆分"},
        {"100000000", "壹亿元整"},
        {"100000001", "壹亿零壹元整"},
        {"1000010000", "壹拾亿零壹万元整"},
        {"9876543210.12", "玖拾捌亿柒仟陆佰伍拾肆万叁仟贰佰壹拾元壹角贰分"},
        {"987654321.09", "玖亿捌仟柒佰陆拾伍万肆仟叁佰贰拾壹元零玖分"},
        {"1000000000000", "壹万亿元整"},
        {"0.001", "整"},
        {"", "整"},
        {"0", "整"},
        {"12.30", "壹拾贰元叁角整"},
        {"12.00", "壹拾贰元整"},
        {"0.129", "壹角贰分"},          // digits after the second are cut, not rounded
        {"  5.5\t", "伍元伍角整"},
    };
    for (const Case& c : cases) EXPECT_EQ(AmountToCapitals(c.text), c.capitals) << '"' << c.text << '"';
}

TEST(AmountToCapitals, NamesTheCharacterThatIsNotADigit)
{
    struct Case { const char* text; const char* message; };
    const Case cases[] = {
        {"-5", "'-' is not a valid integer value"},
        {"1E15", "'E' is not a valid integer value"},
        {"1.2.3", "'.' is not a valid integer value"},
        {"12元", "'元' is not a valid integer value"},
        {"1.x", "'x' is not a valid integer value"},
    };
    for (const Case& c : cases) {
        try {
            AmountToCapitals(c.text);
            ADD_FAILURE() << c.text << " was accepted";
        } catch (const CapitalsError& e) {
            EXPECT_STREQ(e.what(), c.message) << c.text;
        }
    }
}

TEST(DateCapitals, MonthsAndDaysInFull)
{
    const char* const months[12] = {"零壹", "零贰", "零叁", "零肆", "零伍", "零陆",
                                    "零柒", "零捌", "零玖", "零壹拾", "壹拾壹", "壹拾贰"};
    for (int m = 1; m <= 12; ++m) EXPECT_EQ(MonthToCapitals(encodeDate(2010, m, 1)), months[m - 1]) << m;

    const char* const days[31] = {
        "零壹", "零贰", "零叁", "零肆", "零伍", "零陆", "零柒", "零捌", "零玖", "零壹拾",
        "壹拾壹", "壹拾贰", "壹拾叁", "壹拾肆", "壹拾伍", "壹拾陆", "壹拾柒", "壹拾捌", "壹拾玖", "零贰拾",
        "贰拾壹", "贰拾贰", "贰拾叁", "贰拾肆", "贰拾伍", "贰拾陆", "贰拾柒", "贰拾捌", "贰拾玖", "零叁拾",
        "叁拾壹"};
    for (int d = 1; d <= 31; ++d) EXPECT_EQ(DayToCapitals(encodeDate(2010, 1, d)), days[d - 1]) << d;
}

TEST(DateCapitals, YearsAndTheWholeDate)
{
    EXPECT_EQ(YearToCapitals(encodeDate(2008, 1, 1)), "贰零零捌");
    EXPECT_EQ(YearToCapitals(encodeDate(2010, 1, 1)), "贰零壹零");
    EXPECT_EQ(YearToCapitals(encodeDate(999, 1, 1)), "零玖玖玖");
    EXPECT_EQ(DateToCapitals(encodeDate(2008, 3, 5)), "贰零零捌 年 零叁 月 零伍 日");
    EXPECT_EQ(DateToCapitals(encodeDate(2026, 12, 30)), "贰零贰陆 年 壹拾贰 月 零叁拾 日");
}
