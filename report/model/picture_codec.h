#pragma once
// Decoding the graphic bytes a picture object keeps: JPEG through libjpeg,
// bitmaps and icons through Qt. A metafile is kept as bytes and not decoded
// here. Decoding never trusts the bytes: damaged data raises GraphicError.

#include "report/model/objects.h"

#include <QImage>

#include <string_view>

namespace pemvora::report {

// The largest picture we decode, in pixels (width x height).
inline constexpr long long kMaxGraphicPixels = 16LL * 1024 * 1024;

// The image of a graphic; a null image for a metafile. Raises GraphicError
// when the bytes are not a graphic of that kind.
QImage decodeGraphic(GraphicKind kind, std::string_view bytes);

// A JPEG file decoded with libjpeg: RGB32 (CMYK and YCCK files converted), or
// Grayscale8 for grey images.
QImage decodeJpeg(std::string_view bytes);

} // namespace pemvora::report
