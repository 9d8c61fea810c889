// Windows metafiles through libwmf's player (libwmflite, no device layers of
// its own): the player reads the records, keeps the device context and maps
// coordinates; our device layer below draws what it hands over on a QPainter.

#include "report/model/wmf_player.h"

#include "platform/text/gbk.h"
#include "report/model/objects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainterPath>
#include <QPolygonF>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

extern "C" {
#include <libwmf/api.h>
#include <libwmf/defs.h>
#include <libwmf/ipa.h>
}

namespace pemvora::report {

namespace {

// What our device layer draws on, hung on the API's device data.
struct Device {
    QPainter* painter = nullptr;
    QTransform toTarget;   // the player's device units onto the target
};

Device& device(wmfAPI* api) { return *static_cast<Device*>(api->device_data); }
QPainter& painter(wmfAPI* api) { return *device(api).painter; }

QColor color(const wmfRGB& c) { return QColor(c.r, c.g, c.b); }
QPointF point(const wmfD_Coord& c) { return QPointF(c.x, c.y); }

QPen penOf(wmfDC* dc)
{
    const wmfPen* pen = dc->pen;
    if (!pen || (pen->lopnStyle & PS_STYLE_MASK) == PS_NULL) return Qt::NoPen;
    QPen p(color(pen->lopnColor), std::max(pen->width, 0.0));
    switch (pen->lopnStyle & PS_STYLE_MASK) {
    case PS_DASH: p.setStyle(Qt::DashLine); break;
    case PS_DOT: p.setStyle(Qt::DotLine); break;
    case 3: p.setStyle(Qt::DashDotLine); break;
    case 4: p.setStyle(Qt::DashDotDotLine); break;
    default: break;
    }
    if (pen->width <= 0) p.setCosmetic(true);
    return p;
}

QBrush brushOf(wmfDC* dc)
{
    const wmfBrush* brush = dc->brush;
    if (!brush || brush->lbStyle == BS_NULL) return Qt::NoBrush;
    if (brush->lbStyle == BS_HATCHED) return QBrush(color(brush->lbColor), Qt::DiagCrossPattern);
    if ((brush->lbStyle == BS_DIBPATTERN || brush->lbStyle == BS_DIBPATTERNPT || brush->lbStyle == 3)
        && brush->bmp.data)
        return QBrush(*static_cast<const QImage*>(brush->bmp.data));
    return QBrush(color(brush->lbColor));
}

void usePenAndBrush(wmfAPI* api, wmfDC* dc)
{
    painter(api).setPen(penOf(dc));
    painter(api).setBrush(brushOf(dc));
}

Qt::FillRule fillRule(wmfDC* dc) { return dc->polyfillmode == WINDING ? Qt::WindingFill : Qt::OddEvenFill; }

void deviceOpen(wmfAPI*) {}
void deviceClose(wmfAPI*) {}
void deviceBegin(wmfAPI* api) { painter(api).setTransform(device(api).toTarget); }
void deviceEnd(wmfAPI*) {}
void flood(wmfAPI*, wmfFlood_t*) {}   // flood fills depend on pixels already drawn: not done

void drawPixel(wmfAPI* api, wmfDrawPixel_t* d)
{
    painter(api).fillRect(QRectF(d->pt.x, d->pt.y, d->pixel_width, d->pixel_height), color(d->color));
}

// Angles of the start and end points of an arc, in Qt's sixteenths of a degree.
void arcAngles(const wmfDrawArc_t* d, int& start, int& span)
{
    const QPointF c((d->TL.x + d->BR.x) / 2, (d->TL.y + d->BR.y) / 2);
    const double a1 = std::atan2(-(d->start.y - c.y()), d->start.x - c.x()) * 180 / M_PI;
    double a2 = std::atan2(-(d->end.y - c.y()), d->end.x - c.x()) * 180 / M_PI;
    if (a2 <= a1) a2 += 360;
    start = int(std::lround(a1 * 16));
    span = int(std::lround((a2 - a1) * 16));
}

QRectF arcBox(const wmfDrawArc_t* d) { return QRectF(point(d->TL), point(d->BR)); }

void drawEllipse(wmfAPI* api, wmfDrawArc_t* d)
{
    usePenAndBrush(api, d->dc);
    painter(api).drawEllipse(arcBox(d));
}

void drawArc(wmfAPI* api, wmfDrawArc_t* d)
{
    int start, span;
    arcAngles(d, start, span);
    painter(api).setPen(penOf(d->dc));
    painter(api).drawArc(arcBox(d), start, span);
}

void drawPie(wmfAPI* api, wmfDrawArc_t* d)
{
    int start, span;
    arcAngles(d, start, span);
    usePenAndBrush(api, d->dc);
    painter(api).drawPie(arcBox(d), start, span);
}

void drawChord(wmfAPI* api, wmfDrawArc_t* d)
{
    int start, span;
    arcAngles(d, start, span);
    usePenAndBrush(api, d->dc);
    painter(api).drawChord(arcBox(d), start, span);
}

void drawLine(wmfAPI* api, wmfDrawLine_t* d)
{
    painter(api).setPen(penOf(d->dc));
    painter(api).drawLine(point(d->from), point(d->to));
}

QPolygonF polygon(const wmfD_Coord* pts, unsigned count)
{
    QPolygonF poly;
    poly.reserve(count);
    for (unsigned i = 0; i < count; ++i) poly << point(pts[i]);
    return poly;
}

void polyLine(wmfAPI* api, wmfPolyLine_t* d)
{
    painter(api).setPen(penOf(d->dc));
    painter(api).drawPolyline(polygon(d->pt, d->count));
}

void drawPolygon(wmfAPI* api, wmfPolyLine_t* d)
{
    usePenAndBrush(api, d->dc);
    painter(api).drawPolygon(polygon(d->pt, d->count), fillRule(d->dc));
}

void drawPolyPolygon(wmfAPI* api, wmfPolyPoly_t* d)
{
    QPainterPath path;
    path.setFillRule(fillRule(d->dc));
    for (unsigned i = 0; i < d->npoly; ++i) {
        if (!d->pt[i]) continue;
        path.addPolygon(polygon(d->pt[i], d->count[i]));
        path.closeSubpath();
    }
    usePenAndBrush(api, d->dc);
    painter(api).drawPath(path);
}

void drawRectangle(wmfAPI* api, wmfDrawRectangle_t* d)
{
    usePenAndBrush(api, d->dc);
    const QRectF r(point(d->TL), point(d->BR));
    if (d->width > 0 || d->height > 0) painter(api).drawRoundedRect(r, d->width / 2, d->height / 2);
    else painter(api).drawRect(r);
}

void ropDraw(wmfAPI* api, wmfROP_Draw_t* d)
{
    const QRectF r(point(d->TL), point(d->BR));
    if (d->ROP == WHITENESS) painter(api).fillRect(r, Qt::white);
    else if (d->ROP == BLACKNESS) painter(api).fillRect(r, Qt::black);
    else if (d->ROP == PATCOPY) painter(api).fillRect(r, brushOf(d->dc));
}

// The player hands over a device-independent bitmap without its file header.
void bmpRead(wmfAPI*, wmfBMP_Read_t* d)
{
    d->bmp.data = nullptr;
    if (!d->buffer || d->length <= 0) return;
    std::string file = "BM";
    const auto length = static_cast<std::uint32_t>(d->length);
    // The bits follow the header and its colour table.
    std::uint32_t headerSize = 0;
    if (length >= 4) headerSize = d->buffer[0] | (d->buffer[1] << 8) | (d->buffer[2] << 16) | (std::uint32_t(d->buffer[3]) << 24);
    std::uint32_t colours = 0;
    if (headerSize >= 40 && length >= 36) {
        const unsigned bits = d->buffer[14] | (d->buffer[15] << 8);
        colours = d->buffer[32] | (d->buffer[33] << 8) | (d->buffer[34] << 16) | (std::uint32_t(d->buffer[35]) << 24);
        if (colours == 0 && bits <= 8) colours = 1u << bits;
    }
    const std::uint32_t dataAt = 14 + headerSize + 4 * colours;
    for (std::uint32_t v : {14 + length, 0u, dataAt})
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    file.append(reinterpret_cast<const char*>(d->buffer), length);
    auto image = std::make_unique<QImage>();
    if (!image->loadFromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()), "BMP")) return;
    if (static_cast<long long>(image->width()) * image->height() > 16LL * 1024 * 1024) return;
    d->bmp.width = static_cast<U16>(image->width());
    d->bmp.height = static_cast<U16>(image->height());
    d->bmp.data = image.release();
}

