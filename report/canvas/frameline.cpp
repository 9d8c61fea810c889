#include "report/canvas/frameline.h"

#include <algorithm>

namespace pemvora::report {

namespace {

// A dashed frame is drawn as one dashed line per pixel of its width: 1024 is
// over 2 cm at 1200 dots per inch, wider than any frame a report has.
constexpr int kMaxDashedWidth = 1024;

// The line moved by `offset` pixels across its direction (down for a
// horizontal line, right for a vertical one).
void offsetLine(Canvas& canvas, Point from, Point to, int offset)
{
    if (from.y == to.y)
        canvas.line(from.x, from.y + offset, to.x, to.y + offset);
    else
        canvas.line(from.x + offset, from.y, to.x + offset, to.y);
}

} // namespace

void drawFrameLine(Canvas& canvas, Point from, Point to, const FrameLineStyle& style)
{
    const int w = std::max(1, style.width);
    const bool axisAligned = from.x == to.x || from.y == to.y;

    switch (style.style) {
    case PenStyle::Dash:
    case PenStyle::Dot:
    case PenStyle::DashDot:
    case PenStyle::DashDotDot:
        // A wide dashed pen would come out solid: w one-pixel dashed lines instead.
        canvas.setBrush(Brush{style.fillColor, BrushStyle::Solid});
        canvas.setPen(Pen{style.frameColor, 1, style.style});
        if (!axisAligned) {
            canvas.line(from.x, from.y, to.x, to.y);
            return;
        }
        // Wider than any real frame (a damaged file): drawn kMaxDashedWidth wide.
        {
            const int width = std::min(w, kMaxDashedWidth);
            for (int offset = -(width / 2); offset <= width - 1 - width / 2; ++offset)
                offsetLine(canvas, from, to, offset);
        }
        return;
    case PenStyle::Double:
        canvas.setPen(Pen{style.frameColor, w, PenStyle::Solid});
        if (!axisAligned) {
            canvas.line(from.x, from.y, to.x, to.y);
            return;
        }
        offsetLine(canvas, from, to, w);
        offsetLine(canvas, from, to, -w);
        if (style.fillColor != kNoColor) {
            canvas.setPen(Pen{style.fillColor, w, PenStyle::Solid});
            offsetLine(canvas, from, to, 0);
        }
        return;
    case PenStyle::Clear:
        return;
    case PenStyle::Solid:
        break;
    }
    canvas.setPen(Pen{style.frameColor, w, PenStyle::Solid});
    canvas.line(from.x, from.y, to.x, to.y);
}

} // namespace pemvora::report
