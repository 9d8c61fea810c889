// Display formats: the packed word, the number and date-time notations, and the
// formats written inside brackets after " #".

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "platform/value/numberformat.h"
#include "report/script/displayformat.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

std::string G(const char* utf8) { return text::utf8ToGbk(utf8); }

std::uint32_t word(int category, int kind, int decimals = 0, char sep = '.')
{
    return DisplayFormat{category, kind, decimals, sep}.pack();
}

const DateTime kSunday = {encodeDate(1998, 11, 15).days + encodeTime(14, 43, 35).days};

struct FormatCase {
    const char* what;
    Value value;
    std::uint32_t format;
    std::string text;
    std::string expected;
};

TEST(FormatDisplayValue, EveryCategoryAndKind)
{
    const FormatCase cases[] = {
        {"number kind 1", Value(4567.5), word(1, 1, 2), "", "4567.50"},
        {"number kind 0", Value(4567.5), word(1, 0, 2), "", "4567.5"},
        {"number kind 0 whole", Value(4567), word(1, 0, 2), "", "4567"},
        {"number kind 2", Value(4567.5), word(1, 2, 2), "", "4,567.5"},
        {"number kind 3", Value(1234567.891), word(1, 3, 2), "", "1,234,567.89"},
        {"comma separator", Value(4567.5), word(1, 1, 2, ','), "", "4567,50"},
        {"halves away from zero", Value(0.125), word(1, 1, 2), "", "0.13"},
        {"decimal rounding", Value(2.675), word(1, 1, 2), "", "2.68"},
        {"no minus on zero", Value(-0.001), word(1, 1, 2), "", "0.00"},
        {"number text", Value("12.5"), word(1, 1, 1), "", "12.5"},
        {"not a number", Value("abc"), word(1, 1, 2), "", "abc"},
        {"custom grouping", Value(-1234.5), word(1, 4), "#,##0.00", "-1,234.50"},
        {"custom sections", Value(-3), word(1, 4), "0.00;(0.00);zero", "(3.00)"},
        {"custom zero section", Value(0), word(1, 4), "0.00;(0.00);zero", "zero"},
        {"custom literal digits", Value(12345), word(1, 4), "000-000", "012-345"},
        {"custom exponent", Value(12345), word(1, 4), "0.00E+00", "1.23E+04"},
        {"custom quoted", Value(5), word(1, 4), "'#'0", "#5"},
        {"two-byte literal", Value(5), word(1, 4), G("癊-0"), G("癊-5")},
        {"date kind 0", Value(kSunday), word(2, 0), "", "11.15.98"},
        {"date kind 1", Value(kSunday), word(2, 1), "", "11.15.1998"},
        {"date kind 2", Value(kSunday), word(2, 2), "", G("15 十一月 1998")},
        {"date kind 3", Value(kSunday), word(2, 3), "", G("1998年11月15日")},
        {"date custom", Value(kSunday), word(2, 4), "yyyy-mm-dd", "1998-11-15"},
        {"date day name", Value(kSunday), word(2, 4), "dddd", G("星期日")},
        {"date from text", Value("2008-3-5"), word(2, 4), "dd/mm/yy", "05-03-08"},
        {"day beyond the calendar", Value(DateTime{1e9}), word(2, 1), "", "1000000000"},
        {"time kind 0", Value(kSunday), word(3, 0), "", "14:43:35"},
        {"time kind 1", Value(encodeTime(2, 43, 35)), word(3, 1), "", "2:43:35"},
        {"time kind 2", Value(kSunday), word(3, 2), "", "14:43"},
        {"time kind 3", Value(kSunday), word(3, 3), "", "14:43"},
        {"mm after hours", Value(kSunday), word(3, 4), "hh:mm", "14:43"},
        {"mm after date", Value(kSunday), word(3, 4), "yyyy mm dd hh mm ss", "1998 11 15 14 43 35"},
        {"am/pm", Value(kSunday), word(3, 4), "h:nn am/pm", "2:43 pm"},
        {"two-byte letters", Value(kSunday), word(2, 4), G("yyyy年m月d日"), G("1998年11月15日")},
        {"boolean kind 1 true", Value(true), word(4, 1), "", "Yes"},
        {"boolean kind 1 false", Value(false), word(4, 1), "", "No"},
        {"boolean kind 0", Value(7), word(4, 0), "", "1"},
        {"boolean kind 2", Value(0), word(4, 2), "", "_"},
        {"boolean custom", Value(true), word(4, 4), G("否;是"), G("是")},
        {"text", Value(1.5), word(0, 0), "", "1.5"},
        {"text boolean", Value(true), word(0, 0), "", "True"},
        {"unknown category", Value(1), word(7, 0), "", ""},
        {"blank text", Value("   "), word(0, 0), "", ""},
        {"line break", Value("\r\n"), word(0, 0), "", "\r\n"},
    };
    for (const FormatCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(FormatDisplayValue(c.value, c.format, c.text, defaultLocale()), c.expected);
    }
    for (int category = 0; category <= 4; ++category)
        for (int kind = 0; kind <= 4; ++kind)
            EXPECT_EQ(FormatDisplayValue(Value::null(), word(category, kind), "0", defaultLocale()), "");
}

