#include "report/model/metafile.h"

#include "report/model/emf_player.h"
#include "report/model/objects.h"
#include "report/model/wmf_player.h"

#include <QPainter>

#include <cmath>
#include <cstdint>

namespace pemvora::report {

namespace {

bool isEmf(std::string_view b)
{
    return b.size() >= 88 && static_cast<unsigned char>(b[0]) == 1 && b[1] == 0 && b[2] == 0 && b[3] == 0
        && b.substr(40, 4) == " EMF";
}

} // namespace

Size metafileSize(std::string_view bytes)
{
    if (!isEmf(bytes)) return wmfSize(bytes);
    const EmfHeader h = readEmfHeader(bytes);
    return {static_cast<int>(std::lround(h.frame.width() * 96 / 2540)),
            static_cast<int>(std::lround(h.frame.height() * 96 / 2540))};
}

QImage renderMetafile(std::string_view bytes, int width, int height, long long maxPixels)
{
    if (width <= 0 || height <= 0) return {};
    double k = 1.0;
    const double pixels = double(width) * height;
    if (pixels > double(maxPixels)) k = std::sqrt(double(maxPixels) / pixels);
    const int w = std::max(1, static_cast<int>(width * k)), h = std::max(1, static_cast<int>(height * k));
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    if (image.isNull()) throw GraphicError("The picture is too large");
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    const QRectF target(0, 0, w, h);
    if (isEmf(bytes)) playEmf(bytes, painter, target);
    else playWmf(bytes, painter, target);
    painter.end();
    return image;
}

} // namespace pemvora::report
