#pragma once
// Windows metafiles (WMF, with or without the placeable header) played onto a
// QPainter through libwmf's player (libwmflite) with a device layer of our own.

#include "report/canvas/canvas.h"

#include <QPainter>
#include <QRectF>

#include <string_view>

namespace pemvora::report {

// The picture's size in pixels at 96 pixels per inch; GraphicError when the
// bytes are no metafile libwmf can read.
Size wmfSize(std::string_view bytes);

// Plays the metafile with its bounds stretched over `target`.
void playWmf(std::string_view bytes, QPainter& painter, const QRectF& target);

} // namespace pemvora::report
