#pragma once
// Grid arithmetic, handles and hit tests of the designer's page, in design
// pixels. Plain functions the commands and the page widget share.

#include "report/canvas/canvas.h"
#include "report/model/view.h"

#include <array>

namespace pemvora::report {

// The multiple of `grid` at or below v (also for negative v).
int floorToGrid(int v, int grid);
// The multiple of `grid` nearest to v; a value exactly halfway goes to the
// even multiple (5 with grid 4 gives 4, 6 gives 8, 10 gives 8).
int roundToGridEven(int v, int grid);
// A drag distance cut down toward zero to a whole number of grid steps.
inline int truncToGrid(int d, int grid) { return grid > 0 ? d / grid * grid : d; }

// The eight handles of a single selected object.
enum class Handle { None, TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left };

// Corners first: on a small object the squares overlap and a corner wins.
inline constexpr std::array<Handle, 8> kHandles = {Handle::TopLeft,  Handle::TopRight,   Handle::BottomRight,
                                                   Handle::BottomLeft, Handle::Top,     Handle::Right,
                                                   Handle::Bottom,   Handle::Left};

Point handlePoint(const ViewRect& r, Handle h);
// A handle is hit within the square from 2 pixels before to 3 pixels after its point.
bool handleSquareContains(Point handle, Point p);
Handle handleAt(const ViewRect& r, Point p);
// Which edges a handle moves.
bool movesLeftEdge(Handle h);
bool movesRightEdge(Handle h);
bool movesTopEdge(Handle h);
bool movesBottomEdge(Handle h);

inline ViewRect rectOf(const TfrView& v) { return {v.Left, v.Top, v.Width, v.Height}; }
// The mouse hits an object less than 3 pixels wide or high within 3 pixels
// around its rectangle, any other within its outline (edges included).
bool hitsObject(const ViewRect& r, Point p);
// Edges included: rectangles that only touch also overlap.
bool touchesOrOverlaps(const ViewRect& a, const ViewRect& b);
// Whether `inner` lies entirely within `outer` (edges included).
bool liesWithin(const ViewRect& inner, const ViewRect& outer);
// The rectangle with corners a and b, whichever way round.
ViewRect normalizedRect(Point a, Point b);

// Design pixels and the designer's units (0 pixels, 1 millimetres, 2 inches):
// 18/5 design pixels per millimetre.
double pixelsToUnits(double pixels, int units);
double unitsToPixels(double value, int units);

} // namespace pemvora::report
