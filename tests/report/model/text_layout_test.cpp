// The text object's layout: where lines break, how they are drawn (alignment,
// justification, character spacing, turned text) and the heights it reports.

#include "report/canvas/recording_canvas.h"
#include "report/model/memo.h"

#include "tests/report/model/text_support.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pemvora::report::modeltest {
namespace {

const std::string kSong = G("宋体");
const std::string kMono = "Courier New";

// Expected lines in UTF-8; a trailing "¶" stands for the end-of-paragraph mark.
std::string expectedLine(const std::string& utf8)
{
    const std::string mark = "¶";
    if (utf8.size() >= mark.size() && utf8.compare(utf8.size() - mark.size(), mark.size(), mark) == 0)
        return G(utf8.substr(0, utf8.size() - mark.size())) + kEndOfParagraph;
    return G(utf8);
}

class TextLayoutTest : public TextFixture {
protected:
    // The lines WrapText gives for `lines` in an object `width` pixels wide.
    StringList wrap(TfrMemoView& memo, const StringList& lines)
    {
        memo.WorkLines = lines;
        DeviceGeometry device(memo);
        return memo.WrapText();
    }
};

struct WrapCase {
    const char* name;
    std::string font;
    std::string text;        // UTF-8
    std::string fits;        // the widest text the object holds (UTF-8)
    std::vector<std::string> lines;
};

TEST_F(TextLayoutTest, WrapPositions)
{
    engine().Running = 1;
    const WrapCase cases[] = {
        {"ascii at the last space", kMono, "aaa bbb ccc", "aaa bbb", {"aaa bbb", "ccc¶"}},
        {"ascii without spaces", kMono, "abcdefghij", "abcd", {"abcd", "efgh", "ij¶"}},
        {"two spaces at the break", kMono, "ab  cd", "ab ", {"ab ", "cd¶"}},
        {"chinese", kSong, "中文换行测试一下", "中文换", {"中文换", "行测试", "一下¶"}},
        // Trail bytes 0x5B '[', 0x5D ']' and 0x7C '|' are halves of characters.
        {"trail bytes like brackets", kSong, "癧癩皘癧癩皘癧", "癧癩皘", {"癧癩皘", "癧癩皘", "癧¶"}},
        {"mixed without spaces", kSong, "第12号支票", "第12号", {"第12号", "支票¶"}},
        {"mixed at a space", kSong, "ab 中文", "ab 中", {"ab", "中文¶"}},
        {"line break in the text", kSong, "甲\r\n乙丙", "乙丙", {"甲¶", "乙丙¶"}},
        {"fits whole", kSong, "金额", "金额", {"金额¶"}},
    };
    for (const WrapCase& c : cases) {
        SCOPED_TRACE(c.name);
        TfrMemoView memo;
        memo.Font.Name = c.font;
        memo.PlaceAt(0, 0, widthOf(G(c.fits), c.font) + 2 * memo.GapX, 100);
        const StringList out = wrap(memo, {G(c.text)});
        std::vector<std::string> want;
        for (const std::string& l : c.lines) want.push_back(expectedLine(l));
        EXPECT_EQ(out, want);
        for (const std::string& line : out) EXPECT_EQ(text::fromQString(text::toQString(line)), line);
    }
}

TEST_F(TextLayoutTest, CharacterWiderThanTheObjectGetsALineOfItsOwn)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.Font.Name = kSong;
    memo.PlaceAt(0, 0, widthOf(G("中"), kSong) - 1 + 2 * memo.GapX, 100);
    EXPECT_EQ(wrap(memo, {G("中文")}), (StringList{"", G("中"), G("文") + kEndOfParagraph}));
}

TEST_F(TextLayoutTest, WithoutWordWrapALineStaysWhole)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.Flags = flag::Stretched;
    memo.PlaceAt(0, 0, 20, 100);
    EXPECT_EQ(wrap(memo, {G("一行很长的文字"), ""}), (StringList{G("一行很长的文字") + kEndOfParagraph, "\x01"}));
}

TEST_F(TextLayoutTest, DesignerKeepsALongExpressionWhole)
{
    TfrMemoView memo;
    memo.PlaceAt(0, 0, 30, 100);
    EXPECT_EQ(wrap(memo, {"[dskdw + dyhzh]"}), StringList{"[dskdw + dyhzh]"});
    engine().Running = 1;
    EXPECT_GT(wrap(memo, {"[dskdw + dyhzh]"}).size(), 1u);
}