void bmpFree(wmfAPI*, wmfBMP* bmp)
{
    delete static_cast<QImage*>(bmp->data);
    bmp->data = nullptr;
}

void bmpDraw(wmfAPI* api, wmfBMP_Draw_t* d)
{
    if (!d->bmp.data) return;
    const QImage& image = *static_cast<const QImage*>(d->bmp.data);
    const QRect source(d->crop.x, d->crop.y, d->crop.w, d->crop.h);
    const QRectF target(d->pt.x, d->pt.y, d->crop.w * d->pixel_width, d->crop.h * d->pixel_height);
    // Bitmap rows run bottom-up in the metafile; the crop is counted from the bottom.
    const QRect flipped(source.x(), image.height() - source.y() - source.height(), source.width(), source.height());
    painter(api).drawImage(target, image, flipped);
}

QFont qfontOf(const wmfFont* f, double pixelHeight)
{
    QFont font(f && f->lfFaceName ? text::toQString(f->lfFaceName) : QStringLiteral("Arial"));
    font.setPixelSize(std::max(1, int(std::lround(pixelHeight))));
    if (f) {
        font.setBold(f->lfWeight >= 600);
        font.setItalic(f->lfItalic != 0);
        font.setUnderline(f->lfUnderline != 0);
        font.setStrikeOut(f->lfStrikeOut != 0);
    }
    font.setKerning(false);
    return font;
}

