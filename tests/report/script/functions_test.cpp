// The built-in functions, the report's function dispatch and the library
// registry with its descriptions.

#include "platform/text/gbk.h"
#include "platform/value/datetime.h"
#include "platform/value/locale.h"
#include "report/data/datasource.h"
#include "report/data/memorydataset.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/functions.h"
#include "report/script/names.h"
#include "report/script/valueops.h"
#include "tests/support/recording_ui.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

std::string G(const char* utf8) { return text::utf8ToGbk(utf8); }

class FunctionsTest : public ::testing::Test {
protected:
    FunctionsTest()
    {
        resetEngine();
        engine().CurrentReport = &report;
    }
    ~FunctionsTest() override { resetEngine(); }

    Value evaluate(std::string_view expression) { return evaluatorFor(report).Evaluate(expression); }
    // The result as STR shows it.
    std::string show(std::string_view expression)
    {
        return ops::str(evaluate(expression), defaultLocale()).toText();
    }

    TfrReport report;
};

struct Case {
    std::string expression;
    std::string expected;
};

TEST_F(FunctionsTest, TextFunctions)
{
    engine().Variables.SetVariable("name", Value(G("张三")));
    const Case cases[] = {
        {"LENGTH('abc')", "3"},
        {"LENGTH('')", "0"},
        {G("LENGTH('甲乙')"), "4"},                  // a Chinese character counts 2
        {"LENGTH(name)", "4"},
        {"POS('c', 'abc')", "3"},
        {"POS('x', 'abc')", "0"},
        {G("POS('乙', '甲乙丙')"), "3"},            // byte position
        {G("POS('[', '癧')"), "0"},                  // the trail byte of 癧 is "[": no match inside a character
        {G("POS('B', 'a甲B')"), "4"},
        {"LOWERCASE('AbC')", "abc"},
        {G("LOWERCASE('AB甲')"), G("ab甲")},
        {"UPPERCASE('abc') + UPPERCASE('x')", "ABCX"},
        {"NAMECASE('hELLO wORLD')", "Hello world"},
        {"NAMECASE('')", ""},
        {"TRIM('  a b  ')", "a b"},
        {"COPY(TRIM(' abc '), 2, 1)", "b"},
    };
    for (const Case& c : cases) EXPECT_EQ(show(c.expression), c.expected) << text::gbkToUtf8(c.expression);
}

TEST_F(FunctionsTest, DatesNumbersAndFormats)
{
    engine().Variables.SetVariable("d", Value(encodeDateTime({2008, 3, 5}, {14, 7, 9})));
    const Case cases[] = {
        {"DAYOF(d)", "5"},
        {"MONTHOF(d)", "3"},
        {"YEAROF(d)", "2008"},
        {"DAYOF('2021-12-31')", "31"},               // a text is read as a date
        {"FORMATDATETIME('yyyy-mm-dd hh:nn', d)", "2008-03-05 14:07"},
        {G("FORMATDATETIME('yyyy年m月d日', d)"), G("2008年3月5日")},
        {"FORMATFLOAT('#,##0.00', 1234.5)", "1,234.50"},
        {"FORMATFLOAT('000', 7)", "007"},
        {"FORMATFLOAT('0.00;(0.00)', -3)", "(3.00)"},
        {"FORMATFLOAT('0.0', '2.25' + 1)", "3.3"},
        {"FORMATTEXT('000-0000', '1234567')", "123-4567"},
        {"FORMATTEXT('>LL-00', 'ab12')", "AB-12"},
        {"FORMATTEXT('(000)', '12')", "(12 )"},      // blanks are spaces
        {"MAXNUM(2, 10)", "10"},
        {"MAXNUM('2', '10')", "2"},                  // two texts compare as texts
        {"MINNUM(2, 10)", "2"},
        {"MINNUM('2', '10')", "10"},
        {"MAXNUM(-5, -3) + MINNUM(-5, -3)", "-8"},
    };
    for (const Case& c : cases) EXPECT_EQ(show(c.expression), c.expected) << text::gbkToUtf8(c.expression);

    EXPECT_THROW(evaluate("DAYOF('no date')"), ConversionError);
    EXPECT_THROW(evaluate("FORMATFLOAT('0.0', 'abc')"), ConversionError);
}

