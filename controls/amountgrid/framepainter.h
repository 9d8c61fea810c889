#pragma once
// The frames of the amount grid controls, drawn pixel by pixel as the
// classic sunken three-dimensional edge or a plain black line.

#include "controls/amountgrid/currencyheader.h"

class QPainter;

namespace pemvora::amountgrid {

// Paints the frame kind around a control of the given size; its inside is left alone.
void paintFrame(QPainter& painter, QSize size, HeaderFrame frame);
int frameWidthOf(HeaderFrame frame);

}  // namespace pemvora::amountgrid
