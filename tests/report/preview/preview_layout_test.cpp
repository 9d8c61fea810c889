// The preview's layout: the zoom each mode gives, rows of pages, centring,
// the scroll ranges, the page a scroll position makes current, and keeping a
// found text in view.

#include "report/preview/preview_layout.h"

#include <gtest/gtest.h>

#include <vector>

namespace pemvora::report {
namespace {

const std::vector<Size> kThreePages(3, Size{500, 700});

struct LayoutCase {
    const char* name;
    Size box;
    Zoom zoom;
    double factor;
    int perRow;
    std::vector<Rect> rects;
    int horizontalRange;
    int verticalRange;
};

TEST(PreviewLayout, EachZoomModeGivesItsFactorRowsAndRanges)
{
    const LayoutCase cases[] = {
        // Two pages fit side by side at 100 %; the third opens a row of its own
        // but is not centred, since rows hold two.
        {"percent", {1100, 600}, {1.0, ZoomMode::Percent}, 1.0, 2,
         {{10, 10, 510, 710}, {520, 10, 1020, 710}, {10, 720, 510, 1420}}, 0, 830},
        // Page width: (W - 20) / width; a lone page per row is centred.
        {"page width", {540, 400}, {0.3, ZoomMode::PageWidth}, 1.04, 1,
         {{10, 10, 530, 738}, {10, 748, 530, 1476}, {10, 1486, 530, 2214}}, 0, 1824},
        // Whole page: (H - 20) / height, one page per row, centred.
        {"whole page", {800, 370}, {2.0, ZoomMode::WholePage}, 0.5, 1,
         {{275, 10, 525, 360}, {275, 370, 525, 720}, {275, 730, 525, 1080}}, 0, 720},
        // Two pages: (W - 30) / (2 * width), pages 1 and 2 side by side, 3 below 1.
        {"two pages", {1030, 600}, {1.0, ZoomMode::TwoPages}, 1.0, 2,
         {{10, 10, 510, 710}, {520, 10, 1020, 710}, {10, 720, 510, 1420}}, 0, 830},
        // 200 % in a small box: one page per row, wider than the box, not
        // centred, and both bars have a range.
        {"too wide", {600, 500}, {2.0, ZoomMode::Percent}, 2.0, 1,
         {{10, 10, 1010, 1410}, {10, 1420, 1010, 2820}, {10, 2830, 1010, 4230}}, 420, 3740},
    };
    for (const LayoutCase& c : cases) {
        SCOPED_TRACE(c.name);
        const PageLayout layout = layoutPages(kThreePages, c.box, c.zoom, 0);
        EXPECT_DOUBLE_EQ(layout.factor, c.factor);
        EXPECT_EQ(layout.perRow, c.perRow);
        EXPECT_EQ(layout.pages, c.rects);
        EXPECT_EQ(layout.horizontalRange, c.horizontalRange);
        EXPECT_EQ(layout.verticalRange, c.verticalRange);
    }
}

TEST(PreviewLayout, TheModesFitTheCurrentPageAndRowsMakeRoomForTheTallestPage)
{
    // A landscape page among portrait ones: page width fits the current page.
    const std::vector<Size> papers{{500, 700}, {700, 500}, {500, 700}};
    EXPECT_DOUBLE_EQ(layoutPages(papers, {720, 400}, {1.0, ZoomMode::PageWidth}, 1).factor, 1.0);
    EXPECT_DOUBLE_EQ(layoutPages(papers, {520, 400}, {1.0, ZoomMode::PageWidth}, 0).factor, 1.0);

    // Two fit per row at 50 %: the second row starts below the taller of the first two.
    const PageLayout two = layoutPages(papers, {700, 400}, {0.5, ZoomMode::Percent}, 0);
    ASSERT_EQ(two.pages.size(), 3u);
    EXPECT_EQ(two.perRow, 2);
    EXPECT_EQ(two.pages[1], (Rect{270, 10, 620, 260}));
    EXPECT_EQ(two.pages[2], (Rect{10, 370, 260, 720}));
}

TEST(PreviewLayout, BoxesTooSmallAndPagesOfNoSizeStillGiveALayout)
{
    for (const ZoomMode mode : {ZoomMode::PageWidth, ZoomMode::WholePage, ZoomMode::TwoPages}) {
        const PageLayout tiny = layoutPages(kThreePages, {0, 0}, {1.0, mode}, 0);
        EXPECT_GT(tiny.factor, 0.0);
        EXPECT_EQ(tiny.pages.size(), 3u);
        EXPECT_GE(tiny.perRow, 1);
    }
    const PageLayout blank = layoutPages({{0, 0}}, {400, 300}, {1.0, ZoomMode::WholePage}, 0);
    EXPECT_DOUBLE_EQ(blank.factor, 1.0);
    const PageLayout none = layoutPages({}, {400, 300}, {1.0, ZoomMode::TwoPages}, 0);
    EXPECT_TRUE(none.pages.empty());
    EXPECT_EQ(none.verticalRange, 0);
    // A page of absurd size from a file at the largest zoom stays within int.
    const PageLayout huge = layoutPages({{2'000'000'000, 2'000'000'000}}, {400, 300}, {50.0, ZoomMode::Percent}, 0);
    EXPECT_GT(huge.pages[0].right, huge.pages[0].left);
    EXPECT_GT(huge.verticalRange, 0);
}

TEST(PreviewLayout, ThePageUnderTheLineElevenPixelsBelowTheTopIsCurrent)
{
    const PageLayout layout = layoutPages(kThreePages, {540, 400}, {1.0, ZoomMode::Percent}, 0);
    // Pages at 10..710, 720..1420, 1430..2130.
    EXPECT_EQ(pageAtScroll(layout.pages, 0), 0);
    EXPECT_EQ(pageAtScroll(layout.pages, 698), 0);
    EXPECT_EQ(pageAtScroll(layout.pages, 699), std::nullopt);   // the line is on page 1's bottom edge
    EXPECT_EQ(pageAtScroll(layout.pages, 709), std::nullopt);   // the line is on page 2's top edge
    EXPECT_EQ(pageAtScroll(layout.pages, 710), 1);
    EXPECT_EQ(pageAtScroll(layout.pages, 1420), 2);
}

TEST(PreviewLayout, ZoomTagsCaptionsAndTheCheckedItem)
{
    EXPECT_EQ(zoomForTag(75, 2.0), (Zoom{0.75, ZoomMode::Percent}));
    EXPECT_EQ(zoomForTag(2, 0.4), (Zoom{0.4, ZoomMode::WholePage}));
    EXPECT_EQ(checkedZoomTag({0.75, ZoomMode::Percent}), 75);
    EXPECT_EQ(checkedZoomTag({0.6123, ZoomMode::TwoPages}), 3);
    EXPECT_EQ(zoomCaption(1.0), "100%");
    EXPECT_EQ(zoomCaption(1.3275), "133%");
    EXPECT_EQ(pageLabel(2, 3), "Page 2/3");
}

TEST(PreviewLayout, AFoundBoxIsScrolledIntoTheView)
{
    struct Case {
        int position, view, range, start, end, expected;
    };
    const Case cases[] = {
        {100, 400, 1000, 200, 220, 100},    // already inside: stays
        {100, 400, 1000, 40, 60, 30},       // above: its top 10 pixels below the view's top
        {100, 400, 1000, 700, 720, 330},    // below: its bottom 10 pixels above the view's bottom
        {0, 400, 1000, 1500, 1520, 1000},   // beyond the range: the range's end
        {500, 400, 1000, 0, 10, 0},         // before the start: 0
        {0, 100, 1000, 300, 600, 290},      // taller than the view: its top
    };
    for (const Case& c : cases)
        EXPECT_EQ(scrollToShow(c.position, c.view, c.range, c.start, c.end), c.expected)
            << c.position << ' ' << c.start << '-' << c.end;
}

} // namespace
} // namespace pemvora::report
