#pragma once
// Frame lines: one edge of an object's frame, or a line object, in any of the
// six line styles, as the report objects draw them.
//
//   * Solid: one line with a pen of the given width.
//   * Dash, Dot, DashDot, DashDotDot: `width` parallel one-pixel dashed lines,
//     centred on the ideal line (offsets -(width / 2) .. width - 1 - width / 2),
//     so that wide dashed frames stay dashed; the gaps take the fill colour
//     (left untouched when the fill colour is kNoColor).
//   * Double: two lines of the given width at +width and -width from the ideal
//     line in the frame colour and, on the ideal line, one in the fill colour
//     (left out when the fill colour is kNoColor).
//
// A line of width w covers, across its direction, the offsets -(w / 2) ..
// w - 1 - w / 2 from the ideal line; along it, the last pixel is left out.
// Only horizontal and vertical frame lines are offset; a slanted line is drawn
// once. The canvas's pen, brush and background are changed.

#include "report/canvas/canvas.h"

namespace pemvora::report {

struct FrameLineStyle {
    Color frameColor = kBlack;
    Color fillColor = kNoColor;
    int width = 1;              // pixels, already rounded; below 1 draws as 1
    PenStyle style = PenStyle::Solid;
};

void drawFrameLine(Canvas& canvas, Point from, Point to, const FrameLineStyle& style);

} // namespace pemvora::report
