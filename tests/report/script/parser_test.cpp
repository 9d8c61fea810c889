// The expression evaluator: compiled form, priorities, operations and the
// evaluator's own functions, driven through a parser whose names come from a list.

#include "platform/value/locale.h"
#include "report/script/parser.h"
#include "report/script/valueops.h"
#include "report/data/variables.h"

#include <gtest/gtest.h>

#include <fmt/format.h>

#include <vector>

namespace pemvora::report {
namespace {

struct Call {
    std::string name, p1, p2, p3;
};

class ParserTest : public ::testing::Test {
protected:
    ParserTest()
    {
        parser.OnGetValue = [this](const std::string& name, Value& v) {
            asked.push_back(name);
            if (const Value* found = vars.Find(name)) v = *found;
            else throw ParseError(fmt::format("Undefined symbol \"{}\"", name));
        };
        parser.OnFunctionCall = [this](const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                                       Value& v) {
            calls.push_back({name, p1.string(), p2.string(), p3.string()});
            v = Value("called " + name);
        };
        vars.SetVariable("a", Value(1));
        vars.SetVariable("b", Value(2));
        vars.SetVariable("n", Value::null());
        vars.SetVariable("s", Value("abc"));
        vars.SetVariable("d", Value(encodeDate(2024, 2, 28)));
    }

