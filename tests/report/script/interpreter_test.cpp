// The script interpreter: each statement kind run against a report, the
// compiled form, compile errors with their line and column, the limits it
// refuses, and the run-time guards (statement limit, nesting of runs).

#include "platform/text/gbk.h"
#include "report/model/band_runtime.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/script/functions.h"
#include "report/script/interpreter.h"
#include "report/script/names.h"
#include "report/script/scriptrun.h"

#include <gtest/gtest.h>

namespace pemvora::report {
namespace {

std::string G(const char* utf8) { return text::utf8ToGbk(utf8); }

class InterpreterTest : public ::testing::Test {
protected:
    InterpreterTest()
    {
        resetEngine();
        engine().CurrentReport = &report;
        page = &report.Pages.Items(report.Pages.Add());
        memo = &page->Add<TfrMemoView>();
        memo->Name = "Memo1";
        memo->Width = 80;
    }
    ~InterpreterTest() override { resetEngine(); }

    std::vector<ScriptError> run(const StringList& source) { return CompileAndRun(report, source); }
    static Value var(std::string_view name) { return engine().Variables.GetVariable(name); }
    std::vector<ScriptError> compile(const StringList& source, StringList& compiled)
    {
        std::vector<ScriptError> errors;
        TInterpretator(report).CompileScript(source, compiled, errors);
        return errors;
    }