TEST_F(TextLayoutTest, CharacterSpacingNarrowsTheLines)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.Font.Name = kMono;
    memo.CharSpacing = 3;
    memo.PlaceAt(0, 0, widthOf("abcd", kMono, 13, 3) + 2 * memo.GapX, 100);
    EXPECT_EQ(wrap(memo, {"abcdef"}), (StringList{"abcd", std::string("ef") + kEndOfParagraph}));

    // Drawn with the spacing scaled to the device: each character 3 x 2 pixels further.
    memo.Memo = {"ab"};
    memo.DeviceScaleX = memo.DeviceScaleY = 2.0;
    RecordingCanvas canvas;
    memo.Paint(canvas);
    const auto runs = canvas.texts();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].charSpacing, 6);
    EXPECT_EQ(runs[0].box.width(), widthOf("ab", kMono, 26) + 2 * 6);   // 10 points at twice the scale: 26 pixels
}

// Lines of a justified paragraph reach the right edge; the last line of a
// paragraph and a line without spaces keep their own width.
TEST_F(TextLayoutTest, JustifiedLines)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.Font.Name = kMono;
    memo.Alignment = textalign::Justify;
    memo.PlaceAt(10, 10, widthOf("aaa bbb c", kMono) + 4, 200);   // GapX 2 on both sides
    memo.Memo = {"aa bb cc dd ee ff", "abcdefghijklmnopq"};
    RecordingCanvas canvas;
    memo.Paint(canvas);
    const auto runs = canvas.texts();
    ASSERT_EQ(runs.size(), 4u);
    const int rightEdge = memo.Left + memo.Width + 1 - memo.GapX;   // PaintRect's right edge less the gap
    EXPECT_EQ(runs[0].text, "aa bb cc");
    EXPECT_EQ(runs[0].box.left, 12);
    EXPECT_EQ(runs[0].box.right, rightEdge);
    EXPECT_EQ(runs[1].text, "dd ee ff");   // the paragraph's last line
    EXPECT_EQ(runs[1].box.width(), widthOf("dd ee ff", kMono));
    EXPECT_EQ(runs[2].text, "abcdefghi");   // no spaces: nothing to spread
    EXPECT_EQ(runs[2].box.width(), widthOf("abcdefghi", kMono));
}

struct AlignCase {
    const char* name;
    std::uint32_t alignment;
    int x;   // expected left edge of the line "ab" in an object at 10..110 (PaintRect 10..111)
};

TEST_F(TextLayoutTest, HorizontalAlignment)
{
    engine().Running = 1;
    const int w = widthOf("ab", kMono);
    const AlignCase cases[] = {
        {"left", textalign::Left, 12},
        {"right", textalign::Right, 10 + 101 - 2 - w - 1},
        {"centre", textalign::Center, 12 + (101 - 4 - w) / 2},
    };
    for (const AlignCase& c : cases) {
        SCOPED_TRACE(c.name);
        TfrMemoView memo;
        memo.Font.Name = kMono;
        memo.Alignment = c.alignment;
        memo.PlaceAt(10, 20, 100, 40);
        memo.Memo = {"ab"};
        RecordingCanvas canvas;
        memo.Paint(canvas);
        ASSERT_EQ(canvas.texts().size(), 1u);
        EXPECT_EQ(canvas.texts()[0].origin.x, c.x);
        EXPECT_EQ(canvas.texts()[0].origin.y, 21);
    }
}

TEST_F(TextLayoutTest, VerticalAlignment)
{
    engine().Running = 1;
    // One 10-point line: 2 + 15 pixels of text in a 41-pixel PaintRect from y 20.
    const std::pair<std::uint32_t, int> cases[] = {
        {0, 21},
        {textalign::Middle, 20 + (41 - 17) / 2 + 1},
        {textalign::Bottom, 61 - 17 - 1 + 1},
        {textalign::Middle | textalign::Bottom, 21},   // both bits: top
    };
    for (const auto& [alignment, y] : cases) {
        SCOPED_TRACE(alignment);
        TfrMemoView memo;
        memo.Alignment = alignment;
        memo.PlaceAt(10, 20, 100, 40);
        memo.Memo = {"ab"};
        RecordingCanvas canvas;
        memo.Paint(canvas);
        ASSERT_EQ(canvas.texts().size(), 1u);
        EXPECT_EQ(canvas.texts()[0].origin.y, y);
    }
}

