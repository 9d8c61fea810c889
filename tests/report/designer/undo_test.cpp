// Undo and redo: entries find their objects by Id after reorders, deletions
// and restorations; the buffers hold 100 entries; an entry of another page
// waits for that page.

#include "tests/report/designer/designer_fixture.h"

namespace pemvora::report::test {
namespace {

using UndoTest = DesignerTest;

std::string layout(const TfrPage& page)
{
    std::string out;
    for (const auto& v : page.PageObjects) out += v->Name + "@" + std::to_string(v->Left) + " ";
    return out;
}

TEST_F(UndoTest, UndoAndRedoAcrossInsertDeleteModifyAndReorder)
{
    memo("A", 10, 10);
    memo("B", 20, 20);
    memo("C", 30, 30);
    std::vector<std::string> states{layout(page())};

    TfrView* inserted = doc->insertObject(kind::Memo, {40, 40, 50, 20});
    ASSERT_NE(inserted, nullptr);
    states.push_back(layout(page()));                       // A B C Memo1
    doc->selectOnly(*doc->page().FindObject("B"));
    doc->moveSelection(5, 0);
    states.push_back(layout(page()));                       // B moved
    doc->bringToFront();
    states.push_back(layout(page()));                       // B last
    doc->selectOnly(*doc->page().FindObject("A"));
    doc->deleteSelection();
    states.push_back(layout(page()));                       // A gone
    doc->selectOnly(*doc->page().FindObject("C"));
    doc->setProperty("Left", 99);
    states.push_back(layout(page()));

    for (std::size_t i = states.size() - 1; i > 0; --i) {
        ASSERT_TRUE(doc->undo());
        EXPECT_EQ(layout(page()), states[i - 1]) << "undo to state " << i - 1;
    }
    EXPECT_FALSE(doc->undo());
    for (std::size_t i = 1; i < states.size(); ++i) {
        ASSERT_TRUE(doc->redo());
        EXPECT_EQ(layout(page()), states[i]) << "redo to state " << i;
    }
    EXPECT_FALSE(doc->redo());
}

TEST_F(UndoTest, UndoOfAMoveFindsTheObjectAfterItWasBroughtToFront)
{
    TfrMemoView& a = memo("A", 10, 10);
    TfrMemoView& b = memo("B", 20, 20);
    doc->selectOnly(a);
    doc->moveSelection(8, 0);
    doc->bringToFront();             // A is now where B was in the list
    doc->selectOnly(a);
    doc->moveSelection(0, 4);
    ASSERT_TRUE(doc->undo());        // the second move, by Id
    EXPECT_EQ(a.Top, 10);
    EXPECT_EQ(b.Top, 20);
    ASSERT_TRUE(doc->undo());        // the order
    EXPECT_EQ(layout(page()), "A@18 B@20 ");
    ASSERT_TRUE(doc->undo());        // the first move
    EXPECT_EQ(a.Left, 10);
    EXPECT_EQ(b.Left, 20);
}

TEST_F(UndoTest, AnObjectDeletedAndRestoredIsTheSameObjectForOlderEntries)
{
    TfrMemoView& a = memo("A", 10, 10);
    memo("B", 20, 20);
    doc->selectOnly(a);
    doc->moveSelection(4, 0);        // entry 1 names A by Id
    doc->deleteSelection();          // entry 2 keeps A itself
    ASSERT_TRUE(doc->undo());        // A back at its index
    ASSERT_TRUE(doc->undo());        // and entry 1 still finds it
    EXPECT_EQ(page().PageObjects.front().get(), &a);
    EXPECT_EQ(a.Left, 10);
}

TEST_F(UndoTest, OnlyTheLastHundredActionsCanBeUndone)
{
    TfrMemoView& a = memo("A", 0, 0);
    doc->selectOnly(a);
    for (int i = 0; i < 101; ++i) doc->moveSelection(1, 0);
    EXPECT_EQ(a.Left, 101);
    EXPECT_EQ(doc->undoCount(), 100u);
    int undone = 0;
    while (doc->undo()) ++undone;
    EXPECT_EQ(undone, 100);
    EXPECT_EQ(a.Left, 1);   // the first move stays
    EXPECT_EQ(doc->redoCount(), 100u);
}

TEST_F(UndoTest, ANewActionEmptiesTheRedoBuffer)
{
    TfrMemoView& a = memo("A", 0, 0);
    doc->selectOnly(a);
    doc->moveSelection(4, 0);
    doc->undo();
    EXPECT_TRUE(doc->canRedo());
    doc->moveSelection(0, 4);
    EXPECT_FALSE(doc->canRedo());
}

TEST_F(UndoTest, AnEntryOfAnotherPageWaitsForThatPage)
{
    TfrMemoView& a = memo("A", 0, 0);
    doc->selectOnly(a);
    doc->moveSelection(4, 0);
    doc->addPage();
    EXPECT_EQ(doc->currentPageIndex(), 1);
    EXPECT_FALSE(doc->undo());
    doc->showPage(0);
    EXPECT_TRUE(doc->undo());
    EXPECT_EQ(a.Left, 0);
}

TEST_F(UndoTest, RemovingAPageDropsItsEntries)
{
    doc->addPage();
    TfrMemoView& b = memo("B", 0, 0);
    doc->selectOnly(b);
    doc->moveSelection(4, 0);
    EXPECT_TRUE(doc->canUndo());
    EXPECT_TRUE(doc->removeCurrentPage());
    EXPECT_EQ(doc->undoCount(), 0u);
    EXPECT_FALSE(doc->removeCurrentPage());   // the last page stays
}

TEST_F(UndoTest, WithUndoDisabledActionsOnlyMarkTheTemplateModified)
{
    TfrMemoView& a = memo("A", 0, 0);
    doc->options().DisableUndo = true;
    doc->selectOnly(a);
    EXPECT_FALSE(doc->modified());
    doc->moveSelection(4, 0);
    EXPECT_TRUE(doc->modified());
    EXPECT_FALSE(doc->undo());
}

} // namespace
} // namespace pemvora::report::test
