#include "controls/amountgrid/amount.h"

#include <gtest/gtest.h>

namespace pemvora::amountgrid {
namespace {

TEST(Amount, ParsesPlainAndExponentFormsExactly) {
    struct Case { const char* text; const char* exact; };
    const Case cases[] = {
        {"0", "0"},          {"-0", "0"},         {"00012.500", "12.5"}, {".5", "0.5"},
        {"5.", "5"},         {" -3.25 ", "-3.25"}, {"1e3", "1000"},      {"1.5E-3", "0.0015"},
        {"123456789012345678", "123456789012345678"},
        {"999999999999999999.99", "999999999999999999.99"},
    };
    for (const Case& c : cases) {
        auto a = Amount::parse(c.text);
        ASSERT_TRUE(a.has_value()) << c.text;
        EXPECT_EQ(a->toString(), c.exact) << c.text;
    }
    for (const char* bad : {"", "-", ".", "1.2.3", "12a", "e5", "1e", "--1", "1 2"})
        EXPECT_FALSE(Amount::parse(bad).has_value()) << bad;
}

TEST(Amount, MaskTextRoundsHalvesAwayFromZeroAndKeepsOneIntegerDigit) {
    struct Case { const char* value; int decimals; const char* text; };
    const Case cases[] = {
        {"0", 2, "0.00"},        {"5678.5", 2, "5678.50"}, {"0.005", 2, "0.01"},  {"0.004", 2, "0.00"},
        {"0.0001", 2, "0.00"},   {"9.995", 2, "10.00"},    {"-2.5", 0, "3"},      {"99.5", 0, "100"},
        {"12.345", 3, "12.345"}, {"0.5", 0, "1"},          {"123456789012345678", 2, "123456789012345678.00"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Amount::parse(c.value)->magnitudeText(c.decimals), c.text) << c.value << " " << c.decimals;
}

TEST(Amount, DoublesComeInAsTheirShortestDecimal) {
    EXPECT_EQ(Amount::fromDouble(5678.5).toString(), "5678.5");
    EXPECT_EQ(Amount::fromDouble(0.1).toString(), "0.1");
    EXPECT_EQ(Amount::fromDouble(-2045.67).toString(), "-2045.67");
    EXPECT_EQ(Amount::fromDouble(1e20).toString(), "100000000000000000000");
    EXPECT_EQ(Amount::fromDouble(std::numeric_limits<double>::quiet_NaN()), Amount());
    EXPECT_DOUBLE_EQ(Amount::parse("2045.67")->toDouble(), 2045.67);
}

TEST(Amount, SignAndDigitCounts) {
    Amount a = *Amount::parse("-0012.50");
    EXPECT_TRUE(a.isNegative());
    EXPECT_EQ(a.abs().toString(), "12.5");
    EXPECT_EQ(a.negated().toString(), "12.5");
    EXPECT_EQ(a.integerDigits(), 2);
    EXPECT_EQ(Amount::parse("0.75")->integerDigits(), 0);
    EXPECT_FALSE(Amount().negated().isNegative());  // no negative zero
    EXPECT_EQ(Amount(-9223372036854775807LL - 1).toString(), "-9223372036854775808");
}

}  // namespace
}  // namespace pemvora::amountgrid