TEST(FormatDisplayValue, PackedWordLayout)
{
    const DisplayFormat f = DisplayFormat::unpack(0x01020A2C);
    EXPECT_EQ(f.category, 1);
    EXPECT_EQ(f.kind, 2);
    EXPECT_EQ(f.decimals, 10);
    EXPECT_EQ(f.separator, ',');
    EXPECT_EQ(f.pack(), 0x01020A2Cu);
}

struct BracketCase {
    const char* bracket;
    Value value;
    std::string expression;
    std::string shown;
};

TEST(BracketFormat, FormatAfterSpaceHashOverridesTheObjectFormat)
{
    const std::uint32_t objectFormat = word(1, 1, 3);
    const BracketCase cases[] = {
        {"Sum #N0.2", Value(1234.5), "Sum", "1234.50"},
        {"Sum #0,2", Value(1234.5), "Sum", "1234,50"},
        {"Sum #N#,##0.00", Value(1234.5), "Sum", "1,234.50"},
        {"d #Dyyyy-mm-dd", Value(encodeDate(2008, 3, 5)), "d", "2008-03-05"},
        {"t #Thh:nn", Value(encodeTime(9, 5, 0)), "t", "09:05"},
        {"b #BNo;Yes", Value(true), "b", "Yes"},
        {"x #Q", Value(2), "x", "2.000"},           // unknown letter: object format stays
        {"x#N2", Value(2), "x#N2", "2.000"},         // no blank before "#": no format
        {"a + b", Value(2), "a + b", "2.000"},
    };
    for (const BracketCase& c : cases) {
        SCOPED_TRACE(c.bracket);
        const BracketFormat f = SplitBracketFormat(c.bracket, objectFormat, "");
        EXPECT_EQ(f.expression, c.expression);
        EXPECT_EQ(FormatDisplayValue(c.value, f.format, f.formatText, defaultLocale()), c.shown);
    }
    // A bracket format sets all four fields.
    EXPECT_EQ(SplitBracketFormat("x #N0.2", 0xFFFFFFFF, "").format, word(1, 1, 2, '.'));
    EXPECT_EQ(SplitBracketFormat("x #Dyy", word(1, 1, 3), "").format, word(2, 4, 0, 0));
}

TEST(NumberPattern, PlainNotationCases)
{
    const NumberSeparators dot{'.', ','};
    EXPECT_EQ(formatNumberPattern(0.5, "#.##", dot), ".5");
    EXPECT_EQ(formatNumberPattern(12.5, ".00", dot), "12.50");
    EXPECT_EQ(formatNumberPattern(7, "'No. '", dot), "No. 7");
    EXPECT_EQ(formatNumberPattern(0.5, "0.##", dot), "0.5");
    EXPECT_EQ(formatNumberPattern(1234567, "#,##0", dot), "1,234,567");
    EXPECT_EQ(formatNumberPattern(1234567, "0", dot), "1234567");
    EXPECT_EQ(formatNumberPattern(99.995, "0.00", dot), "100.00");
    EXPECT_EQ(formatNumberPattern(0.000123, "0.0E-0", dot), "1.2E-4");
    EXPECT_EQ(formatNumberPattern(1.5, "", dot), "1.5");
    EXPECT_EQ(formatFixed(-1234.5, 0, true, dot), "-1,235");
}

} // namespace
} // namespace pemvora::report