void drawText(wmfAPI* api, wmfDrawText_t* d)
{
    if (!d->str || d->font_height <= 0) return;
    QPainter& p = painter(api);
    // The player gives the height in device units; a huge font here would be a damaged file.
    const double height = std::min(d->font_height, 1.0e5);
    // Text in a metafile is in the code page of its font: GBK for Chinese text.
    const QString s = text::toQString(d->str);
    const QFont font = qfontOf(d->dc->font, height);
    p.save();
    p.translate(point(d->pt));
    if (d->dc->font && d->dc->font->lfEscapement != 0) p.rotate(-d->dc->font->lfEscapement / 10.0);
    p.setFont(font);
    p.setPen(color(d->dc->textcolor));
    p.drawText(QPointF(0, 0), s);
    p.restore();
}

void udataNone(wmfAPI*, wmfUserData_t*) {}

void regionFrame(wmfAPI* api, wmfPolyRectangle_t* d)
{
    QPainter& p = painter(api);
    p.setPen(Qt::NoPen);
    p.setBrush(brushOf(d->dc));
    for (unsigned i = 0; i < d->count; ++i) {
        const QRectF r(point(d->TL[i]), point(d->BR[i]));
        p.drawRect(QRectF(r.left(), r.top(), r.width(), d->height));
        p.drawRect(QRectF(r.left(), r.bottom() - d->height, r.width(), d->height));
        p.drawRect(QRectF(r.left(), r.top(), d->width, r.height()));
        p.drawRect(QRectF(r.right() - d->width, r.top(), d->width, r.height()));
    }
}

void regionPaint(wmfAPI* api, wmfPolyRectangle_t* d)
{
    for (unsigned i = 0; i < d->count; ++i)
        painter(api).fillRect(QRectF(point(d->TL[i]), point(d->BR[i])), brushOf(d->dc));
}

void regionClip(wmfAPI*, wmfPolyRectangle_t*) {}   // clip regions are not applied: everything is drawn

// libwmflite asks the font layer for widths of text in a 1-point font.
float stringWidth(wmfAPI*, wmfFont* font, char* str)
{
    if (!str) return 0;
    const QFont f = qfontOf(font, 100);
    return static_cast<float>(QFontMetricsF(f).horizontalAdvance(text::toQString(str)) / 100.0);
}

void fontMap(wmfAPI*, wmfFont*) {}

void installDeviceLayer(wmfAPI* api)
{
    auto* fr = static_cast<wmfFunctionReference*>(api->function_reference);
    fr->device_open = deviceOpen;
    fr->device_close = deviceClose;
    fr->device_begin = deviceBegin;
    fr->device_end = deviceEnd;
    fr->flood_interior = flood;
    fr->flood_exterior = flood;
    fr->draw_pixel = drawPixel;
    fr->draw_pie = drawPie;
    fr->draw_chord = drawChord;
    fr->draw_arc = drawArc;
    fr->draw_ellipse = drawEllipse;
    fr->draw_line = drawLine;
    fr->poly_line = polyLine;
    fr->draw_polygon = drawPolygon;
    fr->draw_polypolygon = drawPolyPolygon;
    fr->draw_rectangle = drawRectangle;
    fr->rop_draw = ropDraw;
    fr->bmp_draw = bmpDraw;
    fr->bmp_read = bmpRead;
    fr->bmp_free = bmpFree;
    fr->draw_text = drawText;
    fr->udata_init = udataNone;
    fr->udata_copy = udataNone;
    fr->udata_set = udataNone;
    fr->udata_free = udataNone;
    fr->region_frame = regionFrame;
    fr->region_paint = regionPaint;
    fr->region_clip = regionClip;
}

