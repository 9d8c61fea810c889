// Page options: shown in millimetres, checked before anything changes, applied
// and undone as one step.

#include "tests/report/designer/designer_fixture.h"

namespace pemvora::report::test {
namespace {

using PageOptionsTest = DesignerTest;

struct Snapshot {
    PageSettings settings;
    TfrPageMetrics metrics;
    bool operator==(const Snapshot& o) const
    {
        const PageSettings& a = settings;
        const PageSettings& b = o.settings;
        return a.Paper.Size == b.Paper.Size && a.Paper.Width == b.Paper.Width && a.Paper.Height == b.Paper.Height
            && a.Paper.Orientation == b.Paper.Orientation && a.Paper.Bin == b.Paper.Bin
            && a.Margins.Left == b.Margins.Left && a.Margins.Top == b.Margins.Top
            && a.Margins.Right == b.Margins.Right && a.Margins.Bottom == b.Margins.Bottom
            && a.PrintToPrevPage == b.PrintToPrevPage && a.MarginsInUse == b.MarginsInUse
            && a.Columns == b.Columns && a.ColumnGap == b.ColumnGap && metrics == o.metrics;
    }
};

Snapshot snapshot(const TfrPage& page) { return {pageSettingsOf(page), page.Paper.metrics}; }

TEST_F(PageOptionsTest, ACustomPaperAndMarginsInMillimetres)
{
    PageOptionsRequest r = pageOptionsOf(page(), false);
    EXPECT_EQ(r.PaperSize, kCustomPaper);
    EXPECT_EQ(formatMillimetres(r.WidthMm), "175");
    EXPECT_EQ(formatMillimetres(r.HeightMm), "80");

    r.WidthMm = 190;
    r.HeightMm = 88.9;
    r.LeftMm = 10;
    r.TopMm = 5.5;
    r.ColumnGapMm = 2;
    r.Columns = 2;
    ASSERT_FALSE(doc->setPageOptions(r).has_value());
    EXPECT_EQ(page().Paper.size, kCustomPaper);
    EXPECT_EQ(page().Paper.width, 1900);
    EXPECT_EQ(page().Paper.height, 889);
    EXPECT_EQ(page().Margins.Left, 36);
    EXPECT_EQ(page().Margins.Top, 20);       // 19.8 design pixels
    EXPECT_EQ(page().ColumnGap, 7);          // 7.2
    EXPECT_EQ(page().Columns, 2);
    EXPECT_EQ(page().Paper.metrics.PaperWidth, 685);
    // As the dialog shows them again.
    const PageOptionsRequest shown = pageOptionsOf(page(), false);
    EXPECT_EQ(formatMillimetres(shown.LeftMm), "10");
    EXPECT_EQ(formatMillimetres(shown.TopMm), "5.556");
    EXPECT_EQ(formatMillimetres(shown.HeightMm), "88.9");
}

TEST_F(PageOptionsTest, ATablePaperTakesItsSizeInTheChosenOrientation)
{
    PageOptionsRequest r = pageOptionsOf(page(), false);
    r.PaperSize = kA4;
    r.Orientation = 1;
    ASSERT_FALSE(doc->setPageOptions(r).has_value());
    EXPECT_EQ(page().Paper.size, kA4);
    EXPECT_EQ(page().Paper.width, 2970);
    EXPECT_EQ(page().Paper.height, 2100);
    ASSERT_TRUE(doc->undo());
    EXPECT_EQ(page().Paper.size, kCustomPaper);
    EXPECT_EQ(page().Paper.width, 1750);
}

TEST_F(PageOptionsTest, AValueThatDoesNotFitIsRefusedAndNothingChanges)
{
    page().Margins = {20, 10, 0, 0};
    page().Columns = 1;
    const Snapshot before = snapshot(page());
    const PageOptionsRequest good = pageOptionsOf(page(), false);

    struct Case {
        const char* what;
        void (*spoil)(PageOptionsRequest&);
    } cases[] = {
        {"paper too narrow", [](PageOptionsRequest& r) { r.WidthMm = 5; }},
        {"paper too large", [](PageOptionsRequest& r) { r.HeightMm = 20000; }},
        {"paper not a number", [](PageOptionsRequest& r) { r.WidthMm = std::nan(""); }},
        {"margins wider than the paper", [](PageOptionsRequest& r) { r.LeftMm = 100, r.RightMm = 80; }},
        {"margins taller than the paper", [](PageOptionsRequest& r) { r.BottomMm = 80; }},
        {"negative margin", [](PageOptionsRequest& r) { r.TopMm = -1; }},
        {"no columns", [](PageOptionsRequest& r) { r.Columns = 0; }},
        {"columns that do not fit", [](PageOptionsRequest& r) { r.Columns = 20, r.ColumnGapMm = 10; }},
    };
    for (const Case& c : cases) {
        PageOptionsRequest r = good;
        r.PrintToPrevPage = true;   // a good value beside the bad one is not taken either
        c.spoil(r);
        const std::optional<std::string> refused = doc->setPageOptions(r);
        ASSERT_TRUE(refused.has_value()) << c.what;
        EXPECT_FALSE(refused->empty());
        EXPECT_TRUE(snapshot(page()) == before) << c.what;
        EXPECT_FALSE(page().PrintToPrevPage) << c.what;
    }
    EXPECT_EQ(doc->undoCount(), 0u);
    EXPECT_FALSE(doc->modified());
    // The printer holds the page's paper again.
    EXPECT_EQ(printing().printer().PaperWidth, 1750);
}

TEST_F(PageOptionsTest, StretchedToThePrintAreaTheMarginsAreNotInUse)
{
    PageOptionsRequest r = pageOptionsOf(page(), false);
    r.StretchToPrintArea = true;
    r.UnlimitedHeight = true;
    ASSERT_FALSE(doc->setPageOptions(r).has_value());
    EXPECT_FALSE(page().MarginsInUse);
    EXPECT_TRUE(doc->options().UnlimitedHeight);
    EXPECT_TRUE(pageOptionsOf(page(), true).StretchToPrintArea);
}

} // namespace
} // namespace pemvora::report::test