    TfrReport report;
    TfrPage* page = nullptr;
    TfrMemoView* memo = nullptr;
};

struct RunCase {
    StringList source;
    std::vector<std::pair<std::string, Value>> expected;   // a Null value: the variable must not exist
};

TEST_F(InterpreterTest, StatementKinds)
{
    const RunCase cases[] = {
        {{"x := 1 + 2 * 3"}, {{"x", Value(7.0)}}},
        {{"begin x := 0; for i := 1 to 3 do x := x + i end"}, {{"x", Value(6.0)}, {"i", Value(4.0)}}},
        {{"begin n := 3; s := ''; for i := n - 1 to n do s := s + STR(i) end"}, {{"s", Value("23")}}},
        {{"begin x := 5; repeat x := x - 2 until x <= 0 end"}, {{"x", Value(-1.0)}}},
        {{"begin n := 0; while n < 5 do n := n + 1 end"}, {{"n", Value(5.0)}}},
        {{"begin n := 0; while 0 do n := n + 1 end"}, {{"n", Value(0.0)}}},
        {{"begin x := 2;", "if x > 1 then y := 'big' else y := 'small';", "if x > 5 then z := 'big' else z := 'small'",
          "end"},
         {{"y", Value("big")}, {"z", Value("small")}}},
        {{"begin if 1 then if 0 then a := 1 else a := 2 end"}, {{"a", Value(2.0)}}},
        {{"begin i := 0; 10: i := i + 1; if i < 3 then goto 10; done := i end"}, {{"done", Value(3.0)}}},
        {{"begin exit; x := 1 end"}, {{"x", Value::null()}}},
        {{"begin x := 1; inc(x); inc(x); dec(x); inc(x) end"}, {{"x", Value(3.0)}}},
        {{"begin a[2] := 'x'; b := a[2] end"}, {{"Arr_a_2", Value("x")}, {"b", Value("x")}}},
        {{"x := 1; y := 2"}, {{"x", Value(1.0)}, {"y", Value::null()}}},   // one statement only
        {{"begin { c := 1 }", "  x := 1; // y := 2", "  z := 'a{b}//c'", "end"},
         {{"x", Value(1.0)}, {"z", Value("a{b}//c")}, {"c", Value::null()}, {"y", Value::null()}}},
        {{"begin s := 'It''s'; p := [PAGE#]; t := True end"},
         {{"s", Value("It's")}, {"p", Value(1)}, {"t", Value(true)}}},
        {{G("begin s := '甲乙'; n := LENGTH(s) + POS('乙', s) end")}, {{"n", Value(7)}}},
        {{"begin;; x := 1;; end"}, {{"x", Value(1.0)}}},
        {{"BEGIN X := 1 END"}, {{"x", Value(1.0)}}},
    };
    for (const RunCase& c : cases) {
        engine().Variables.Clear();
        const std::vector<ScriptError> errors = run(c.source);
        ASSERT_TRUE(errors.empty()) << c.source[0] << ": " << errors[0].Text();
        for (const auto& [name, value] : c.expected) EXPECT_EQ(var(name), value) << c.source[0] << " " << name;
    }
}

TEST_F(InterpreterTest, ObjectPropertiesAndMethods)
{
    ASSERT_TRUE(run({"begin",
                     "  Memo1.Left := 50;",
                     "  w := Memo1.Width + Memo1.Left;",
                     "  Memo1.Memo.Add('added');",
                     "  Memo1.Memo[0] := 'changed';",
                     "  Memo1.Hide",
                     "end"})
                    .empty());
    EXPECT_EQ(memo->Left, 50);
    EXPECT_EQ(var("w").toText(), "130");
    EXPECT_EQ(memo->Memo, (StringList{"changed"}));   // Add put a line, the index set it
    EXPECT_FALSE(memo->Visible);

    // A bare property name is a property of the current object.
    ReportScripts scripts(report);
    memo->ScriptLines = {"begin Visible := True; Top := Left + 1 end"};
    scripts.RunScript(*memo);
    EXPECT_TRUE(memo->Visible);
    EXPECT_EQ(memo->Top, 51);
}

TEST_F(InterpreterTest, CompiledForm)
{
    StringList compiled;
    ASSERT_TRUE(compile({"if x then y := 1 else y := 'a'"}, compiled).empty());
    ASSERT_EQ(compiled.size(), 4u);
    EXPECT_EQ(compiled[0], std::string("\x01\x03\x00x ", 5));   // when x = 0 go to line 3
    EXPECT_EQ(compiled[1], "y 1 ");
    EXPECT_EQ(compiled[2], std::string("\x02\x04\x00", 3));     // past the end
    EXPECT_EQ(compiled[3], "y 'a' ");

    ASSERT_TRUE(compile({"begin NewPage; f(1, 2) end"}, compiled).empty());
    EXPECT_EQ(compiled, (StringList{"\x03NewPage(0)", "\x03" "f(1, 2)"}));

    ASSERT_TRUE(compile({"while i < 3 do i := i + 1"}, compiled).empty());
    EXPECT_EQ(compiled[0].substr(0, 3), std::string("\x01\x03\x00", 3));
    EXPECT_EQ(compiled[2], std::string("\x02\x00\x00", 3));     // back to the test
}

struct ErrorCase {
    StringList source;
    int line, column;
    std::string message;
};

TEST_F(InterpreterTest, CompileErrorsNameLineAndColumn)
{
    const ErrorCase cases[] = {
        {{"begin x := 1 y := 2 end"}, 1, 13, "Need \";\" or \"end\" here"},
        {{"if x begin end"}, 1, 5, "Need \"then\" here"},
        {{"begin", "  { note } x := 1 // one", "  y := 2 end"}, 2, 18, "Need \";\" or \"end\" here"},
        {{"begin {", "  long comment }", "  x := 1", "  y := 2", "end"}, 3, 9, "Need \";\" or \"end\" here"},
        {{"while x < 3 x := 1"}, 1, 12, "Need \"do\" here"},
        {{"for i := 1 do x := 1"}, 1, 11, "Need \"to\" here"},
        {{"for i = 1 to 2 do x := 1"}, 1, 6, "Need \":=\" here"},
        {{"repeat x := 1 y := 2 until x"}, 1, 14, "Need \";\" or \"until\" here"},
        {{"goto x"}, 1, 5, "\"goto\" label must be a number"},
        {{"x + 1"}, 1, 2, "Need \":=\" here"},
        {{"x := (1 + 2"}, 1, 12, "Need \")\" here"},
        {{"x := f(1 2)"}, 1, 9, "Need \",\" or \")\" here"},
        {{"x := [a + 1"}, 1, 6, "Need \"]\" here"},
        {{"x := 'abc", "y"}, 1, 10, "Need \"'\" here"},
        {{"begin", "x :=", "end"}, 2, 5, "Need an expression here"},
    };
    for (const ErrorCase& c : cases) {
        StringList compiled;
        const std::vector<ScriptError> errors = compile(c.source, compiled);
        ASSERT_EQ(errors.size(), 1u) << c.source[0];
        EXPECT_EQ(errors[0].Line, c.line) << c.source[0];
        EXPECT_EQ(errors[0].Column, c.column) << c.source[0];
        EXPECT_EQ(errors[0].Message, c.message) << c.source[0];
    }

    StringList compiled;
    EXPECT_TRUE(compile({"if x then begin end"}, compiled).empty());
    const std::vector<ScriptError> errors = compile({"begin x := 1 y := 2 end"}, compiled);
    EXPECT_EQ(errors[0].Text(), "Line 1/13: Need \";\" or \"end\" here");
}

TEST_F(InterpreterTest, AfterAnErrorTheScriptRunsUpToIt)
{
    StringList compiled;
    std::vector<ScriptError> errors;
    TInterpretator interpreter(report);
    interpreter.CompileScript({"begin a := 1; while a < 100 do begin a := a + 1 b := 2 end end"}, compiled, errors);
    ASSERT_EQ(errors.size(), 1u);
    interpreter.RunScript(compiled);     // the open loop leads past the end: no endless loop
    EXPECT_EQ(var("a"), Value(2.0));
    EXPECT_TRUE(var("b").isNull());
}

TEST_F(InterpreterTest, InputsOutsideTheLimitsAreRefused)
{
    StringList compiled;
    // A source of more than 32000 bytes, counting one separator per line.
    StringList big(1001, std::string(31, 'x'));
    big[0] = "begin x := 1 end" + std::string(15, ' ');
    std::vector<ScriptError> errors = compile(big, compiled);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, "The script is longer than 32000 bytes");
    EXPECT_EQ(errors[0].Line, 1001);     // byte 32001 starts the last line
    EXPECT_EQ(errors[0].Column, 1);
    EXPECT_TRUE(compiled.empty());
    big.resize(1000);                    // 1000 * 32 = 32000 bytes: accepted
    EXPECT_TRUE(compile(big, compiled).empty());