// One libwmf session over the bytes, with its bounds scanned.
class WmfSession {
public:
    explicit WmfSession(std::string_view bytes) : bytes_(bytes)
    {
        // The player sets aside room for the largest record the header
        // announces before it reads one: a record cannot be longer than the file.
        if (!largestRecordFits(bytes_)) fail();
        wmfAPI_Options options{};
        options.function = installDeviceLayer;
        const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG;
        if (wmf_lite_create(&api_, flags, &options) != wmf_E_None || !api_) {
            api_ = nullptr;
            throw GraphicError("The metafile cannot be read");
        }
        api_->device_data = &device_;
        fontData_.map = fontMap;
        fontData_.stringwidth = stringWidth;
        api_->font_data = &fontData_;
        // A constructor that throws gets no destructor: the session is let go here.
        try {
            if (wmf_mem_open(api_, reinterpret_cast<unsigned char*>(bytes_.data()), static_cast<long>(bytes_.size()))
                    != wmf_E_None
                || wmf_scan(api_, 0, &bounds_) != wmf_E_None)
                fail();
            if (!(bounds_.BR.x > bounds_.TL.x && bounds_.BR.y > bounds_.TL.y)) fail();
        } catch (...) {
            release();
            throw;
        }
    }
    ~WmfSession() { release(); }
    WmfSession(const WmfSession&) = delete;
    WmfSession& operator=(const WmfSession&) = delete;

    Size size()
    {
        unsigned int w = 0, h = 0;
        if (wmf_display_size(api_, &w, &h, 96, 96) != wmf_E_None || w == 0 || h == 0) fail();
        return {static_cast<int>(w), static_cast<int>(h)};
    }

    void play(QPainter& p, const QRectF& target)
    {
        const QRectF frame = pictureFrame();
        device_.painter = &p;
        device_.toTarget = QTransform();
        device_.toTarget.translate(target.left(), target.top());
        device_.toTarget.scale(target.width() / frame.width(), target.height() / frame.height());
        device_.toTarget.translate(-frame.left(), -frame.top());
        p.save();
        p.setClipRect(target);
        const wmf_error_t err = wmf_play(api_, 0, &bounds_);
        p.restore();
        device_.painter = nullptr;
        if (err != wmf_E_None && err != wmf_E_Glitch) fail();
    }

private:
    [[noreturn]] void fail() { throw GraphicError("The metafile data is damaged"); }

    // The standard header follows the 22-byte placeable one when there is one;
    // its largest record, in 16-bit words, lies at offset 12.
    static bool largestRecordFits(std::string_view bytes)
    {
        const std::size_t header = bytes.size() >= 4 && bytes.compare(0, 4, "\xD7\xCD\xC6\x9A") == 0 ? 22 : 0;
        if (bytes.size() < header + 18) return false;
        std::uint64_t words = 0;
        for (int i = 3; i >= 0; --i) words = (words << 8) | static_cast<unsigned char>(bytes[header + 12 + std::size_t(i)]);
        return words * 2 <= bytes.size();
    }

    void release()
    {
        if (!api_) return;
        api_->device_data = nullptr;
        api_->font_data = nullptr;
        wmf_lite_destroy(api_);
        api_ = nullptr;
    }

    // The whole picture in the player's device units (points, from the top
    // left of the picture): a placeable file's box; otherwise the extent of
    // what it draws.
    QRectF pictureFrame() const
    {
        auto i16 = [&](std::size_t at) {
            return static_cast<std::int16_t>(static_cast<unsigned char>(bytes_[at]) | (static_cast<unsigned char>(bytes_[at + 1]) << 8));
        };
        const bool placeable = bytes_.size() >= 22 && bytes_.compare(0, 4, "\xD7\xCD\xC6\x9A") == 0;
        if (placeable) {
            const double inch = static_cast<std::uint16_t>(i16(14));
            const double w = i16(10) - i16(6), h = i16(12) - i16(8);
            if (inch > 0 && w > 0 && h > 0) return QRectF(0, 0, w * 72 / inch, h * 72 / inch);
        }
        return QRectF(QPointF(bounds_.TL.x, bounds_.TL.y), QPointF(bounds_.BR.x, bounds_.BR.y));
    }

    std::string bytes_;   // libwmf wants writable bytes
    wmfAPI* api_ = nullptr;
    Device device_;
    wmfFontData fontData_{};
    wmfD_Rect bounds_{};
};

} // namespace

Size wmfSize(std::string_view bytes) { return WmfSession(bytes).size(); }

void playWmf(std::string_view bytes, QPainter& painter, const QRectF& target) { WmfSession(bytes).play(painter, target); }

} // namespace pemvora::report
