// The preview's page layout and zoom arithmetic.

#include "report/preview/preview_layout.h"

#include "platform/value/numbertext.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pemvora::report {

namespace {

// A preview pixel count from design pixels times a factor; pages from a file
// may have any size, so the value stays well inside what an int holds.
int scaled(int designPixels, double factor)
{
    constexpr double kLimit = std::numeric_limits<int>::max() / 4;
    return static_cast<int>(roundHalfEven(std::clamp(designPixels * factor, 0.0, kLimit)));
}

double fitted(double available, double size)
{
    if (size <= 0) return 1.0;
    return std::clamp(available / size, kSmallestZoom, kLargestZoom);
}

} // namespace

Zoom zoomForTag(int tag, double currentFactor)
{
    if (tag >= 1 && tag <= 3) return {currentFactor, static_cast<ZoomMode>(tag)};
    return {std::clamp(tag / 100.0, kSmallestZoom, kLargestZoom), ZoomMode::Percent};
}

int checkedZoomTag(const Zoom& zoom)
{
    if (zoom.mode != ZoomMode::Percent) return static_cast<int>(zoom.mode);
    return static_cast<int>(roundHalfEven(zoom.factor * 100));
}

std::string zoomCaption(double factor) { return fmt::format("{}%", static_cast<long long>(roundHalfEven(factor * 100))); }

std::string pageLabel(int currentPage, int pageCount) { return fmt::format("Page {}/{}", currentPage, pageCount); }

PageLayout layoutPages(const std::vector<Size>& papers, Size box, const Zoom& zoom, int currentIndex)
{
    PageLayout out;
    const int w = box.width;
    const int h = box.height;
    double factor = zoom.factor;
    if (!papers.empty()) {
        const Size current = papers[static_cast<std::size_t>(std::clamp(currentIndex, 0, static_cast<int>(papers.size()) - 1))];
        switch (zoom.mode) {
        case ZoomMode::PageWidth: factor = fitted(w - 20, current.width); break;
        case ZoomMode::WholePage: factor = fitted(h - 20, current.height); break;
        case ZoomMode::TwoPages: factor = fitted(w - 30, 2.0 * current.width); break;
        case ZoomMode::Percent: break;
        }
    }
    out.factor = factor;

    // As many pages per row as the widest run of pages that fits the box.
    int perRow = 0;
    int count = 0;
    long long x = kPageGap;
    for (const Size& paper : papers) {
        const int pw = scaled(paper.width, factor);
        if (x + pw + kPageGap <= w) {
            x += pw + kPageGap;
            ++count;
        } else {
            perRow = std::max(perRow, count);
            x = kPageGap;
            count = 0;
        }
    }
    perRow = std::max({perRow, count, 1});
    if (zoom.mode == ZoomMode::WholePage) perRow = 1;
    if (zoom.mode == ZoomMode::TwoPages) perRow = 2;
    out.perRow = perRow;

    // Rows from the top; the next row starts below the row's tallest page.
    long long right = 0;
    long long bottom = 0;
    long long y = kPageGap;
    for (std::size_t first = 0; first < papers.size(); first += static_cast<std::size_t>(perRow)) {
        const std::size_t last = std::min(papers.size(), first + static_cast<std::size_t>(perRow));
        long long rowX = kPageGap;
        long long tallest = 0;
        for (std::size_t i = first; i < last; ++i) {
            const int pw = scaled(papers[i].width, factor);
            const int ph = scaled(papers[i].height, factor);
            long long left = rowX;
            if (perRow == 1 && pw < w) left = (w - pw) / 2;
            const auto clampInt = [](long long v) {
                return static_cast<int>(std::min<long long>(v, std::numeric_limits<int>::max() / 2));
            };
            out.pages.push_back({clampInt(left), clampInt(y), clampInt(left + pw), clampInt(y + ph)});
            right = std::max(right, left + pw);
            bottom = std::max(bottom, y + ph);
            tallest = std::max<long long>(tallest, ph);
            rowX += pw + kPageGap;
        }
        y += tallest + kPageGap;
    }

    const auto range = [](long long extent) {
        if (extent <= 0) return 0;
        return static_cast<int>(std::min<long long>(extent + kPageGap, std::numeric_limits<int>::max() / 2));
    };
    out.horizontalRange = range(right - w);
    out.verticalRange = range(bottom - h);
    return out;
}

std::optional<int> pageAtScroll(const std::vector<Rect>& pages, int verticalPosition)
{
    const long long line = 11LL + verticalPosition;
    for (std::size_t i = 0; i < pages.size(); ++i)
        if (pages[i].top < line && line < pages[i].bottom) return static_cast<int>(i);
    return std::nullopt;
}

int scrollToShow(int position, int viewSize, int range, int boxStart, int boxEnd)
{
    int p = position;
    if (boxEnd - boxStart > viewSize - 2 * kPageGap || boxStart < p) p = boxStart - kPageGap;
    else if (boxEnd > p + viewSize) p = boxEnd - viewSize + kPageGap;
    return std::clamp(p, 0, std::max(range, 0));
}

} // namespace pemvora::report
