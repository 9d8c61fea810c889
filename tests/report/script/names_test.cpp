// Name resolution of a report: the order of the sources, system names, the
// expression fallback and its "Undefined symbol", assignment, the dictionary
// with data fields, and brackets expanded with the current object's format.

#include "platform/text/gbk.h"
#include "report/data/datasource.h"
#include "report/data/memorydataset.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/displayformat.h"
#include "report/script/names.h"
#include "report/script/valueops.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

std::string G(const char* utf8) { return text::utf8ToGbk(utf8); }

class NamesTest : public ::testing::Test {
protected:
    NamesTest()
    {
        resetEngine();
        TfrPage& page = report.Pages.Items(report.Pages.Add());
        memo = &page.Add<TfrMemoView>();
        memo->Name = "Memo1";
        memo->Left = 37;
        memo->DisplayFormat = 0;   // text: values shown as they are
        engine().CurrentReport = &report;
        engine().CurrentView = memo;
        vars().SetVariable("dx", Value(G("￥1234.00")));
    }
    ~NamesTest() override { resetEngine(); }

    static TfrVariables& vars() { return engine().Variables; }
    std::string expand(std::string_view line) { return ExpandLine(report, line); }
    void addDictionaryVariable(const char* name, const char* expression)
    {
        if (report.Dictionary.VarList.Count() == 0) report.Dictionary.VarList.SetVariable(" Main", Value(""));
        report.Dictionary.VarList.SetVariable(name, Value(expression));
    }

    TfrReport report;
    TfrMemoView* memo = nullptr;
};

TEST_F(NamesTest, StoredValuesShowUnchangedInAnyCase)
{
    vars().SetVariable("expr", Value("1+2"));
    vars().SetVariable("DX", Value(G("人民币壹仟贰佰叁拾肆元整")));   // replaces dx, keeps one entry
    EXPECT_EQ(vars().Count(), 2);
    const std::string amount = G("人民币壹仟贰佰叁拾肆元整");
    EXPECT_EQ(expand("[dx]"), amount);
    EXPECT_EQ(expand("[DX]"), amount);
    EXPECT_EQ(expand(G("大写：[Dx]。")), G("大写：") + amount + G("。"));
    EXPECT_EQ(expand("[expr]"), "1+2");

    // Names and texts whose trail bytes are "[" (B0 5B) and "]" (B0 5D).
    vars().SetVariable(G("癧癩"), Value(G("癩值[")));
    EXPECT_EQ(expand(G("癧[癧癩]癩")), G("癧癩值[癩"));
    EXPECT_EQ(expand(G("[癧癩 + '癩']")), G("癩值[癩"));
}

