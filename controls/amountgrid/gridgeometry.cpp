#include "controls/amountgrid/gridgeometry.h"

namespace pemvora::amountgrid {

GridGeometry::GridGeometry(const GridStyle& style, int width, int frame)
    : count_(style.digitalNumber > 0 ? style.digitalNumber : 0),
      line_(style.gridLineWidth > 0 ? style.gridLineWidth : 0),
      frame_(frame),
      width_(width) {
    if (count_ == 0) return;
    int linesAndFrame = (count_ - 1) * line_ + 2 * frame_;
    if (style.cellWidth < 0) {
        int room = width - linesAndFrame;
        if (room < 0) room = 0;  // a control narrower than its lines: cells of no width
        cell_ = room / count_;
        leftover_ = room - count_ * cell_;
    } else {
        cell_ = style.cellWidth;
        width_ = count_ * cell_ + linesAndFrame;
    }
    int integerCells = count_ - style.decimalNumber;
    for (int i = 1; i < count_; ++i) {
        QColor color = style.gridLineColor;
        if (i == integerCells)
            color = style.decimalSeparatorColor;
        else if ((integerCells - i) % 3 == 0)
            color = style.kilobitSeparatorColor;
        separators_.push_back({cellLeft(i) - line_, color});
    }
}

int GridGeometry::cellAt(int x) const {
    for (int k = 0; k < count_; ++k) {
        int left = cellLeft(k);
        if (x >= left && x < left + cell_) return k;
    }
    return -1;
}

}  // namespace pemvora::amountgrid