TEST_F(TextLayoutTest, RotatedTextRunsUpwardAndItsLinesAdvanceRight)
{
    engine().Running = 1;
    const int w = widthOf("ab", kMono);
    const std::pair<std::uint32_t, int> cases[] = {
        {textalign::Left, 110 + 1 - 1},                      // PaintRect bottom less GapY
        {textalign::Right, 10 + 1 + w},
        {textalign::Center, 111 - 1 - (101 - 2 - w) / 2 - 1},
    };
    for (const auto& [alignment, y] : cases) {
        SCOPED_TRACE(alignment);
        TfrMemoView memo;
        memo.Font.Name = kMono;
        memo.Alignment = textalign::Rotated | alignment;
        memo.PlaceAt(20, 10, 40, 100);
        memo.Memo = {"ab", "ab"};
        RecordingCanvas canvas;
        memo.Paint(canvas);
        const auto runs = canvas.texts();
        ASSERT_EQ(runs.size(), 2u);
        EXPECT_EQ(runs[0].font.angle, 90);
        EXPECT_EQ(runs[0].origin, (Point{22, y}));
        EXPECT_EQ(runs[1].origin, (Point{22 + 15, y}));   // line step: 13 + 2
    }
    // Rotated text is broken to the object's height.
    TfrMemoView memo;
    memo.Font.Name = kMono;
    memo.Alignment = textalign::Rotated;
    memo.PlaceAt(0, 0, 200, widthOf("abc", kMono) + 2);
    EXPECT_EQ(wrap(memo, {"abcdef"}), (StringList{"abc", std::string("def") + kEndOfParagraph}));
    EXPECT_EQ(memo.TextHeight, 2 * 15 + 2 * 2);   // measured across the lines, with GapX
}

TEST_F(TextLayoutTest, CalcHeightOfAStretchedMemo)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.Font.Name = kSong;
    memo.PlaceAt(0, 0, widthOf(G("壹佰贰"), kSong) + 4, 20);
    memo.Memo = {"[dx]"};

    struct Case {
        const char* name;
        Value dx;
        int height;
    };
    const Case cases[] = {
        {"three lines", Value(G("壹佰贰拾叁万肆仟元")), 3 * 15 + 2},
        {"one line", Value(G("壹佰")), 15 + 2},
        {"empty value: one empty line", Value(std::string()), 15 + 2},
        {"a line break in the value", Value(G("甲\r\n乙")), 2 * 15 + 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        set("dx", c.dx);
        EXPECT_EQ(memo.CalcHeight(), c.height);
        EXPECT_EQ(memo.PaintPhase, 1);
        EXPECT_EQ(memo.Width, widthOf(G("壹佰贰"), kSong) + 4);   // the template's geometry stays
    }
    memo.LineSpacing = 6;
    set("dx", Value(G("壹佰贰拾叁万肆仟元")));
    EXPECT_EQ(memo.CalcHeight(), 3 * 19 + 2);
    memo.Visible = false;
    EXPECT_EQ(memo.CalcHeight(), 0);
    memo.Visible = true;
    memo.Memo.clear();
    EXPECT_EQ(memo.CalcHeight(), 0);
    EXPECT_EQ(memo.CallMethod("CALCHEIGHT", {}, {}, {}), Value(0));
}

TEST_F(TextLayoutTest, MinAndRemainHeight)
{
    TfrMemoView memo;
    memo.PlaceAt(0, 0, 100, 50);
    EXPECT_EQ(memo.MinHeight(), 2 + 2 + 2 + 13);
    EXPECT_EQ(memo.LineStep, 15);
    // 50 less the frame (2) and gaps (2) leaves 46 = 3 lines of 15 and 1 over.
    EXPECT_EQ(memo.RemainHeight(), 2 + 1 + 2);
    memo.LineSpacing = -13;   // no step at all: still an answer, not a division by zero
    EXPECT_NO_THROW(memo.RemainHeight());
}

TEST_F(TextLayoutTest, SuppressedRepeatMeasuresNothingAndIsNotWritten)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.PlaceAt(0, 0, 200, 20);
    memo.Flags |= flag::Suppress;
    memo.Memo = {"[v]"};
    set("v", Value("same"));
    EXPECT_EQ(memo.CalcHeight(), 17);
    EXPECT_FALSE(print(memo).empty());
    EXPECT_EQ(memo.CalcHeight(), 0);
    EXPECT_TRUE(print(memo).empty());
    set("v", Value("other"));
    EXPECT_EQ(memo.CalcHeight(), 17);
    EXPECT_FALSE(print(memo).empty());
}

TEST_F(TextLayoutTest, UnderlinesUnderEveryLinePositionOverTheHeight)
{
    engine().Running = 1;
    TfrMemoView memo;
    memo.Flags |= flag::Underlines;
    memo.PlaceAt(10, 10, 50, 46);
    memo.Memo = {"a"};
    RecordingCanvas canvas;
    memo.Paint(canvas);
    std::vector<int> ys;
    for (const RecordedLine& l : canvas.lines())
        if (l.from.y == l.to.y && l.from.x == 10 && l.to.x == 59) ys.push_back(l.from.y);
    // Every 15 pixels from Top + GapY + 2 + 13.
    EXPECT_EQ(ys, (std::vector<int>{26, 41, 56}));
}

} // namespace
} // namespace pemvora::report::modeltest