    TfrParser parser;
    TfrVariables vars{true};
    std::vector<std::string> asked;
    std::vector<Call> calls;
};

struct EvalCase {
    const char* expr;
    Value expected;
};

TEST_F(ParserTest, EvaluatesWithTheEnginesPrioritiesAndOperations)
{
    const EvalCase cases[] = {
        {"1 + 2 * 3", Value(7.0)},
        {"(1 + 2) * 3", Value(9.0)},
        {"7 MOD 2", Value(1)},
        {"7 / 2", Value(3.5)},
        {"5 / 0", Value(0.0)},
        {"10 - 4 - 3", Value(3.0)},          // equal priorities group from the left
        {"12 / 2 / 3", Value(2.0)},
        // OR binds as tightly as "*": (a = (1 OR b)) = 2.
        {"a = 1 OR b = 2", Value(0)},
        {"(a = 1) OR (b = 2)", Value(1)},
        {"(a = 1) AND (b = 3)", Value(0)},
        {"5 - -3", Value(8.0)},
        {"-2 * 3", Value(-6.0)},
        {"2 * -3", Value(-6.0)},
        {"+4", Value(4.0)},
        {"NOT 0", Value(1)},
        {"NOT NOT 5", Value(1)},
        {"not 3", Value(0)},
        {"1 AND NOT 0", Value(1)},
        {"6 OR 1", Value(7)},
        {"'It''s'", Value("It's")},
        {"'a' + 'b'", Value("ab")},
        {"'ab' = 'AB'", Value(0)},
        {"'ab' < 'b'", Value(1)},
        {"'10' + 5", Value(15.0)},
        {"'10' = 10", Value(1)},
        {"INT(2.9999999999999)", Value(3.0)},
        {"INT(-2.5)", Value(-2.0)},
        {"FRAC(-2.5)", Value(-0.5)},
        {"FRAC(2.99999999999999)", Value(0.0)},
        {"ROUND(2.5)", Value(2.0)},
        {"ROUND(3.5)", Value(4.0)},
        {"IF(0.5, 'x', 'y')", Value("y")},
        {"IF(1, 'x', NOSUCH)", Value("x")},    // the branch not taken is never looked at
        {"IF(0, NOSUCH, 'y')", Value("y")},
        {"IF(a = 1, 'one', 'other')", Value("one")},
        {"IF(TRUE, 'yes', 'no')", Value("yes")},
        {"IF(FALSE, 'yes', 'no')", Value("no")},
        {"COPY('abcdef', 2, 3)", Value("bcd")},
        {"COPY('abc', 2, 10)", Value("bc")},
        {"COPY('abc', 9, 1)", Value("")},
        {"1,5", Value(1.5)},
        {"1.5", Value(1.5)},
        {"STR(n)", Value("")},
        {"STR(1.5)", Value("1.5")},
        {"STR(a = 1)", Value("1")},
        {"n + 1", Value::null()},
        {"'x' + n", Value::null()},
        {"n = n", Value(1)},
        {"n < 0", Value(1)},
        {"d + 1", Value(encodeDate(2024, 2, 29))},
        {"d > 45000", Value(1)},
        {"TRUE", Value(true)},
        {"true AND false", Value(false)},
        {"3 >= 3", Value(1)},
        {"2 <> 2", Value(0)},
        {"2 <= 1", Value(0)},
        {"1 + 2 ; the rest is a comment", Value(3.0)},
        {"'a;b'", Value("a;b")},
        {"", Value(0)},
        {"STRTODATE('2008-3-5')", Value(encodeDate(2008, 3, 5))},
        {"STRTOTIME('14:05')", Value(encodeTime(14, 5, 0))},
    };
    for (const EvalCase& c : cases) {
        SCOPED_TRACE(c.expr);
        Value v;
        ASSERT_NO_THROW(v = parser.Evaluate(c.expr));
        EXPECT_EQ(v, c.expected) << kindName(v.kind()) << " " << v.toText();
    }
}

// Every binary operator next to operators of the levels around it, worked by
// hand from the priority levels: 0 INT FRAC STR ROUND; 1 OR AND NOT MOD * /;
// 2 + - and the sign; 3 the comparisons. Equal levels group from the left.
TEST_F(ParserTest, MixedPrioritiesGroupByTheirLevels)
{
    struct Case {
        const char* expr;
        const char* expected;   // the result as text
        const char* grouping;   // how it groups
    };
    const Case cases[] = {
        {"1 + 7 MOD 2", "2", "1 + (7 MOD 2)"},
        {"9 - 7 MOD 4", "6", "9 - (7 MOD 4)"},
        {"2 * 7 MOD 4", "2", "(2 * 7) MOD 4"},
        {"7 MOD 4 * 2", "6", "(7 MOD 4) * 2"},
        {"6 / 3 MOD 2", "0", "(6 / 3) MOD 2"},
        {"b + b * b MOD 3", "3", "b + ((b * b) MOD 3)"},
        {"10 - 2 * 3 MOD 4 + 1", "9", "(10 - ((2 * 3) MOD 4)) + 1"},
        {"(1 + 7) MOD 2", "0", "parentheses first"},
        {"3 = 1 + 2", "1", "3 = (1 + 2)"},
        {"3 <> 1 + 2", "0", "3 <> (1 + 2)"},
        {"5 >= 2 * 3", "0", "5 >= (2 * 3)"},
        {"1 + 7 MOD 2 = 2", "1", "(1 + (7 MOD 2)) = 2"},
        {"3 > 2 > 1", "0", "(3 > 2) > 1"},
        {"2 + 1 AND 1", "3", "2 + (1 AND 1)"},
        {"1 + 1 OR 1", "2", "1 + (1 OR 1)"},
        {"8 - 4 OR 1", "3", "8 - (4 OR 1)"},
        {"6 AND 3 * 2", "4", "(6 AND 3) * 2"},
        {"4 OR 1 AND 2", "0", "(4 OR 1) AND 2"},
        {"2 > 1 AND 0", "1", "2 > (1 AND 0)"},
        {"1 = 1 OR 2", "0", "1 = (1 OR 2)"},
        {"2 * 3 = 6 AND 1", "0", "(2 * 3) = (6 AND 1)"},
        {"1 + 2 > 1 OR 2", "0", "(1 + 2) > (1 OR 2)"},
        {"NOT 1 + 1", "1", "(NOT 1) + 1"},
        {"NOT 1 * 0", "0", "(NOT 1) * 0"},
        {"-2 + 3", "1", "(-2) + 3"},
        {"INT 7 / 2", "3.5", "(INT 7) / 2"},
        {"ROUND 2.5 + 1", "3", "(ROUND 2.5) + 1"},
        {"FRAC 2.5 * 2", "1", "(FRAC 2.5) * 2"},
        {"STR 1 + '2'", "12", "(STR 1) + '2'"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.expr) + "  as  " + c.grouping);
        Value v;
        ASSERT_NO_THROW(v = parser.Evaluate(c.expr));
        EXPECT_EQ(v.toText(), c.expected);
    }
}

TEST_F(ParserTest, CompiledFormIsPostfixWithOperatorCodes)
{
    EXPECT_EQ(parser.Compile("a = 1 OR b = 2"), "a 1 b \x04=2 =");
    EXPECT_EQ(parser.Compile("(a = 1) OR (b = 2)"), "a 1 =b 2 =\x04");
    EXPECT_EQ(parser.Compile("5 - -3"), "5 3 \x09-");
    EXPECT_EQ(parser.Compile("IF(a, 'x', 'y') + 1"), "IF(a, 'x', 'y')1 +");
    EXPECT_EQ(parser.Compile("[Page#] + 'It''s'"), "[Page#] 'It''s' +");
    // AND binds tighter than ">=": x >= (2 AND (NOT y)).
    EXPECT_EQ(parser.Compile("x >= 2 AND NOT y"), "x 2 y \x0c\x05\x01");
}

TEST_F(ParserTest, MalformedAndFailingExpressionsRaise)
{
    EXPECT_THROW(parser.Evaluate("7 MOD 0"), CalculationError);
    try {
        parser.Evaluate("7 MOD 0");
    } catch (const CalculationError& e) {
        EXPECT_STREQ(e.what(), "Division by zero");
    }
    struct Bad {
        const char* expr;
        const char* message;
    };
    const Bad parseErrors[] = {
        {"(1 + 2", "Missing )"},
        {"IF(1, 2", "Missing )"},
        {"[abc", "Missing ]"},
        {"1 +", "Missing operand"},
        {"f(1, 2, 3, 4)", "Too many arguments"},
        {"NOSUCH + 1", "Undefined symbol \"NOSUCH\""},
    };
    for (const Bad& b : parseErrors) {
        SCOPED_TRACE(b.expr);
        try {
            parser.Evaluate(b.expr);
            ADD_FAILURE() << "no error";
        } catch (const ParseError& e) {
            EXPECT_STREQ(e.what(), b.message);
        }
    }
    // Integers out of range and text that is not a number are conversion errors.
    for (const char* expr : {"10000000000 MOD 3", "s + 1", "COPY('abc', 1.5, 1)", "IF('x', 1, 2)", "s * 2",
                             "STRTODATE('not a date')", "1.5E"})
        EXPECT_THROW(parser.Evaluate(expr), ConversionError) << expr;
}

TEST_F(ParserTest, NamesReachTheHookUpperCasedAndBracketsAsWritten)
{
    vars.SetVariable("Page#", Value(2));
    EXPECT_EQ(parser.Evaluate("a + [Page#]"), Value(3));
    EXPECT_EQ(asked, (std::vector<std::string>{"A", "Page#"}));
}

TEST_F(ParserTest, OtherFunctionsGetTheirArgumentTextsUnevaluated)
{
    EXPECT_EQ(parser.Evaluate("sum([a] + 1, 'x,y', g(2,3))"), Value("called SUM"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].name, "SUM");
    EXPECT_EQ(calls[0].p1, "[a] + 1");
    EXPECT_EQ(calls[0].p2, " 'x,y'");
    EXPECT_EQ(calls[0].p3, " g(2,3)");
    EXPECT_TRUE(asked.empty());

    calls.clear();
    EXPECT_EQ(parser.Evaluate("arr[b + 1]"), Value("called GETARRAY"));
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].p1, "arr");
    EXPECT_EQ(calls[0].p2, " b + 1");
}

