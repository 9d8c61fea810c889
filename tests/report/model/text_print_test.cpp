// The text object in a run: expansion, HideZeros, the highlight, the split of
// a memo over a height limit, and the record it writes into a prepared page.

#include "report/canvas/recording_canvas.h"
#include "report/model/band_runtime.h"
#include "report/model/memo.h"
#include "report/model/objects.h"

#include "tests/report/model/text_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pemvora::report::modeltest {
namespace {

class TextPrintTest : public TextFixture {
protected:
    void SetUp() override
    {
        TextFixture::SetUp();
        engine().Running = 1;
    }
};

TEST_F(TextPrintTest, PrintWritesTheExpandedLines)
{
    TfrMemoView memo;
    memo.Name = "Memo1";
    memo.PlaceAt(10, 20, 300, 20);
    memo.Memo = {G("大写：[dx]"), "[year]-[month]", "[none]"};
    set("dx", Value(G("壹佰元整")));
    set("year", Value(2008));
    set("month", Value(G("零叁")));
    set("none", Value(std::string()));
    const auto printed = readPrinted(print(memo));
    EXPECT_EQ(printed->Memo, (StringList{G("大写：壹佰元整"), G("2008-零叁"), ""}));
    EXPECT_EQ(printed->Name, "Memo1");
    EXPECT_EQ(printed->Left, 10);
    EXPECT_EQ(memo.Memo[0], G("大写：[dx]"));   // the template keeps its brackets
    EXPECT_EQ(memo.PaintPhase, 0);

    // TextOnly: the lines as written.
    memo.Flags |= flag::TextOnly;
    EXPECT_EQ(readPrinted(print(memo))->Memo[0], G("大写：[dx]"));
}

TEST_F(TextPrintTest, MeasuredTextIsWrittenBrokenWithItsMarks)
{
    TfrMemoView memo;
    memo.Font.Name = G("宋体");
    memo.PlaceAt(0, 0, widthOf(G("壹佰贰"), memo.Font.Name) + 4, 20);
    memo.Memo = {"[dx]"};
    set("dx", Value(G("壹佰贰拾叁万")));
    ASSERT_EQ(memo.CalcHeight(), 2 * 15 + 2);
    const auto printed = readPrinted(print(memo));
    EXPECT_EQ(printed->Memo, (StringList{G("壹佰贰"), G("拾叁万") + kEndOfParagraph}));

    // Drawn from the prepared page as it was broken, even in a narrower box.
    printed->Width = 20;
    RecordingCanvas canvas;
    printed->Paint(canvas);
    ASSERT_EQ(canvas.texts().size(), 2u);
    EXPECT_EQ(canvas.texts()[0].text, G("壹佰贰"));
    EXPECT_EQ(canvas.texts()[1].text, G("拾叁万"));
}

struct HideZerosCase {
    const char* name;
    Value value;
    bool hideZeros;
    std::string shown;
};

TEST_F(TextPrintTest, HideZeros)
{
    const HideZerosCase cases[] = {
        {"number 0 hidden", Value(0), true, ""},
        {"float 0 hidden", Value(0.0), true, ""},
        {"text 0 stays", Value("0"), true, "0"},
        {"other numbers stay", Value(12), true, "12"},
        {"0 shown without the flag", Value(0), false, "0"},
    };
    for (const HideZerosCase& c : cases) {
        SCOPED_TRACE(c.name);
        TfrMemoView memo;
        memo.DisplayFormat = 0;
        if (c.hideZeros) memo.Flags |= flag::HideZeros;
        memo.Memo = {"[v]"};
        set("v", c.value);
        memo.ExpandText();
        EXPECT_EQ(memo.WorkLines, StringList{c.shown});
    }
}

TEST_F(TextPrintTest, HighlightConditionChangesFontAndFillOfThePrintedObject)
{
    TfrMemoView memo;
    memo.PlaceAt(0, 0, 100, 20);
    memo.Memo = {"[v]"};
    memo.Font.Style = fontstyle::Italic;
    memo.Font.FontColor = kBlack;
    memo.Highlight = {fontstyle::Bold | fontstyle::Underline, rgb(255, 0, 0), rgb(0, 255, 0)};
    memo.HighlightCondition = "v > 5";

    struct Case {
        const char* name;
        Value v;
        std::string condition;
        bool highlighted;
    };
    const Case cases[] = {
        {"condition holds", Value(7), "v > 5", true},
        {"condition fails", Value(3), "v > 5", false},
        {"a number other than 0", Value(2), "v", true},
        {"zero", Value(0), "v", false},
        {"a condition that cannot be evaluated", Value(7), "v >", false},
        {"a text that is no number", Value("abc"), "v", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set("v", c.v);
        memo.HighlightCondition = c.condition;
        const auto printed = readPrinted(print(memo));
        if (c.highlighted) {
            EXPECT_EQ(printed->Font.Style, fontstyle::Bold | fontstyle::Underline);
            EXPECT_EQ(printed->Font.FontColor, rgb(255, 0, 0));
            EXPECT_EQ(printed->FillColor, rgb(0, 255, 0));
        } else {
            EXPECT_EQ(printed->Font.Style, fontstyle::Italic);
            EXPECT_EQ(printed->FillColor, kNoColor);
        }
        // The template object keeps its own font and fill.
        EXPECT_EQ(memo.Font.Style, fontstyle::Italic);
        EXPECT_EQ(memo.FillColor, kNoColor);
    }
    // Measuring sees the highlighted font (bold text may need more lines) and puts it back.
    set("v", Value(7));
    memo.HighlightCondition = "v > 5";
    memo.CalcHeight();
    EXPECT_EQ(memo.Font.Style, fontstyle::Italic);
}

// A memo split at a height limit writes the lines that fit and keeps the rest
// for the next page.
TEST_F(TextPrintTest, SplitAtAHeightLimit)
{
    TfrMemoView memo;
    memo.Font.Name = G("宋体");
    memo.PlaceAt(0, 0, widthOf(G("壹佰"), memo.Font.Name) + 4, 200);
    memo.Memo = {"[dx]"};
    set("dx", Value(G("壹佰贰拾叁万肆仟")));
    ASSERT_EQ(memo.CalcHeight(), 4 * 15 + 2);

    // Room for two lines: the first starts at 1 and the second ends at 31.
    memo.Height = 35;
    memo.PaintPhase = 2;
    const auto first = readPrinted(print(memo));
    EXPECT_EQ(first->Memo, (StringList{G("壹佰"), G("贰拾"), std::string(1, kEndOfParagraph)}));
    EXPECT_EQ(memo.WorkLines, (StringList{G("叁万"), G("肆仟") + kEndOfParagraph}));
    EXPECT_EQ(memo.PaintPhase, 0);

    // The rest on the next page, written as it is (it ends a paragraph).
    memo.Height = 200;
    memo.PaintPhase = 2;
    const auto second = readPrinted(print(memo));
    EXPECT_EQ(second->Memo, (StringList{G("叁万"), G("肆仟") + kEndOfParagraph}));
    EXPECT_TRUE(memo.WorkLines.empty());

    // The first part is drawn without breaking it again.
    RecordingCanvas canvas;
    first->Paint(canvas);
    ASSERT_EQ(canvas.texts().size(), 2u);
    EXPECT_EQ(canvas.texts()[1].text, G("贰拾"));
}

TEST_F(TextPrintTest, DesignerShowsTheTextAsWritten)
{
    engine().Running = 0;
    engine().Evaluator = nullptr;   // nothing is evaluated while designing
    TfrMemoView memo;
    memo.PlaceAt(0, 0, 200, 40);
    memo.Memo = {G("金额[dx]")};
    RecordingCanvas canvas;
    memo.Paint(canvas);
    ASSERT_EQ(canvas.texts().size(), 1u);
    EXPECT_EQ(canvas.texts()[0].text, G("金额[dx]"));
}

class RecordingScripts : public ScriptRunner {
public:
    void RunScript(TfrView& view) override
    {
        runs.push_back(view.Name + ":" + view.ScriptLines.front());
        view.Memo = {"from the script"};
    }
    std::vector<std::string> runs;
};

TEST_F(TextPrintTest, ScriptRunsThroughTheInstalledInterpreterOnly)
{
    TfrMemoView memo;
    memo.Name = "Memo1";
    memo.PlaceAt(0, 0, 200, 20);
    memo.Memo = {"as written"};
    memo.ScriptLines = {"Memo1.Memo := 'from the script';"};
    // No interpreter: the script does not run.
    EXPECT_EQ(readPrinted(print(memo))->Memo, StringList{"as written"});

    RecordingScripts scripts;
    engine().Scripts = &scripts;
    memo.CalcHeight();
    EXPECT_EQ(readPrinted(print(memo))->Memo, StringList{std::string("from the script") + kEndOfParagraph});
    EXPECT_EQ(scripts.runs, std::vector<std::string>{"Memo1:Memo1.Memo := 'from the script';"});
    engine().Scripts = nullptr;
}

TEST_F(TextPrintTest, BeforePrintEventAndTag)
{
    TfrMemoView memo;
    memo.PlaceAt(0, 0, 200, 20);
    memo.Memo = {"[v]"};
    memo.Tag = "tag [v]";
    memo.DisplayFormat = (1u << 24) | (1u << 16) | (2u << 8) | '.';   // number, 2 decimals
    set("v", Value(5));
    const auto plain = readPrinted(print(memo));
    EXPECT_EQ(plain->Memo, StringList{"5.00"});
    EXPECT_EQ(plain->Tag, "tag 5");    // Tag values as plain text
    EXPECT_EQ(memo.Tag, "tag [v]");

    // An event that changes the text: the text is taken as the event left it.
    report.OnBeforePrint = [](StringList& lines, TfrView&) { lines = {"[not expanded]"}; };
    EXPECT_EQ(readPrinted(print(memo))->Memo, StringList{"[not expanded]"});
    // One that leaves it: expanded as usual.
    report.OnBeforePrint = [](StringList&, TfrView&) {};
    EXPECT_EQ(readPrinted(print(memo))->Memo, StringList{"5.00"});

    memo.Visible = false;
    EXPECT_TRUE(print(memo).empty());
}

TEST_F(TextPrintTest, BandAlignOfThePrintedObject)
{
    struct Band : TfrBandRuntime {
        void OpenDataSource(const std::string&) override {}
        bool Eof() override { return true; }
        void First() override {}
        void Next() override {}
        void Prior() override {}
        bool HasDataSource() const override { return false; }
    } band;
    band.Top = 100;
    band.Height = 50;
    band.Width = 77;
    engine().CurrentBand = &band;

    TfrMemoView memo;
    memo.PlaceAt(5, 120, 30, 10);
    memo.Memo = {"x"};
    memo.BandAlign = bandalign::Top;
    EXPECT_EQ(readPrinted(print(memo))->Top, 100);
    memo.Top = 120;
    memo.BandAlign = bandalign::Bottom;   // placed by the band engine: written as it is
    const auto bottom = readPrinted(print(memo));
    EXPECT_EQ(bottom->Top, 120);
    EXPECT_EQ(bottom->BandAlign, bandalign::None);
    EXPECT_EQ(memo.BandAlign, bandalign::Bottom);

    band.Typ = bandkind::CrossData;
    memo.BandAlign = bandalign::Width;
    EXPECT_EQ(readPrinted(print(memo))->Width, 77);

    // The common print of other kinds moves a bottom-aligned object itself.
    TfrLineView line;
    line.PlaceAt(5, 120, 30, 1);
    line.BandAlign = bandalign::Bottom;
    BinaryWriter out;
    line.PreparedMode = true;
    line.Print(out);
    BinaryReader in(out.data());
    EXPECT_EQ(in.u8(), kind::Line);
    TfrLineView printed;
    printed.PreparedMode = true;
    TemplateReader reader(in, kTemplateVersion);
    LoadObjectRecord(reader, printed);
    EXPECT_EQ(printed.Top, 100 + 50 - 1);
    engine().CurrentBand = nullptr;
}

} // namespace
} // namespace pemvora::report::modeltest
