// Expressions and text lines that once ran the evaluator into the ground: an
// unpaired double quote, brackets and calls nested thousands deep, dates far
// outside the calendar. Each ends in a result or a clear error.

#include "platform/value/locale.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/displayformat.h"
#include "report/script/functionsplitter.h"
#include "report/script/names.h"
#include "report/script/valueops.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pemvora::report {
namespace {

using ::testing::HasSubstr;

std::string nested(const std::string& open, const std::string& inner, const std::string& close, int depth)
{
    std::string s;
    for (int i = 0; i < depth; ++i) s += open;
    s += inner;
    for (int i = 0; i < depth; ++i) s += close;
    return s;
}

class InputLimits : public ::testing::Test {
protected:
    InputLimits()
    {
        resetEngine();
        TfrPage& page = report.Pages.Items(report.Pages.Add());
        memo = &page.Add<TfrMemoView>();
        memo->Name = "Memo1";
        memo->DisplayFormat = 0;
        engine().CurrentReport = &report;
        engine().CurrentView = memo;
    }
    ~InputLimits() override { resetEngine(); }

    Value eval(const std::string& expression) { return evaluatorFor(report).Evaluate(expression); }
    std::string expand(const std::string& line) { return ExpandLine(report, line); }
    // The message of the ParseError that `run` raises; empty when it raises none.
    template <class Run>
    static std::string parseError(Run run)
    {
        try {
            run();
        } catch (const ParseError& e) {
            return e.what();
        }
        return {};
    }

    TfrReport report;
    TfrMemoView* memo = nullptr;
};

TEST_F(InputLimits, AnUnpairedDoubleQuoteIsAnError)
{
    for (const char* expression : {"\"", "a\"", "1+\"", "\"\"\"", "x.\"field name"}) {
        SCOPED_TRACE(expression);
        EXPECT_THAT(parseError([&] { eval(expression); }), HasSubstr("Missing closing double quote"));
    }
    // Paired quotes still make one name of a field part with blanks and operators in it.
    engine().Variables.SetVariable("x.\"field + name\"", Value(7));
    EXPECT_EQ(eval("x.\"field + name\" * 2").toInteger(), 14);
    EXPECT_EQ(expand("[x.\"field + name\"]"), "7");
}

TEST_F(InputLimits, NestingTenThousandDeepIsAnErrorNotAStackOverflow)
{
    const std::string brackets = nested("[", "1", "]", 10000);
    const std::string calls = nested("IF(1, ", "2", ", 0)", 10000);
    const std::string mixed = nested("[COPY(", "'abc'", ", 1, 2)]", 5000);
    for (const std::string* text : {&brackets, &calls, &mixed}) {
        EXPECT_THAT(parseError([&] { eval(*text); }), HasSubstr("nested too deeply"));
        EXPECT_THAT(parseError([&] { expand("[" + *text + "]"); }), HasSubstr("nested too deeply"));
    }
    std::vector<std::string> found;
    TfrFunctionSplitter splitter({"SUM"}, &report.Dictionary.VarList, found);
    EXPECT_THAT(parseError([&] { splitter.CollectCalls(nested("SUM(", "1", ")", 10000)); }),
                HasSubstr("nested too deeply"));
    EXPECT_THAT(parseError([&] { splitter.CollectCalls(brackets); }), HasSubstr("nested too deeply"));

    // The failures leave nothing behind: what follows evaluates as ever.
    EXPECT_EQ(engine().EvaluationDepth, 0);
    EXPECT_EQ(eval("1 + 1").toInteger(), 2);
}

TEST_F(InputLimits, ReasonableNestingStillWorks)
{
    EXPECT_EQ(eval(nested("[", "1", "]", 90)).toInteger(), 1);
    EXPECT_EQ(expand(nested("[", "2", "]", 90)), "2");
    EXPECT_EQ(ops::str(eval(nested("IF(1, ", "2", ", 0)", 90)), defaultLocale()).toText(), "2");
    std::vector<std::string> found;
    TfrFunctionSplitter splitter({"SUM"}, &report.Dictionary.VarList, found);
    splitter.CollectCalls(nested("SUM(", "1", ")", 90));
    EXPECT_EQ(found.size(), 90u);
}

TEST_F(InputLimits, DatesFarOutsideTheCalendarShowTheirNumber)
{
    engine().Variables.SetVariable("d", Value(DateTime{1e308}));
    EXPECT_EQ(expand("[1e308 #T]"), "1E308");
    EXPECT_EQ(expand("[9223372036854775808 #D]"), "9.22337203685478E18");
    EXPECT_EQ(expand("[-1e300 #Dyyyy-mm-dd hh:nn]"), "-1E300");
    EXPECT_EQ(expand("[d]"), "1E308");
    memo->DisplayFormat = DisplayFormat{category::Date, 1, 0, 0}.pack();
    EXPECT_EQ(expand("[d]"), "1E308");
}

} // namespace
} // namespace pemvora::report
