// The mouse on the page, driven as the page widget drives it: moving and
// sizing in grid steps, the handle squares, a whole drag as one undo step,
// rubber bands, inserting with the tools.

#include "tests/report/designer/designer_fixture.h"

#include "report/designer/designer_geometry.h"
#include "report/designer/page_interaction.h"

namespace pemvora::report::test {
namespace {

class DragTest : public DesignerTest {
protected:
    PageInteraction mouse{*doc};

    void drag(Point from, Point to, KeyModifiers keys = {})
    {
        mouse.press(from, keys);
        mouse.move({(from.x + to.x) / 2, (from.y + to.y) / 2}, keys);
        mouse.move(to, keys);
        mouse.release(to, keys);
    }
};

TEST_F(DragTest, MovesInWholeGridStepsUnlessAltInvertsTheAlignment)
{
    struct Case {
        bool align;
        bool alt;
        int dx, dy;
        int movedX, movedY;
    } cases[] = {
        {true, false, 6, 0, 4, 0},    // cut down to one step
        {true, false, 3, 0, 0, 0},    // shorter than a step: nothing
        {true, false, -6, 9, -4, 8},  // toward zero in each direction
        {true, true, 6, 0, 6, 0},     // Alt: free
        {true, true, 3, 3, 3, 3},
        {false, false, 7, -5, 7, -5}, // alignment off: free
        {false, true, 7, 9, 4, 8},    // alignment off, Alt: grid steps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.dx << "," << c.dy << " align " << c.align << " alt " << c.alt);
        page().Clear();
        TfrMemoView& m = memo("Memo1", 101, 50);
        doc->grid().Align = c.align;
        drag({110, 60}, {110 + c.dx, 60 + c.dy}, {false, false, c.alt});
        EXPECT_EQ(m.Left, 101 + c.movedX);
        EXPECT_EQ(m.Top, 50 + c.movedY);
        EXPECT_EQ(m.Width, 40);
    }
}

TEST_F(DragTest, ResizesWithEachHandleInGridStepsOrFreelyWithoutTheGrid)
{
    struct Case {
        Handle handle;
        int dx, dy;
        bool align, alt;
        ViewRect expected;
    } cases[] = {
        {Handle::Right, 9, 9, true, false, {100, 50, 48, 20}},
        {Handle::Left, -5, 0, true, false, {96, 50, 44, 20}},
        {Handle::Bottom, 0, 13, true, false, {100, 50, 40, 32}},
        {Handle::TopLeft, 8, 8, true, false, {108, 58, 32, 12}},
        {Handle::BottomRight, 2, 2, true, false, {100, 50, 40, 20}},   // less than a step
        {Handle::Left, 60, 0, true, false, {140, 50, 0, 20}},          // never a negative width
        // Without the grid (alignment off, or on with Alt) the handle follows the mouse.
        {Handle::Right, 9, 9, false, false, {100, 50, 49, 20}},
        {Handle::TopLeft, 3, 5, false, false, {103, 55, 37, 15}},
        {Handle::BottomRight, 2, 2, true, true, {100, 50, 42, 22}},
        {Handle::Top, 0, -7, true, true, {100, 43, 40, 27}},
        {Handle::Right, 9, 0, false, true, {100, 50, 48, 20}},        // off with Alt: grid steps
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << "handle " << int(c.handle) << " by " << c.dx << "," << c.dy << " align "
                                          << c.align << " alt " << c.alt);
        page().Clear();
        TfrMemoView& m = memo("Memo1", 100, 50, 40, 20);
        doc->grid().Align = c.align;
        doc->selectOnly(m);
        const Point h = handlePoint(at(m), c.handle);
        drag(h, {h.x + c.dx, h.y + c.dy}, {false, false, c.alt});
        EXPECT_EQ(at(m), c.expected);
    }
}

TEST_F(DragTest, HandleSquaresReachTwoPixelsBeforeAndThreeAfter)
{
    const ViewRect r{100, 50, 40, 20};
    // Corners and edge middles; their squares from -2 to +3.
    EXPECT_EQ(handleAt(r, {98, 48}), Handle::TopLeft);
    EXPECT_EQ(handleAt(r, {103, 53}), Handle::TopLeft);
    EXPECT_EQ(handleAt(r, {97, 50}), Handle::None);
    EXPECT_EQ(handleAt(r, {104, 50}), Handle::None);
    EXPECT_EQ(handleAt(r, {120, 48}), Handle::Top);
    EXPECT_EQ(handleAt(r, {143, 73}), Handle::BottomRight);
    EXPECT_EQ(handleAt(r, {144, 70}), Handle::None);
    EXPECT_EQ(handleAt(r, {138, 60}), Handle::Right);
    EXPECT_EQ(handleAt(r, {100, 62}), Handle::Left);
    EXPECT_EQ(handleAt(r, {120, 60}), Handle::None);
    // On a tiny object the squares overlap: the corner wins.
    EXPECT_EQ(handleAt({10, 10, 2, 2}, {11, 11}), Handle::TopLeft);
}

TEST_F(DragTest, AWholeDragIsOneUndoStep)
{
    TfrMemoView& m = memo("Memo1", 100, 50);
    mouse.press({110, 60}, {});
    for (int x = 112; x <= 150; x += 2) mouse.move({x, 60}, {});
    mouse.release({150, 72}, {});
    EXPECT_EQ(m.Left, 140);
    EXPECT_EQ(m.Top, 62);
    EXPECT_EQ(doc->undoCount(), 1u);
    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(at(m), (ViewRect{100, 50, 40, 20}));
}

TEST_F(DragTest, ClickSelectsShiftTogglesAndAPressOnTheSelectionKeepsIt)
{
    TfrMemoView& a = memo("A", 10, 10);
    TfrMemoView& b = memo("B", 100, 10);
    mouse.press({15, 15}, {});
    mouse.release({15, 15}, {});
    EXPECT_TRUE(a.Selected);
    mouse.press({105, 15}, {true, false, false});
    mouse.release({105, 15}, {true, false, false});
    EXPECT_TRUE(a.Selected && b.Selected);
    // Dragging one of them moves both.
    drag({15, 15}, {23, 15});
    EXPECT_EQ(a.Left, 18);
    EXPECT_EQ(b.Left, 108);
    // A click on nothing clears the selection.
    mouse.press({300, 200}, {});
    mouse.release({300, 200}, {});
    EXPECT_EQ(doc->selectedCount(), 0);
}

TEST_F(DragTest, RubberBandPrefersObjectsOverBands)
{
    TfrBandView& title = band("ReportTitle1", bandkind::ReportTitle, 0, 100);
    TfrMemoView& inside = memo("In", 20, 20);
    TfrMemoView& touching = memo("Touch", 60, 60);   // its corner touches the band's edge
    TfrMemoView& away = memo("Away", 200, 20);
    drag({30, 30}, {60, 60}, {false, true, false});
    EXPECT_TRUE(inside.Selected);
    EXPECT_TRUE(touching.Selected);
    EXPECT_FALSE(away.Selected);
    EXPECT_FALSE(title.Selected);
    // Over no object but a band: the band.
    drag({300, 30}, {320, 40}, {false, true, false});
    EXPECT_TRUE(title.Selected);
    EXPECT_EQ(doc->selectedCount(), 1);
}

TEST_F(DragTest, ABandDraggedAloneTakesTheObjectsWithinIt)
{
    TfrBandView& data = band("MasterData1", bandkind::MasterData, 40, 40);
    TfrMemoView& inside = memo("In", 20, 50);
    TfrMemoView& across = memo("Across", 20, 70, 40, 20);   // sticks out below
    drag({400, 45}, {400, 61});
    EXPECT_EQ(data.Top, 56);
    EXPECT_EQ(inside.Top, 66);
    EXPECT_EQ(across.Top, 70);
}

TEST_F(DragTest, TheSharedEdgeOfTwoSelectedObjectsMovesBetweenThem)
{
    TfrMemoView& a = memo("A", 10, 10, 40, 20);
    TfrMemoView& b = memo("B", 50, 10, 40, 20);
    doc->select(a);
    doc->select(b);
    EXPECT_EQ(mouse.pointerAt({50, 20}, {}), PointerShape::Split);
    drag({50, 20}, {58, 20});
    EXPECT_EQ(at(a), (ViewRect{10, 10, 48, 20}));
    EXPECT_EQ(at(b), (ViewRect{58, 10, 32, 20}));
    // Not while the right object may not move.
    b.Restrictions = restrict::DontMove;
    drag({58, 20}, {50, 20});
    EXPECT_EQ(a.Width, 48);
}

TEST_F(DragTest, TheLastSelectedObjectsCornerScalesTheSelection)
{
    TfrMemoView& a = memo("A", 100, 100, 40, 20);
    TfrMemoView& b = memo("B", 140, 120, 60, 40);
    doc->select(a);
    doc->select(b);
    // The selection spans 100..200 by 100..160: the corner at (200, 160) doubles it.
    drag({200, 160}, {300, 220});
    EXPECT_EQ(at(a), (ViewRect{100, 100, 80, 40}));
    EXPECT_EQ(at(b), (ViewRect{180, 140, 120, 80}));
}

TEST_F(DragTest, RestrictedObjectsStayWhereTheyAre)
{
    TfrMemoView& fixed = memo("Fixed", 10, 10);
    TfrMemoView& free = memo("Free", 100, 10);
    fixed.Restrictions = restrict::DontMove;
    doc->selectAll();
    drag({110, 15}, {130, 15});
    EXPECT_EQ(fixed.Left, 10);
    EXPECT_EQ(free.Left, 120);
}

TEST_F(DragTest, AClickWithTheTextToolInsertsTheDefaultSizeInTheLastUsedFont)
{
    // Font size 14 chosen on an object: a click inserts 96 x 24 in 14 points.
    TfrMemoView& m = memo("Memo1", 0, 0);
    doc->selectOnly(m);
    doc->applyToolbarAction(toolbaraction::FontSize, 14);
    mouse.setTool(DesignTool::Text);
    mouse.press({50, 70}, {});
    const ReleaseResult r = mouse.release({50, 70}, {});
    ASSERT_NE(r.Inserted, nullptr);
    EXPECT_EQ(at(*r.Inserted), (ViewRect{48, 68, 96, 24}));
    EXPECT_EQ(static_cast<TfrMemoView*>(r.Inserted)->Font.Size, 14);
    EXPECT_EQ(r.Inserted->Name, "Memo2");
    EXPECT_TRUE(r.OpenEditor);
    EXPECT_EQ(mouse.tool(), DesignTool::Select);

    // Grid 18 and 10 points: 108 x 18.
    doc->grid().Size = 18;
    designerSession().LastUsed.FontSize = 10;
    mouse.setTool(DesignTool::Text, true);
    mouse.press({40, 40}, {});
    const ReleaseResult second = mouse.release({40, 40}, {});
    ASSERT_NE(second.Inserted, nullptr);
    EXPECT_EQ(at(*second.Inserted), (ViewRect{36, 36, 108, 18}));
    EXPECT_EQ(mouse.tool(), DesignTool::Text);   // kept down
}

TEST_F(DragTest, NewObjectsTakeTheLastUsedFillAndFrame)
{
    TfrMemoView& m = memo("Memo1", 0, 0);
    doc->selectOnly(m);
    constexpr Color yellow = 0x00FFFF;
    doc->applyToolbarAction(toolbaraction::FillColor, colorValue(yellow));
    doc->applyToolbarAction(toolbaraction::AllFrames, true);
    mouse.setTool(DesignTool::Picture);
    drag({100, 100}, {150, 130});
    TfrView* picture = doc->singleSelected();
    ASSERT_NE(picture, nullptr);
    EXPECT_EQ(picture->ObjectKind, kind::Picture);
    EXPECT_EQ(at(*picture), (ViewRect{100, 100, 48, 28}));
    EXPECT_EQ(picture->FillColor, yellow);
    mouse.setTool(DesignTool::Text);
    drag({200, 100}, {260, 120});
    auto* text = dynamic_cast<TfrMemoView*>(doc->singleSelected());
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->FillColor, yellow);
    EXPECT_EQ(text->FrameTyp, frame::All);
}