TEST_F(FunctionsTest, InputAndMessageBoxAskThroughTheUiServices)
{
    testsupport::ScopedRecordingUi ui;
    ui.inputs = {std::string("王五"), std::nullopt};
    EXPECT_EQ(evaluate(G("INPUT('姓名', 'x')")), Value(G("王五")));
    EXPECT_EQ(evaluate("INPUT('Amount')"), Value("0"));   // cancelled: the default, an empty text evaluated
    ASSERT_EQ(ui.asked.size(), 2u);
    EXPECT_EQ(ui.asked[0].caption, "");
    EXPECT_EQ(ui.asked[0].prompt, "姓名");
    EXPECT_EQ(ui.asked[0].initial, "x");
    EXPECT_EQ(ui.asked[1].initial, "0");

    ui.answers = {ui::Answer::No, ui::Answer::Ok};
    EXPECT_EQ(show(G("MESSAGEBOX('继续？', 'Title', mb_YesNo + mb_IconQuestion)")), "7");
    EXPECT_EQ(show("MESSAGEBOX('Done', 'Title', mb_Ok)"), "1");
    ASSERT_EQ(ui.shown.size(), 2u);
    EXPECT_EQ(ui.shown[0].text, "继续？");
    EXPECT_EQ(ui.shown[0].caption, "Title");
    EXPECT_EQ(ui.shown[0].buttons, ui::Buttons::YesNo);
    EXPECT_EQ(ui.shown[0].icon, ui::Icon::Question);
    EXPECT_EQ(ui.shown[1].buttons, ui::Buttons::Ok);
    EXPECT_THROW(evaluate("MESSAGEBOX('a', 'b', 'many')"), ConversionError);
    EXPECT_EQ(ui.shown.size(), 2u);
}

TEST_F(FunctionsTest, FieldIsNull)
{
    ComponentContainer form("Form1");
    MemoryDataSet query("Query1", {{"Amount", FieldKind::Float}, {"Payee", FieldKind::String}});
    query.appendRow({Value(12.5), Value("ACME")});
    query.appendRow({Value(7.0), Value::null()});
    query.open();
    form.add(&query);
    report.Owner = &form;
    TfrDBDataSet source("frDBDataSet1");
    source.SetDataSet(&query);
    report.Dataset = &source;

    EXPECT_EQ(evaluate("FIELDISNULL('Query1.Payee')"), Value(false));
    query.next();
    EXPECT_EQ(evaluate("FIELDISNULL('Query1.Payee')"), Value(true));
    EXPECT_EQ(evaluate("FIELDISNULL('Query1.\"Amount\"')"), Value(false));
    EXPECT_EQ(evaluate("FIELDISNULL('NoSuchSet.Payee')"), Value(true));   // no data set: true
    EXPECT_EQ(evaluate("FIELDISNULL('Payee')"), Value(true));             // no default data set asked for
    report.UseDefaultDataSetName = true;
    EXPECT_EQ(evaluate("FIELDISNULL('Amount')"), Value(false));
    EXPECT_THROW(evaluate("FIELDISNULL('Query1.NoSuchField')"), DataError);
}

// A library of its own, registered after the standard ones.
class TestLibrary : public TfrFunctionLibrary {
public:
    explicit TestLibrary(std::string className = "TestLibrary") : className_(std::move(className))
    {
        FunctionNames = {"TWICE", "INC"};
    }
    std::string_view ClassName() const override { return className_; }
    void FileDescriptions() override
    {
        AddDescription("TWICE", "Math", "TWICE(<Value>)/Doubles <Value>.");
        AddDescription("SUM", "Math", "SUM/filed twice: kept once");
        AddDescription("HIDDEN", "", "no category: not filed");
    }
    void ExecuteFunction(int number, const FunctionCall& call, Value& value) override
    {
        if (number == 0) value = ops::multiply(call.Evaluate(0), Value(2), defaultLocale());
        else value = Value("library INC");
    }

private:
    std::string className_;
};

