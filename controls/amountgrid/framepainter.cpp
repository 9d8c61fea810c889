#include "controls/amountgrid/framepainter.h"

#include <QPainter>

namespace pemvora::amountgrid {

int frameWidthOf(HeaderFrame frame) {
    switch (frame) {
    case HeaderFrame::None: return 0;
    case HeaderFrame::Flat: return 1;
    case HeaderFrame::Sunken: return 2;
    }
    return 0;
}

void paintFrame(QPainter& p, QSize size, HeaderFrame frame) {
    const int w = size.width();
    const int h = size.height();
    auto hline = [&](int x1, int x2, int y, const QColor& c) { p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), c); };
    auto vline = [&](int x, int y1, int y2, const QColor& c) { p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), c); };
    if (frame == HeaderFrame::Sunken) {
        const QColor grey(0x80, 0x80, 0x80), black(0, 0, 0), white(0xFF, 0xFF, 0xFF), silver(0xC0, 0xC0, 0xC0);
        // Outer edge: grey along the top and left, white along the bottom and right.
        hline(0, w - 2, 0, grey);
        vline(0, 0, h - 2, grey);
        hline(0, w - 1, h - 1, white);
        vline(w - 1, 0, h - 1, white);
        // Inner edge: black along the top and left, silver along the bottom and right.
        hline(1, w - 3, 1, black);
        vline(1, 1, h - 3, black);
        hline(1, w - 2, h - 2, silver);
        vline(w - 2, 1, h - 2, silver);
    } else if (frame == HeaderFrame::Flat) {
        const QColor black(0, 0, 0);
        hline(0, w - 1, 0, black);
        hline(0, w - 1, h - 1, black);
        vline(0, 0, h - 1, black);
        vline(w - 1, 0, h - 1, black);
    }
}

}  // namespace pemvora::amountgrid