TEST_F(DragTest, BandsAreInsertedOnlyAfterTheBandDialogAndNamedByKind)
{
    std::optional<int> answer;
    mouse.chooseBandKind = [&] { return answer; };
    mouse.setTool(DesignTool::Band);
    drag({0, 40}, {400, 80});
    EXPECT_EQ(page().ObjectCount(), 0);   // cancelled

    answer = bandkind::MasterData;
    memo("Memo1", 0, 0);
    mouse.setTool(DesignTool::Band);
    drag({0, 40}, {400, 80});
    ASSERT_EQ(page().ObjectCount(), 2);
    auto* inserted = dynamic_cast<TfrBandView*>(page().PageObjects.front().get());
    ASSERT_NE(inserted, nullptr);   // bands before the other objects
    EXPECT_EQ(inserted->BandKind(), bandkind::MasterData);
    EXPECT_EQ(inserted->Name, "MasterData1");
}

TEST_F(DragTest, TheLineToolDrawsFromGridPointToGridPoint)
{
    mouse.setTool(DesignTool::Line);
    drag({103, 50}, {41, 51});
    TfrView* line = doc->singleSelected();
    ASSERT_NE(line, nullptr);
    EXPECT_EQ(line->ObjectKind, kind::Line);
    // 103 goes to 104; 41 to 40; 50 (halfway) to the even multiple 48; 51 to 52.
    EXPECT_EQ(at(*line), (ViewRect{40, 48, 64, 4}));
    EXPECT_FLOAT_EQ(line->FrameWidth, 2.0f);
    // A click draws nothing.
    mouse.setTool(DesignTool::Line);
    drag({200, 200}, {200, 200});
    EXPECT_EQ(page().ObjectCount(), 1);
}

} // namespace
} // namespace pemvora::report::test
