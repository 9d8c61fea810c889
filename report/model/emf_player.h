#pragma once
// Enhanced metafiles (EMF) played onto a QPainter by a small player of our own.
// Text, lines, rectangles, ellipses, polygons, fills and bitmaps are drawn;
// other records are skipped; every record is bounds-checked.

#include <QPainter>
#include <QRectF>

#include <string_view>

namespace pemvora::report {

struct EmfHeader {
    QRectF frame;                 // hundredths of a millimetre
    int deviceWidth = 0, deviceHeight = 0;           // the reference device, pixels
    int millimetersWidth = 0, millimetersHeight = 0; // and millimetres
};

// The header of an EMF; raises GraphicError when the bytes are no EMF.
EmfHeader readEmfHeader(std::string_view bytes);

// Plays the metafile with its frame stretched over `target`. A damaged record
// ends the picture where it stands; a record that cannot be read is skipped.
void playEmf(std::string_view bytes, QPainter& painter, const QRectF& target);

} // namespace pemvora::report