TEST_F(NamesTest, ResolutionOrder)
{
    engine().PageNo = 1;
    addDictionaryVariable("three", "1 + 2");
    addDictionaryVariable("empty", "");
    addDictionaryVariable("PAGE#", "99");          // the dictionary comes before system names
    addDictionaryVariable("shadowed", "10");
    vars().SetVariable("shadowed", Value("global"));   // ...and hands over to frVariables of the same name
    vars().SetVariable("clRed", Value(7));             // frVariables come before constants
    struct Case {
        const char* line;
        std::string expected;
    };
    const Case cases[] = {
        {"[three]", "3"},
        {"[empty]", ""},
        {"[PAGE#]", "99"},
        {"[shadowed]", "global"},
        {"[clRed]", "7"},
        {"[clBlue]", "16711680"},
        {"[CRLF]", "\r\n"},
        {"[VALUE]", "0"},
        {"[Memo1.Left]", "37"},
        {"[Left + 1]", "38"},                  // a property of the current object
        {"[three * 2]", "6"},
        {"[Page#]", "99"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(expand(c.line), c.expected);
    }
    report.Dictionary.VarList.Clear();
    EXPECT_EQ(expand("[PAGE#]"), "2");
    EXPECT_EQ(expand("[Page#]"), "2");         // reaches the system name through the fallback
    vars().SetVariable("clRed", Value::null());
    vars().Delete(vars().IndexOf("clRed"));
    EXPECT_EQ(expand("[clRed]"), "255");
}

TEST_F(NamesTest, UnresolvableNamesRaiseUndefinedSymbolInUpperCase)
{
    for (const char* line : {"[nosuch]", "[NOSUCH]", "[a][nosuch + 1]"}) {
        SCOPED_TRACE(line);
        vars().SetVariable("a", Value(1));
        try {
            expand(line);
            ADD_FAILURE() << "no error";
        } catch (const ParseError& e) {
            EXPECT_STREQ(e.what(), "Undefined symbol \"NOSUCH\"");
        }
    }
    // During the aggregate collection pass brackets give nothing and raise nothing.
    engine().CollectingAggregates = true;
    EXPECT_EQ(expand("x[nosuch]y"), "xy");
}

TEST_F(NamesTest, HostHandlerComesFirst)
{
    engine().PageNo = 4;
    report.OnGetValue = [](const std::string& name, Value& v) {
        if (name == "PAGE#") v = Value("handled");
    };
    EXPECT_EQ(expand("[PAGE#]"), "handled");
    EXPECT_EQ(expand("[dx]"), G("￥1234.00"));   // a handler that sets nothing changes nothing
}

TEST_F(NamesTest, DictionaryVariablesThatReferToThemselvesRaise)
{
    addDictionaryVariable("A", "B + 1");
    addDictionaryVariable("B", "A");
    addDictionaryVariable("Self", "Self");
    for (const char* line : {"[A]", "[Self]"}) {
        SCOPED_TRACE(line);
        EXPECT_THROW(expand(line), CalculationError);
    }
    // The guard is released after the error: a later bracket works.
    addDictionaryVariable("Ok", "2 * 2");
    EXPECT_EQ(expand("[Ok]"), "4");
}

TEST_F(NamesTest, BracketFormatsAndTheObjectFormat)
{
    vars().SetVariable("Sum", Value(1234.5));
    vars().SetVariable("d", Value(encodeDate(2008, 3, 5)));
    vars().SetVariable("zero", Value(0));
    vars().SetVariable("zeroText", Value("0"));
    EXPECT_EQ(expand("[Sum #N0.2]"), "1234.50");
    EXPECT_EQ(expand("[d #Dyyyy-mm-dd]"), "2008-03-05");
    EXPECT_EQ(expand("[Sum #N0.2]/[Sum #N#,##0.0]"), "1234.50/1,234.5");

    memo->DisplayFormat = DisplayFormat{category::Number, 1, 2, ','}.pack();
    EXPECT_EQ(expand("[Sum]"), "1234,50");
    EXPECT_EQ(expand("[zero]"), "0,00");
    memo->Flags |= flag::HideZeros;
    EXPECT_EQ(expand("<[zero]>"), "<>");
    memo->DisplayFormat = 0;
    EXPECT_EQ(expand("<[zeroText]>"), "<0>");
    EXPECT_EQ(engine().BracketValue, Value("0"));   // VALUE holds the last bracket's value
}

TEST_F(NamesTest, AssignmentOrder)
{
    addDictionaryVariable("dictVar", "1 + 1");
    AssignName(report, "dx", Value("changed"));
    EXPECT_EQ(vars().GetVariable("dx"), Value("changed"));
    AssignName(report, "dictVar", Value(5));
    EXPECT_EQ(report.Dictionary.VarList.GetVariable("dictVar"), Value(5));
    AssignName(report, "Memo1.Left", Value(50));
    EXPECT_EQ(memo->Left, 50);
    AssignName(report, "CURY", Value(10));                   // nothing without a run
    EXPECT_THROW(AssignName(report, "ModalResult", Value("x")), ConversionError);
    AssignName(report, "brandNew", Value(3));
    EXPECT_EQ(vars().GetVariable("BRANDNEW"), Value(3));
    EXPECT_EQ(vars().IndexOf("CURY"), -1);

    // A created variable outlives the report's run.
    TfrReport later;
    EXPECT_EQ(ExpandLine(later, "[brandNew]"), "3");
}

TEST_F(NamesTest, DataFieldsThroughTheDictionary)
{
    ComponentContainer form("Form1");
    MemoryDataSet query("Query1", {{"Amount", FieldKind::Float}, {"Payee", FieldKind::String}});
    query.appendRow({Value(12.5), Value(G("某公司"))});
    query.appendRow({Value(7.0), Value::null()});
    form.add(&query);
    report.Owner = &form;
    TfrDBDataSet source("frDBDataSet1");
    source.SetDataSet(&query);
    report.Dataset = &source;
    report.Dictionary.AliasList.SetVariable("Query1.Payee", Value(G("收款人")));
    addDictionaryVariable("Amt", "Query1.\"Amount\"");

    EXPECT_EQ(expand("[Query1.Amount]"), "12.5");          // the closed dataset is opened
    EXPECT_TRUE(query.isOpen());
    EXPECT_EQ(expand("[Query1.\"Payee\"]"), G("某公司"));
    EXPECT_EQ(expand("[Query1." + G("收款人") + "]"), G("某公司"));   // by its alias
    EXPECT_EQ(expand("[Amount]"), "12.5");                  // the report's data set
    EXPECT_EQ(expand("[Amt * 2]"), "25");
    EXPECT_EQ(expand("[Query1.Amount * 1.5]"), "18.75");     // an expression, not a field name
    query.next();
    EXPECT_EQ(expand("[Amt]/[Payee]"), "7/");               // NULL text is empty text
    try {
        expand("[NoForm.Query1.Amount]");
        ADD_FAILURE() << "no error";
    } catch (const DataError& e) {
        EXPECT_STREQ(e.what(), "Missing NoForm.Query1.Amount");
    }
}

TEST_F(NamesTest, FunctionCallsGoToTheReport)
{
    EXPECT_EQ(expand("[TOTAL(1)]"), "0");   // a call that nothing handles
    report.OnUserFunction = [](const std::string& name, const Value& p1, const Value&, const Value&, Value& r) {
        r = Value(name + ":" + p1.toText());
    };
    EXPECT_EQ(expand("[total(dx)]"), "TOTAL:dx");
    EXPECT_EQ(expand("[IF(dx = '', 'none', COPY(dx, 1, 2))]"), G("￥"));
}

TEST_F(NamesTest, ObjectMethodsEvaluateThroughTheInstalledEvaluator)
{
    evaluatorFor(report);
    EXPECT_EQ(engine().Evaluator, &globalEvaluator());
    memo->CallMethod("LINES.ADD", Value("'amount: ' + dx"), Value(), Value());
    ASSERT_EQ(memo->Memo.size(), 1u);
    EXPECT_EQ(memo->Memo.back(), "amount: " + G("￥1234.00"));
    // What a text object calls to expand its lines.
    EXPECT_EQ(engine().Evaluator->ExpandLine("[dx]!"), G("￥1234.00") + "!");
}

} // namespace
} // namespace pemvora::report
