// The text editor without its window: what each insertion puts at the caret
// and where the caret is left, the script skeleton and check, the GBK form of
// what was typed, and OK as one undo entry.

#include "tests/report/designer/designer_fixture.h"

#include "platform/text/gbk.h"
#include "report/designer/text_editing.h"
#include "report/script/functions.h"

#include <fmt/format.h>

namespace pemvora::report::test {
namespace {

std::string gbk(std::string_view utf8) { return text::utf8ToGbk(utf8); }

TEST(TextEditingTest, InsertionTextsAndTheCaretAfterThem)
{
    struct Case {
        const char* what;
        std::string text;        // the pane before, GBK
        std::size_t from, to;    // selection before, in characters
        Insertion insertion;
        std::string expected;
        std::size_t selectionStart, caret;
    } cases[] = {
        {"field of a named source at the caret", "Pay: ", 5, 5, fieldInsertion("Cheques", "skdw"),
         "Pay: [Cheques.\"skdw\"]", 21, 21},
        {"field replaces the selection", "a XX b", 2, 4, fieldInsertion("T", "F"), "a [T.\"F\"] b", 9, 9},
        {"variable between Chinese characters", gbk("金额大写"), 2, 2, {expressionInsertion("dx")},
         gbk("金额[dx]大写"), 6, 6},
        {"function with a placeholder selected", "", 0, 0,
         functionInsertionInText("FORMATFLOAT", "FORMATFLOAT(<Format>, <Number>)/Formats a number"),
         "[FORMATFLOAT(<Format>, <Number>)]", 13, 21},
        {"caret past the end clamps", "ab", 9, 9, {expressionInsertion("PAGE#")}, "ab[PAGE#]", 9, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const EditedText edited = insertAt(c.text, c.from, c.to, c.insertion);
        EXPECT_EQ(edited.text, c.expected);
        EXPECT_EQ(edited.selectionStart, c.selectionStart);
        EXPECT_EQ(edited.caret, c.caret);
    }
}

TEST(TextEditingTest, TheNameRuleAndTheBuildersExpression)
{
    struct Case {
        std::string in, byRule, asExpression;
    } cases[] = {
        {"dx", "dx", "[dx]"},
        {"Cheques.skdw", "Cheques.skdw", "[Cheques.skdw]"},
        {"PAGE#", "[PAGE#]", "[PAGE#]"},
        {"Cheques.\"skdw\"", "[Cheques.\"skdw\"]", "[Cheques.\"skdw\"]"},
        {"[PAGE#]", "[[PAGE#]]", "[PAGE#]"},
        {"[a] + [b]", "[[a] + [b]]", "[[a] + [b]]"},
        {gbk("收款人"), gbk("[收款人]"), gbk("[收款人]")},
        // 0x5B ("[") as the trail byte of a Chinese character is no bracket.
        {gbk("[乱]"), gbk("[[乱]]"), gbk("[乱]")},
        {"", "[]", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in);
        EXPECT_EQ(nameByRule(c.in), c.byRule);
        EXPECT_EQ(expressionInsertion(c.in), c.asExpression);
    }
    EXPECT_STREQ(systemVariables().front().name, "PAGE#");
    EXPECT_EQ("[" + std::string(systemVariables()[6].name) + "]", "[CURRENT#]");
}

TEST(TextEditingTest, FunctionsInsertTheirRequiredArgumentsAsPlaceholders)
{
    struct Case {
        const char* name;
        const char* description;
        const char* call;
        std::size_t selectFrom, selectLength;
    } cases[] = {
        {"AVG", "AVG(<Expression> [,BandName [,1]])/Calculates the average", "AVG(<Expression>)", 4, 12},
        {"COPY", "COPY(<String>, <Position>, <Length>)/Part of a string", "COPY(<String>, <Position>, <Length>)",
         5, 8},
        {"NOW", "NOW()/Current date and time", "NOW()", 0, 0},
        {"PI", "PI/The number", "PI", 0, 0},
        {"MYFUNC#", "MYFUNC#/No argument list", "[MYFUNC#]", 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const Insertion call = functionInsertion(c.name, c.description);
        EXPECT_EQ(call.text, c.call);
        EXPECT_EQ(call.selectFrom, c.selectFrom);
        EXPECT_EQ(call.selectLength, c.selectLength);
    }

    // The installed list by category: every entry carries its description.
    const TfrInstalledFunctions& installed = functionRegistry().Installed;
    const auto aggregates = functionsOfCategory(installed, "Aggregate");
    ASSERT_FALSE(aggregates.empty());
    for (const FunctionEntry& f : aggregates) {
        SCOPED_TRACE(f.name);
        EXPECT_EQ(f.description.rfind(f.name, 0), 0u);
    }
}

TEST(TextEditingTest, ScriptSkeletonAndWhatIsStored)
{
    EXPECT_EQ(scriptForEditor({}), (StringList{"begin", "  ", "end"}));
    EXPECT_EQ(scriptForEditor({"a := 1"}), (StringList{"a := 1"}));
    struct Case {
        StringList lines, stored;
    } cases[] = {
        {{"begin", "  ", "end"}, {}},
        {{" BEGIN\t", "", "End ", ""}, {}},
        {{"", "  "}, {}},
        {{"begin", "  dx := 1;", "end"}, {"begin", "  dx := 1;", "end"}},
        {{"begin end;"}, {"begin end;"}},
    };
    for (const Case& c : cases) EXPECT_EQ(scriptToStore(c.lines), c.stored);
}

TEST(TextEditingTest, AMissingSemicolonIsReportedAtItsLineAndColumn)
{
    const StringList script{"begin", "  a := 1", "  b := 2;", "end"};
    const std::optional<ScriptError> error = checkScript(script);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->Text().rfind(fmt::format("Line {}/{}", error->Line, error->Column), 0), 0u);
    // Reported where the ";" is missing: just after "a := 1".
    EXPECT_EQ(error->Line, 2);
    EXPECT_EQ(error->Column, 9);
    // The caret goes to that place of the pane.
    const std::string pane = paneText(script);
    EXPECT_EQ(positionOf(pane, error->Line, error->Column), pane.find("\n  b :="));

    EXPECT_FALSE(checkScript({"begin", "  a := 1;", "  b := 2", "end"}));

    struct Place {
        int line, column;
        std::size_t position;
    } places[] = {{1, 1, 0}, {2, 3, 5}, {2, 99, 6}, {9, 2, 8}, {0, 0, 0}};
    const std::string text = gbk("ab\n收款人\nxy");
    for (const Place& p : places) EXPECT_EQ(positionOf(text, p.line, p.column), p.position);
}

TEST(TextEditingTest, PanesRoundTripThroughGbkAndRefuseWhatItCannotHold)
{
    const StringList memo{gbk("收款人：[dskdw]"), "", gbk("金额 [dx] 元整")};
    std::string error;
    const auto back = gbkLines(text::gbkToUtf8(paneText(memo)), error);
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, memo);

    const auto refused = gbkLines("收款人 한 [dskdw]", error);
    EXPECT_FALSE(refused);
    EXPECT_NE(error.find("한"), std::string::npos) << error;
    EXPECT_EQ(error.find('?'), std::string::npos) << error;
}

using TextEditorCommandTest = DesignerTest;

TEST_F(TextEditorCommandTest, OkIsOneUndoEntryForTheLinesAndTheScript)
{
    TfrMemoView& m = memo("Payee", 10, 10);
    m.Memo = {"[dskdw]"};
    const std::size_t before = doc->undoCount();
    EXPECT_TRUE(doc->setMemoAndScript(m, {"[dskdw]", "[dx]"}, {"begin", "  dx := 1;", "end"}));
    EXPECT_EQ(doc->undoCount(), before + 1);
    EXPECT_FALSE(doc->setMemoAndScript(m, m.Memo, m.ScriptLines));
    EXPECT_EQ(doc->undoCount(), before + 1);
    ASSERT_TRUE(doc->undo());
    const TfrView* restored = page().FindObject("Payee");
    ASSERT_NE(restored, nullptr);
    EXPECT_EQ(restored->Memo, (StringList{"[dskdw]"}));
    EXPECT_TRUE(restored->ScriptLines.empty());
}

} // namespace
} // namespace pemvora::report::test