TEST_F(FunctionsTest, DispatchOrderLibrariesProceduresThenTheHost)
{
    engine().Variables.SetVariable("n", Value(1));
    EXPECT_EQ(evaluate("NOSUCH(1)"), Value("0"));        // nothing handles it

    std::vector<std::string> heard;
    report.OnUserFunction = [&](const std::string& name, const Value& p1, const Value&, const Value&, Value& result) {
        heard.push_back(name + ":" + p1.toText());
        if (name == "MYFUNC") result = Value(42);
    };
    EXPECT_EQ(show("myfunc( 'a' ) + 1"), "43");
    EXPECT_EQ(show("INC(n)"), "0");                      // the procedure ran, then the host heard of it
    EXPECT_EQ(show("n"), "2");
    EXPECT_EQ(show("POS('b', 'ab')"), "2");              // a library took it: the host hears nothing
    EXPECT_EQ(heard, (std::vector<std::string>{"MYFUNC: 'a' ", "INC:n"}));

    ASSERT_TRUE(functionRegistry().RegisterLibrary<TestLibrary>());
    EXPECT_EQ(show("TWICE(21)"), "42");
    EXPECT_EQ(show("INC(n)"), "library INC");            // libraries come before the procedures
    EXPECT_EQ(show("n"), "2");
}

TEST_F(FunctionsTest, RegistryAndDescriptions)
{
    FunctionRegistry& registry = functionRegistry();
    const TfrInstalledFunctions& installed = registry.Installed;
    EXPECT_EQ(installed.GetFunctionCategories(),
              (std::vector<std::string>{"Aggregate", "Boolean", "Database", "Date and time", "Interpreter", "Math",
                                        "Other", "Report info", "String"}));
    EXPECT_EQ(installed.GetFunctions("aggregate"), (std::vector<std::string>{"AVG", "COUNT", "MAX", "MIN", "SUM"}));
    EXPECT_EQ(installed.GetFunctions("Database"), std::vector<std::string>{"FIELDISNULL"});
    EXPECT_EQ(installed.GetDescription("sum"),
              "SUM(<Expression> [,BandName [,1]])/Calculates the sum of <Expression> for [BandName] row given. If [1] "
              "parameter is used, calculates sum for non-visible rows too.");
    EXPECT_EQ(installed.GetDescription("nosuch"), "");
    const std::size_t all = installed.GetFunctions(kAllFunctions).size();
    EXPECT_EQ(installed.GetFunctions("").size(), all);

    ASSERT_TRUE(registry.RegisterLibrary<TestLibrary>());
    ASSERT_TRUE(registry.RegisterLibrary<TestLibrary>());     // the same class once
    EXPECT_EQ(registry.Libraries().size(), 3u);
    EXPECT_EQ(installed.GetFunctions(kAllFunctions).size(), all + 1);   // TWICE; SUM is filed already
    EXPECT_EQ(installed.GetDescription("TWICE"), "TWICE(<Value>)/Doubles <Value>.");

    registry.UnregisterLibrary("TestLibrary");
    EXPECT_EQ(installed.GetDescription("TWICE"), "");
    EXPECT_EQ(evaluate("TWICE(2)"), Value("0"));

    // 64 libraries at most; one more is refused, not kept.
    for (std::size_t i = registry.Libraries().size(); i < kMaxFunctionLibraries; ++i)
        ASSERT_TRUE(registry.RegisterLibrary([i] { return std::make_unique<TestLibrary>("Lib" + std::to_string(i)); }));
    EXPECT_FALSE(registry.RegisterLibrary([] { return std::make_unique<TestLibrary>("OneTooMany"); }));
    EXPECT_EQ(registry.Libraries().size(), kMaxFunctionLibraries);
}

TEST_F(FunctionsTest, ProceduresOfTheReport)
{
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    memo.Memo = {"first", "second"};

    evaluate("SETARRAY(a, 2, 'x')");
    evaluate("SETARRAY(a, 'k', 5)");
    EXPECT_EQ(engine().Variables.GetVariable("Arr_a_2"), Value("x"));
    EXPECT_EQ(engine().Variables.GetVariable("ARR_A_K"), Value(5.0));
    EXPECT_EQ(show("a[1 + 1] + A[2]"), "xx");
    EXPECT_TRUE(evaluate("a[3]").isNull());

    EXPECT_EQ(show("Memo1.Memo[1]"), "second");               // an object's indexed property
    evaluate("SETARRAY(Memo1.Memo, 0, 'changed')");
    EXPECT_EQ(memo.Memo[0], "changed");
    evaluate("Memo1.Memo.Add('third')");                      // an object's method
    EXPECT_EQ(memo.Memo.size(), 3u);
    EXPECT_EQ(show("Memo1.Memo.IndexOf('third')"), "2");
    evaluate("Memo1.Hide(0)");
    EXPECT_FALSE(memo.Visible);

    evaluate("STOPREPORT(0)");
    EXPECT_TRUE(report.Terminated);
}

} // namespace
} // namespace pemvora::report