    std::string labels = "begin ";
    for (int i = 1; i <= 102; ++i) labels += std::to_string(i) + ": x := " + std::to_string(i) + "; ";
    labels += "end";
    errors = compile({labels}, compiled);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, "A script may have at most 101 labels");
    EXPECT_EQ(errors[0].Column, static_cast<int>(labels.find("102:")) + 1);

    errors = compile({"begin 1234567890123456: x := 1 end"}, compiled);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, "A label may have at most 16 characters");
    EXPECT_TRUE(compile({"begin 123456789012345: x := 1; goto 123456789012345 end"}, compiled).empty());

    errors = compile({"x := " + std::string(5000, '(') + "1" + std::string(5000, ')')}, compiled);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, "Statements or expressions nested more than 200 deep");
    std::string loops;
    for (int i = 0; i < 500; ++i) loops += "while 1 do ";
    errors = compile({loops + "x := 1"}, compiled);
    ASSERT_EQ(errors.size(), 1u);
    EXPECT_EQ(errors[0].Message, "Statements or expressions nested more than 200 deep");
}

TEST_F(InterpreterTest, RunTimeErrors)
{
    EXPECT_THROW(run({"if 'abc' then x := 1"}), ConversionError);
    EXPECT_THROW(run({"begin x := 1; goto 5 end"}), ScriptRunError);
    EXPECT_EQ(var("x"), Value(1.0));
    try {
        run({"y := nosuch + 1"});
        ADD_FAILURE() << "no error";
    } catch (const ParseError& e) {
        EXPECT_STREQ(e.what(), "Undefined symbol \"NOSUCH\"");
    }
}