TEST_F(ParserTest, DeepExpressionsGrowTheStack)
{
    std::string expr = "1";
    for (int i = 0; i < 99; ++i) expr = "1 + (" + expr + ")";
    EXPECT_EQ(parser.Evaluate(expr), Value(100.0));
}

TEST_F(ParserTest, LocaleDecimalSeparatorReadsAndWritesNumbers)
{
    Locale comma = defaultLocale();
    comma.decimalSeparator = ',';
    parser.locale = &comma;
    EXPECT_EQ(parser.Evaluate("1.5 + 1,5"), Value(3.0));
    EXPECT_EQ(parser.Evaluate("STR(2.25)"), Value("2,25"));
}

TEST(ValueOps, ComparisonsFollowTheKindsOfBothSides)
{
    const Locale& l = defaultLocale();
    struct Cmp {
        Value a, b;
        int expected;
    };
    const Cmp cases[] = {
        {Value("b"), Value("a"), 1},
        {Value("A"), Value("a"), -1},          // byte order, case counts
        {Value("2"), Value(10), -1},           // numeric when one side is a number
        {Value(true), Value(1), 0},
        {Value(true), Value("false"), 1},
        {Value::null(), Value(-5), -1},        // Null below everything
        {Value::null(), Value::null(), 0},
        {Value(), Value(""), 0},               // empty is "" beside text
        {Value(), Value(0), 0},
        {Value(encodeDate(2020, 1, 2)), Value("2020-1-1"), 1},
    };
    for (const Cmp& c : cases) {
        SCOPED_TRACE(c.a.toText() + " vs " + c.b.toText());
        EXPECT_EQ(ops::compare(c.a, c.b, l), c.expected);
    }
}

} // namespace
} // namespace pemvora::report
