#pragma once
// Where the preview puts its pages: the zoom factor a mode gives for the page
// box, the rows of pages with their rectangles, the scroll ranges, and which
// page a scroll position makes current. Plain arithmetic on sizes; the preview
// window only shows the result.
//
// Coordinates are preview pixels of the page box with the scroll positions at
// 0; paper sizes are design pixels.

#include "report/canvas/canvas.h"

#include <optional>
#include <string>
#include <vector>

namespace pemvora::report {

// The zoom modes of the preview, as the zoom menu's tags 1, 2, 3 select them.
enum class ZoomMode : int { Percent = 0, PageWidth = 1, WholePage = 2, TwoPages = 3 };

// The zoom menu: percentages with their value as tag, then the three modes.
inline constexpr int kZoomPercentTags[] = {200, 150, 100, 75, 50, 25, 10};
inline constexpr int kZoomModeTags[] = {1, 2, 3};

// Gaps around and between pages, preview pixels.
inline constexpr int kPageGap = 10;
// Scroll steps of the page area's bars.
inline constexpr int kSmallScrollStep = 10;
inline constexpr int kLargeScrollStep = 200;
// The smallest zoom a mode may give (a box too small for any page).
inline constexpr double kSmallestZoom = 0.01;
// The largest zoom a mode may give (a tiny page in a large box).
inline constexpr double kLargestZoom = 50.0;

struct Zoom {
    double factor = 1.0;   // preview pixels per design pixel
    ZoomMode mode = ZoomMode::Percent;
    friend bool operator==(const Zoom&, const Zoom&) = default;
};

// What picking a zoom menu item with `tag` selects: 1..3 a mode (keeping the
// factor until the layout computes it), anything else that percentage.
Zoom zoomForTag(int tag, double currentFactor);
// The tag of the zoom menu item that shows as checked: the mode's tag, or for
// Percent the percentage (which may match no item).
int checkedZoomTag(const Zoom& zoom);
// "100%": the factor as the zoom button shows it.
std::string zoomCaption(double factor);
// "Page 2/3".
std::string pageLabel(int currentPage, int pageCount);

struct PageLayout {
    double factor = 1.0;
    int perRow = 1;
    std::vector<Rect> pages;   // one per page, same order
    int horizontalRange = 0;   // scroll bar maxima; 0: the bar is disabled
    int verticalRange = 0;
};

// Lays the pages (paper sizes in design pixels) out in a page box of
// `box` pixels. The modes fit the page `currentIndex` (0-based) into the box:
// page width (W - 20) / width, whole page (H - 20) / height, two pages
// (W - 30) / (2 * width); Percent keeps `zoom.factor`. Rows hold as many pages
// as fit side by side (one per row for whole page, two for two pages); a lone
// page per row narrower than the box is centred.
PageLayout layoutPages(const std::vector<Size>& papers, Size box, const Zoom& zoom, int currentIndex);

// The 0-based page that scrolling to `verticalPosition` makes current: the
// first whose rectangle spans the line 11 pixels below the view's top; nullopt
// when none does (the line falls into a gap).
std::optional<int> pageAtScroll(const std::vector<Rect>& pages, int verticalPosition);

// The scroll position that keeps `box` (page box pixels at scroll 0) in a
// view of `viewSize` pixels that starts at `position`, within [0, range]:
// unchanged when the box is already inside, else the box with a gap at the
// near side.
int scrollToShow(int position, int viewSize, int range, int boxStart, int boxEnd);

} // namespace pemvora::report
