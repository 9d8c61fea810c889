#include "report/designer/designer_geometry.h"

#include <algorithm>
#include <cstdlib>

namespace pemvora::report {

int floorToGrid(int v, int grid)
{
    if (grid <= 0) return v;
    int q = v / grid;
    if (v % grid != 0 && v < 0) --q;
    return q * grid;
}

int roundToGridEven(int v, int grid)
{
    if (grid <= 0) return v;
    const int below = floorToGrid(v, grid);
    const int rest = v - below;   // 0 .. grid-1
    if (2 * rest < grid) return below;
    if (2 * rest > grid) return below + grid;
    // Exactly halfway: the even multiple.
    return ((below / grid) % 2 == 0) ? below : below + grid;
}

Point handlePoint(const ViewRect& r, Handle h)
{
    const int midX = r.Left + r.Width / 2, midY = r.Top + r.Height / 2;
    const int right = r.Left + r.Width, bottom = r.Top + r.Height;
    switch (h) {
    case Handle::TopLeft: return {r.Left, r.Top};
    case Handle::Top: return {midX, r.Top};
    case Handle::TopRight: return {right, r.Top};
    case Handle::Right: return {right, midY};
    case Handle::BottomRight: return {right, bottom};
    case Handle::Bottom: return {midX, bottom};
    case Handle::BottomLeft: return {r.Left, bottom};
    case Handle::Left: return {r.Left, midY};
    case Handle::None: break;
    }
    return {r.Left, r.Top};
}

bool handleSquareContains(Point handle, Point p)
{
    return p.x >= handle.x - 2 && p.x <= handle.x + 3 && p.y >= handle.y - 2 && p.y <= handle.y + 3;
}

Handle handleAt(const ViewRect& r, Point p)
{
    for (Handle h : kHandles)
        if (handleSquareContains(handlePoint(r, h), p)) return h;
    return Handle::None;
}

bool movesLeftEdge(Handle h) { return h == Handle::TopLeft || h == Handle::Left || h == Handle::BottomLeft; }
bool movesRightEdge(Handle h) { return h == Handle::TopRight || h == Handle::Right || h == Handle::BottomRight; }
bool movesTopEdge(Handle h) { return h == Handle::TopLeft || h == Handle::Top || h == Handle::TopRight; }
bool movesBottomEdge(Handle h) { return h == Handle::BottomLeft || h == Handle::Bottom || h == Handle::BottomRight; }

bool hitsObject(const ViewRect& r, Point p)
{
    const int margin = (r.Width < 3 || r.Height < 3) ? 3 : 0;
    return p.x >= r.Left - margin && p.x <= r.Left + r.Width + margin && p.y >= r.Top - margin
        && p.y <= r.Top + r.Height + margin;
}

bool touchesOrOverlaps(const ViewRect& a, const ViewRect& b)
{
    return a.Left <= b.Left + b.Width && b.Left <= a.Left + a.Width && a.Top <= b.Top + b.Height
        && b.Top <= a.Top + a.Height;
}

bool liesWithin(const ViewRect& inner, const ViewRect& outer)
{
    return inner.Left >= outer.Left && inner.Top >= outer.Top
        && inner.Left + inner.Width <= outer.Left + outer.Width
        && inner.Top + inner.Height <= outer.Top + outer.Height;
}

ViewRect normalizedRect(Point a, Point b)
{
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::abs(b.x - a.x), std::abs(b.y - a.y)};
}

namespace {
constexpr double kPixelsPerMm = 18.0 / 5.0;
constexpr double kMmPerInch = 25.4;
} // namespace

double pixelsToUnits(double pixels, int units)
{
    if (units == 1) return pixels / kPixelsPerMm;
    if (units == 2) return pixels / kPixelsPerMm / kMmPerInch;
    return pixels;
}

double unitsToPixels(double value, int units)
{
    if (units == 1) return value * kPixelsPerMm;
    if (units == 2) return value * kPixelsPerMm * kMmPerInch;
    return value;
}

} // namespace pemvora::report
