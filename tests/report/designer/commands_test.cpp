// Commands on the selection: the alignment palette, fit to grid, the keys,
// the clipboard, the order of the page, deleting, the toolbars, the inspector.

#include "tests/report/designer/designer_fixture.h"

#include "report/model/binary_stream.h"
#include "report/model/template_codec.h"

namespace pemvora::report::test {
namespace {

using CommandsTest = DesignerTest;

TEST_F(CommandsTest, AlignmentPaletteFollowsTheObjectSelectedFirst)
{
    struct Case {
        Alignment how;
        ViewRect a, b;   // expected; the reference is c
    } cases[] = {
        {Alignment::LeftEdges, {200, 10, 40, 20}, {200, 100, 60, 30}},
        {Alignment::RightEdges, {240, 10, 40, 20}, {220, 100, 60, 30}},
        {Alignment::HorizontalCenters, {220, 10, 40, 20}, {210, 100, 60, 30}},
        {Alignment::Tops, {10, 50, 40, 20}, {100, 50, 60, 30}},
        {Alignment::Bottoms, {10, 80, 40, 20}, {100, 70, 60, 30}},
        {Alignment::VerticalCenters, {10, 65, 40, 20}, {100, 60, 60, 30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.how));
        page().Clear();
        TfrMemoView& a = memo("A", 10, 10, 40, 20);
        TfrMemoView& b = memo("B", 100, 100, 60, 30);
        TfrMemoView& ref = memo("C", 200, 50, 80, 50);
        // Selected first, though last in the page.
        doc->select(ref);
        doc->select(a);
        doc->select(b);
        EXPECT_TRUE(doc->align(c.how));
        EXPECT_EQ(at(a), c.a);
        EXPECT_EQ(at(b), c.b);
        EXPECT_EQ(at(ref), (ViewRect{200, 50, 80, 50}));
    }
}

TEST_F(CommandsTest, AlignmentReferenceFallsBackToPageOrderAndSkipsFixedObjects)
{
    TfrMemoView& a = memo("A", 10, 10);
    TfrMemoView& b = memo("B", 50, 30);
    TfrMemoView& c = memo("C", 90, 60);
    c.Restrictions = restrict::DontMove;
    doc->select(b);
    doc->select(a);
    doc->select(c);
    doc->select(b, false);   // the first one is gone: the first in page order leads
    doc->select(b);
    EXPECT_TRUE(doc->align(Alignment::Tops));
    EXPECT_EQ(a.Top, 10);
    EXPECT_EQ(b.Top, 10);
    EXPECT_EQ(c.Top, 60);
    // One object alone is not aligned to anything.
    doc->selectOnly(a);
    EXPECT_FALSE(doc->align(Alignment::Bottoms));
}

TEST_F(CommandsTest, CentringAndSpacing)
{
    // Paper 175 mm wide: 631 design pixels on the virtual printer.
    ASSERT_EQ(page().Paper.metrics.PaperWidth, 631);
    TfrMemoView& a = memo("A", 10, 10, 40, 20);
    TfrMemoView& b = memo("B", 30, 40, 20, 20);
    TfrMemoView& c = memo("C", 200, 80, 60, 20);
    doc->selectAll();
    EXPECT_TRUE(doc->align(Alignment::SpaceEquallyHorizontally));
    // Between 10 and 260 there are 250 - 120 = 130 pixels of room: two gaps of 65.
    EXPECT_EQ(a.Left, 10);
    EXPECT_EQ(b.Left, 115);
    EXPECT_EQ(c.Left, 200);
    EXPECT_TRUE(doc->align(Alignment::CenterInWindowHorizontally));
    // The group spans 250: (631 - 250) / 2 = 190 from the left.
    EXPECT_EQ(a.Left, 190);
    EXPECT_EQ(c.Left + c.Width, 440);
}

TEST_F(CommandsTest, AlignLeftWithABandLaysTheObjectsSideBySideFromTheMargin)
{
    page().Margins.Left = 36;
    TfrBandView& data = band("MasterData1", bandkind::MasterData, 100, 40);
    TfrMemoView& second = memo("B", 300, 110, 50, 20);
    TfrMemoView& first = memo("A", 200, 104, 30, 20);
    TfrMemoView& outside = memo("Out", 10, 10, 30, 20);
    doc->selectAll();
    EXPECT_TRUE(doc->align(Alignment::LeftEdges));
    EXPECT_EQ(at(first), (ViewRect{36, 104, 30, 20}));
    EXPECT_EQ(at(second), (ViewRect{66, 104, 50, 20}));
    EXPECT_EQ(at(outside), (ViewRect{10, 10, 30, 20}));
    EXPECT_EQ(data.Top, 100);
}

TEST_F(CommandsTest, FitToGridGoesToTheNearestMultipleAndHalfwayToTheEvenOne)
{
    struct Case {
        int grid;
        ViewRect before, after;
    } cases[] = {
        {4, {5, 6, 10, 1}, {4, 8, 8, 4}},       // 6 and 10 halfway: 8; height 0 becomes a step
        {4, {2, 14, 18, 22}, {0, 16, 16, 24}},  // 2 -> 0, 14 -> 16, 18 -> 16, 22 -> 24
        {18, {9, 27, 45, 8}, {0, 36, 36, 18}},
        {8, {-4, -12, 4, 12}, {0, -16, 8, 16}},
    };
    for (const Case& c : cases) {
        page().Clear();
        doc->grid().Size = c.grid;
        TfrMemoView& m = memo("M", c.before.Left, c.before.Top, c.before.Width, c.before.Height);
        doc->selectOnly(m);
        doc->fitToGrid();
        EXPECT_EQ(at(m), c.after) << c.grid;
    }
}

TEST_F(CommandsTest, KeysMoveSizeAndWalkBetweenObjects)
{
    TfrMemoView& a = memo("A", 100, 100, 40, 20);
    TfrMemoView& right = memo("Right", 200, 105, 40, 20);
    TfrMemoView& below = memo("Below", 100, 200, 40, 20);
    doc->selectOnly(a);
    EXPECT_TRUE(doc->moveSelection(1, 0));
    EXPECT_TRUE(doc->resizeSelection(0, -1));
    EXPECT_EQ(at(a), (ViewRect{101, 100, 40, 19}));
    EXPECT_TRUE(doc->moveToTouch(Direction::Right));
    EXPECT_EQ(a.Left, 160);
    EXPECT_TRUE(doc->moveToTouch(Direction::Down) == false);   // nothing below it any more
    EXPECT_TRUE(doc->selectNearest(Direction::Right));
    EXPECT_TRUE(right.Selected);
    EXPECT_FALSE(a.Selected);
    EXPECT_TRUE(doc->selectNearest(Direction::Down));
    EXPECT_TRUE(below.Selected);
    // Objects that may not be sized move instead.
    below.Restrictions = restrict::DontSize;
    EXPECT_TRUE(doc->resizeSelection(1, 0));
    EXPECT_EQ(at(below), (ViewRect{101, 200, 40, 20}));
}

TEST_F(CommandsTest, CopyAndPasteKeepEveryFieldAndTakeNewNames)
{
    TfrMemoView& m = memo("Payee", 100, 40, 220, 24);
    m.Memo = {"[dskdw]", "\xB8\xB6\xBF\xEE"};   // a second line in GBK
    m.ScriptLines = {"if [a] = 1 then Visible := False"};
    m.Font = {"\xCB\xCE\xCC\xE5", 14, fontstyle::Bold | fontstyle::Italic, 0x0000FF, 134};
    m.Alignment = textalign::Center | textalign::Middle;
    m.FrameTyp = frame::Left | frame::Bottom;
    m.FrameWidth = 1.5f;
    m.FrameStyle = penstyle::Dash;
    m.FillColor = 0x00FFFF;
    m.Flags = flag::Stretched | flag::WordWrap | flag::HideZeros;
    m.Tag = "[tag]";
    m.Restrictions = restrict::DontEditScript;
    m.Highlight = {fontstyle::Underline, 0x00FF00, 0xFF0000};
    m.HighlightCondition = "Value > 0";
    m.LineSpacing = 5;
    m.CharSpacing = 1;
    m.GapX = 3;
    m.BandAlign = bandalign::Right;
    TfrMemoView& other = memo("Amount", 150, 60);

    doc->selectAll();
    doc->copySelection();
    ASSERT_EQ(designerSession().Clipboard.size(), 2u);
    ASSERT_TRUE(doc->paste());
    ASSERT_EQ(page().ObjectCount(), 4);
    auto& copy = static_cast<TfrMemoView&>(*page().PageObjects[2]);
    auto& otherCopy = *page().PageObjects[3];
    // New names; the smallest left and top of the two go to 0, 0.
    EXPECT_EQ(copy.Name, "Memo1");
    EXPECT_EQ(otherCopy.Name, "Memo2");
    EXPECT_EQ(at(copy), (ViewRect{0, 0, 220, 24}));
    EXPECT_EQ(at(otherCopy), (ViewRect{50, 20, 40, 20}));
    EXPECT_NE(copy.Id, m.Id);
    EXPECT_TRUE(copy.Selected && otherCopy.Selected && !m.Selected && !other.Selected);

    // Every other field as the original's: the stored records are equal once
    // name and position are put back.
    copy.Name = m.Name;
    copy.PlaceAt(m.Left, m.Top, m.Width, m.Height);
    const auto record = [](const TfrView& v) {
        BinaryWriter out;
        TemplateWriter w(out);
        SaveObjectRecord(w, v);
        return out.take();
    };
    EXPECT_EQ(record(copy), record(m));
}

TEST_F(CommandsTest, PasteOntoABandTakesItsTopAndLeavesOutBandsThePageHasAlready)
{
    TfrBandView& header = band("PageHeader1", bandkind::PageHeader, 0, 40);
    TfrBandView& data = band("MasterData1", bandkind::MasterData, 60, 40);
    memo("A", 100, 40);
    memo("B", 150, 60);
    doc->selectAll();
    doc->copySelection();

    doc->clearSelection();
    doc->select(data);
    ASSERT_TRUE(doc->paste());
    // The page header is on the page already: only the master data band and the two texts come.
    int headers = 0, datas = 0;
    for (const auto& v : page().PageObjects)
        if (auto* b = dynamic_cast<TfrBandView*>(v.get())) (b->BandKind() == bandkind::PageHeader ? headers : datas)++;
    EXPECT_EQ(headers, 1);
    EXPECT_EQ(datas, 2);
    for (const TfrView* v : doc->selection()) EXPECT_EQ(v->Top, 60) << v->Name;
    EXPECT_EQ(doc->selectedCount(), 3);
    EXPECT_EQ(header.Top, 0);
}

TEST_F(CommandsTest, PasteOnAScrolledPageLandsAtTheFirstGridPointInView)
{
    memo("A", 100, 40);
    doc->selectAll();
    doc->copySelection();
    doc->paste(/*visibleLeft=*/37, /*visibleTop=*/0);
    const TfrView* pasted = doc->singleSelected();
    ASSERT_NE(pasted, nullptr);
    EXPECT_EQ(pasted->Left, 40);
    EXPECT_EQ(pasted->Top, 0);
}

TEST_F(CommandsTest, BringToFrontKeepsBandsFirst)
{
    TfrBandView& title = band("ReportTitle1", bandkind::ReportTitle, 0, 40);
    TfrMemoView& a = memo("A", 0, 0);
    TfrMemoView& b = memo("B", 0, 0);
    TfrBandView& cross = band("CrossData1", bandkind::CrossData, 0, 40);
    TfrBandView& overlay = band("Overlay1", bandkind::Overlay, 0, 40);
    restorePageOrder(page());
    const auto names = [&] {
        std::string out;
        for (const auto& v : page().PageObjects) out += v->Name + " ";
        return out;
    };
    EXPECT_EQ(names(), "Overlay1 ReportTitle1 CrossData1 A B ");
    doc->select(title);
    doc->select(a);
    EXPECT_TRUE(doc->bringToFront());
    EXPECT_EQ(names(), "Overlay1 ReportTitle1 CrossData1 B A ");
    doc->clearSelection();
    doc->select(a);
    doc->select(cross);
    EXPECT_TRUE(doc->sendToBack());
    EXPECT_EQ(names(), "Overlay1 ReportTitle1 CrossData1 A B ");
    // Sending to the back what is at the back already changes nothing and records nothing.
    const std::size_t entries = doc->undoCount();
    EXPECT_FALSE(doc->sendToBack());
    EXPECT_EQ(doc->undoCount(), entries);
    (void)b;
    (void)overlay;
}

TEST_F(CommandsTest, DeletingAChildBandClearsTheNameThatPointedToItAndUndoGivesItBack)
{
    TfrBandView& data = band("MasterData1", bandkind::MasterData, 60, 40);
    TfrBandView& child = band("Child1", bandkind::Child, 100, 20);
    data.ChildBand = "Child1";
    TfrMemoView& kept = memo("Kept", 0, 0);
    kept.Restrictions = restrict::DontDelete;
    doc->select(child);
    doc->select(kept);
    EXPECT_TRUE(doc->deleteSelection());
    EXPECT_EQ(page().ObjectCount(), 2);
    EXPECT_EQ(data.ChildBand, "");
    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(page().ObjectCount(), 3);
    EXPECT_EQ(data.ChildBand, "Child1");
    EXPECT_EQ(page().PageObjects[1]->Name, "Child1");
}

TEST_F(CommandsTest, ToolbarActionsChangeTheSelectedObjectsButNotBands)
{
    TfrMemoView& a = memo("A", 0, 0);
    TfrMemoView& fixed = memo("Fixed", 50, 0);
    fixed.Restrictions = restrict::DontModify;
    auto& line = page().Add<TfrLineView>();
    TfrBandView& data = band("MasterData1", bandkind::MasterData, 60, 40);
    doc->selectAll();

    EXPECT_TRUE(doc->applyToolbarAction(toolbaraction::Bold, true));
    EXPECT_TRUE(doc->applyToolbarAction(toolbaraction::TopFrame, true));
    EXPECT_TRUE(doc->applyToolbarAction(toolbaraction::FrameWidth, 3.0));
    EXPECT_TRUE(doc->applyToolbarAction(toolbaraction::VerticalAlign, int(textalign::Bottom)));
    EXPECT_TRUE(doc->applyToolbarAction(toolbaraction::LineStyleFirst + penstyle::Dot, Value()));
    EXPECT_EQ(a.Font.Style, fontstyle::Bold);
    EXPECT_EQ(a.FrameTyp, frame::Top);
    EXPECT_FLOAT_EQ(a.FrameWidth, 3.0f);
    EXPECT_EQ(a.Alignment, textalign::Bottom);
    EXPECT_EQ(a.FrameStyle, penstyle::Dot);
    EXPECT_FLOAT_EQ(line.FrameWidth, 3.0f);
    EXPECT_EQ(fixed.Font.Style, 0);
    EXPECT_EQ(data.FrameTyp, bandkind::MasterData);
    // The last-used values: the width by the kind acted on, the style of the text.
    const LastUsedValues& last = designerSession().LastUsed;
    EXPECT_FLOAT_EQ(last.FrameWidth, 3.0f);
    EXPECT_FLOAT_EQ(last.LineFrameWidth, 3.0f);
    EXPECT_EQ(last.FontStyle, fontstyle::Bold);
    EXPECT_EQ(last.Alignment, textalign::Bottom);
    // Five actions, five steps back.
    for (int i = 0; i < 5; ++i) EXPECT_TRUE(doc->undo());
    EXPECT_EQ(a.Font.Style, 0);
    EXPECT_EQ(a.FrameTyp, 0);
}

TEST_F(CommandsTest, StretchedFromThePopupMenuLeavesFixedObjects)
{
    TfrMemoView& a = memo("A", 0, 0);
    TfrMemoView& fixed = memo("Fixed", 50, 0);
    fixed.Restrictions = restrict::DontModify;
    doc->selectAll();
    EXPECT_TRUE(doc->setStretched(false));
    EXPECT_EQ(a.Flags, flag::WordWrap);
    EXPECT_EQ(fixed.Flags, flag::Stretched | flag::WordWrap);
    ASSERT_TRUE(doc->undo());
    EXPECT_TRUE(a.IsStretched());
}

TEST_F(CommandsTest, TheFontDialogChangesOnlyWhatWasChanged)
{
    TfrMemoView& a = memo("A", 0, 0);
    TfrMemoView& b = memo("B", 50, 0);
    a.Font = {"Arial", 10, 0, kBlack, 1};
    b.Font = {"SimHei", 12, fontstyle::Italic, 0x0000FF, 134};
    doc->select(b);
    doc->select(a);
    TfrFont chosen = a.Font;
    chosen.Size = 16;
    EXPECT_TRUE(doc->applyFontChange(a.Font, chosen));
    EXPECT_EQ(a.Font, (TfrFont{"Arial", 16, 0, kBlack, 1}));
    EXPECT_EQ(b.Font, (TfrFont{"SimHei", 16, fontstyle::Italic, 0x0000FF, 134}));
    // Nothing when the last selected object may not have its contents edited.
    b.Restrictions = restrict::DontEditContents;
    chosen.Size = 20;
    EXPECT_FALSE(doc->applyFontChange(a.Font, chosen));
}

TEST_F(CommandsTest, TheInspectorRefusesABadValueAndADuplicateName)
{
    TfrMemoView& a = memo("A", 0, 0);
    memo("B", 50, 0);
    doc->selectOnly(a);
    EXPECT_FALSE(doc->setProperty("Left", 77).has_value());
    EXPECT_EQ(a.Left, 77);
    EXPECT_TRUE(doc->setProperty("Left", "not a number").has_value());
    EXPECT_EQ(a.Left, 77);
    EXPECT_TRUE(doc->setProperty("Name", "b").has_value());
    EXPECT_EQ(a.Name, "A");
    EXPECT_EQ(doc->undoCount(), 1u);
    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(a.Left, 0);
}

TEST_F(CommandsTest, TheBandDialogOffersKindsThePageHasNotGotYet)
{
    band("PageHeader1", bandkind::PageHeader, 0, 40);
    band("MasterData1", bandkind::MasterData, 60, 40);
    band("GroupHeader1", bandkind::GroupHeader, 100, 20);
    const auto enabled = enabledBandKinds(*report, 0);
    EXPECT_FALSE(enabled[bandkind::PageHeader]);
    EXPECT_TRUE(enabled[bandkind::MasterData]);
    EXPECT_TRUE(enabled[bandkind::GroupHeader]);
    EXPECT_TRUE(enabled[bandkind::ReportTitle]);
    // A page a sub-report shows: no titles, page or column bands, no groups.
    auto& sub = page().Add<TfrSubReportView>();
    sub.SubPageIndex = report->Pages.Add();
    const auto onSubPage = enabledBandKinds(*report, sub.SubPageIndex);
    for (int k : {0, 1, 2, 3, 14, 15, 16, 17}) EXPECT_FALSE(onSubPage[std::size_t(k)]) << k;
    for (int k : {4, 5, 13, 18, 21}) EXPECT_TRUE(onSubPage[std::size_t(k)]) << k;
    EXPECT_EQ(bandNamePrefix(bandkind::MasterData), "MasterData");
    EXPECT_EQ(bandNamePrefix(bandkind::Overlay), "Overlay");
}

} // namespace
} // namespace pemvora::report::test