TEST_F(InterpreterTest, AnEndlessLoopEndsAtTheStatementLimit)
{
    EXPECT_EQ(engine().ScriptStepLimit, 10'000'000);
    engine().ScriptStepLimit = 1000;
    memo->ScriptLines = {"begin n := 0; while 1 do n := n + 1 end"};
    ReportScripts scripts(report);
    scripts.Compile(*memo);
    try {
        scripts.RunScript(*memo);
        ADD_FAILURE() << "no error";
    } catch (const ScriptRunError& e) {
        EXPECT_STREQ(e.what(), "The script of Memo1 was stopped after 1000 statements (an endless loop?)");
    }
    // 1 statement before the loop, then the test and the assignment and the jump back per round.
    EXPECT_EQ(var("n"), Value(333.0));
    EXPECT_EQ(engine().ScriptDepth, 0);
}

// SHOWBAND as the band engine answers it: the band prints and runs its script.
class ShowBandRunsItsScript : public RunProcedures {
public:
    ShowBandRunsItsScript(ReportScripts& scripts, TfrView& band) : scripts_(scripts), band_(band) {}
    void ShowBandByName(const std::string& name) override
    {
        shown.push_back(name);
        if (text::equalsNoCase(name, band_.Name)) scripts_.RunScript(band_);
    }
    std::vector<std::string> shown;

private:
    ReportScripts& scripts_;
    TfrView& band_;
};

TEST_F(InterpreterTest, ABandThatShowsItselfEndsWithAnError)
{
    auto& band = page->Add<TfrBandView>();
    band.Name = "Band1";
    band.ScriptLines = {"begin depth := depth + 1; ShowBand(Band1) end"};
    engine().Variables.SetVariable("depth", Value(0));
    ReportScripts scripts(report);
    scripts.CompilePage(*page);
    ShowBandRunsItsScript procedures(scripts, band);
    engine().Procedures = &procedures;
    try {
        scripts.RunScript(band);
        ADD_FAILURE() << "no error";
    } catch (const ScriptRunError& e) {
        EXPECT_STREQ(e.what(), "The script of Band1 was started inside more than 64 running scripts");
    }
    EXPECT_EQ(var("depth"), Value(64.0));
    EXPECT_EQ(engine().ScriptDepth, 0);
    EXPECT_EQ(procedures.shown.front(), "Band1");
    engine().Procedures = nullptr;
}

TEST_F(InterpreterTest, RunScriptsCompileInPlaceAndPutTheSourceBack)
{
    const StringList source = {"begin", "  if [PAGE#] = 1 then NewPage;", "  Memo1.Tag := 'ran'", "end"};
    memo->ScriptLines = source;
    struct Runtime : TfrBandRuntime {
        void OpenDataSource(const std::string&) override {}
        bool Eof() override { return true; }
        void First() override {}
        void Next() override {}
        void Prior() override {}
        bool HasDataSource() const override { return false; }
    } band;
    engine().CurrentBand = &band;
    TfrView* before = engine().CurrentView;
    {
        ReportScripts scripts(report);
        EXPECT_EQ(engine().Scripts, &scripts);
        scripts.CompilePage(*page);
        EXPECT_TRUE(scripts.IsCompiled(*memo));
        EXPECT_NE(memo->ScriptLines, source);
        engine().Scripts->RunScript(*memo);   // as an object calls it while printing
        EXPECT_EQ(engine().CurrentView, before);
        engine().PageNo = 1;
        engine().Scripts->RunScript(*memo);
    }
    EXPECT_EQ(band.ForceNewPageCount, 1);    // only on page 1
    EXPECT_EQ(memo->Tag, "ran");
    EXPECT_EQ(memo->ScriptLines, source);
    EXPECT_EQ(engine().Scripts, nullptr);

    page->ScriptLines = {"pages := pages + 1"};
    engine().Variables.SetVariable("pages", Value(0));
    ReportScripts scripts(report);
    scripts.RunPageScript(*page);
    scripts.RunPageScript(*page);
    EXPECT_EQ(var("pages"), Value(2.0));
    EXPECT_EQ(page->ScriptLines, StringList{"pages := pages + 1"});
}

} // namespace
} // namespace pemvora::report
