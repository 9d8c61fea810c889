#pragma once
// Metafiles a picture object holds: Windows metafiles (WMF, with or without
// the placeable header) and enhanced metafiles (EMF). Their bytes come from
// template files and database fields, so every record is bounds-checked and
// damaged data raises GraphicError.

#include "report/canvas/canvas.h"

#include <QImage>

#include <string_view>

namespace pemvora::report {

// The picture's own size in pixels at 96 pixels per inch (its bounds).
Size metafileSize(std::string_view bytes);

// The metafile drawn stretched over an image of width x height pixels with a
// transparent background. A size above maxPixels is drawn smaller, keeping
// its proportions (the caller stretches the image).
QImage renderMetafile(std::string_view bytes, int width, int height, long long maxPixels);

} // namespace pemvora::report
