#pragma once
// Cell geometry shared by the amount grid header and edit controls: a row of
// DigitalNumber cells, the rightmost DecimalNumber of them decimal places,
// with separator lines between neighbours.

#include <QColor>
#include <QRect>

#include <vector>

namespace pemvora::amountgrid {

enum class TextLayout { Top, Centre, Bottom };

// What the row looks like, as set through the controls' properties.
struct GridStyle {
    int digitalNumber = 10;
    int decimalNumber = 2;
    int cellWidth = -1;  // negative: cells fitted to the width
    int gridLineWidth = 1;
    QColor gridLineColor{0xC0, 0xC0, 0xC0};
    QColor kilobitSeparatorColor{0, 0, 0};
    QColor decimalSeparatorColor{0xFF, 0, 0};
};

struct Separator {
    int x = 0;  // left edge; the line is gridLineWidth wide
    QColor color;
};

class GridGeometry {
public:
    // `width` is the whole width for the header and the client width for the
    // edit controls; `frame` is the header's frame width (0 for the edits).
    GridGeometry(const GridStyle& style, int width, int frame);

    int cellCount() const { return count_; }
    int cellWidth() const { return cell_; }
    int leftover() const { return leftover_; }
    int lineWidth() const { return line_; }
    // The width the control takes when the cell width is fixed, else the given one.
    int width() const { return width_; }
    // Nominal left edge of cell k; the leftover pixels lie left of cell 0.
    int cellLeft(int k) const { return k * (cell_ + line_) + frame_ + leftover_; }
    // Cell k from its left edge over the cell width, or -1 when x is on a
    // separator, in the leftover strip or outside the row.
    int cellAt(int x) const;
    const std::vector<Separator>& separators() const { return separators_; }

private:
    int count_;
    int line_;
    int frame_;
    int cell_ = 0;
    int leftover_ = 0;
    int width_;
    std::vector<Separator> separators_;
};

}  // namespace pemvora::amountgrid
