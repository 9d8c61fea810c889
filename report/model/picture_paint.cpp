// How a picture object draws its graphic, and loading it from a database field.

#include "report/model/engine_context.h"
#include "report/model/metafile.h"
#include "report/model/objects.h"
#include "report/model/picture_codec.h"

#include "platform/value/numbertext.h"
#include "report/data/dataset.h"

#include <QImage>
#include <QPainter>

#include <algorithm>
#include <functional>

namespace pemvora::report {

struct DecodedPicture {
    std::size_t key = 0;
    bool failed = false;      // the data is no graphic of its kind
    QImage image;             // bitmaps, icons and JPEG images
    Size size;                // the picture's own size in pixels
};

namespace {

int roundi(double x) { return static_cast<int>(roundHalfEven(x)); }

std::size_t keyOf(const TfrPicture& p)
{
    return std::hash<std::string>{}(p.Data) ^ (static_cast<std::size_t>(p.Kind) * 0x9E3779B97F4A7C15ull);
}

// Past this many pixels a metafile is drawn at a lower resolution and stretched.
constexpr long long kMaxMetafileRaster = 16LL * 1024 * 1024;

// The small picture the designer shows in an empty picture object.
const QImage& emptyPictureGlyph()
{
    static const QImage glyph = [] {
        QImage img(16, 14, QImage::Format_RGB32);
        img.fill(Qt::white);
        QPainter p(&img);
        p.setPen(QColor(0x80, 0x80, 0x80));
        p.drawRect(0, 0, 15, 13);
        p.fillRect(1, 1, 14, 7, QColor(0xA6, 0xCA, 0xF0));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0x00, 0x80, 0x00));
        const QPoint hill[] = {{1, 12}, {6, 5}, {10, 9}, {12, 7}, {14, 12}};
        p.drawPolygon(hill, 5);
        p.setBrush(QColor(0xFF, 0xD0, 0x00));
        p.drawEllipse(10, 2, 3, 3);
        return img;
    }();
    return glyph;
}

void drawUndecodable(Canvas& c, const Rect& r)
{
    if (r.width() < 1 || r.height() < 1) return;
    c.setPen({kBlack, 1, PenStyle::Solid});
    c.setBrush({kNoColor, BrushStyle::Clear});
    c.rectangle(r);
    c.line(r.left, r.top, r.right, r.bottom);
    c.line(r.right - 1, r.top, r.left - 1, r.bottom);
}

// A bitmap prefixed with a database's own header: the bytes from the bitmap
// file header on (a "BM" whose size field fits what follows), or the bytes
// unchanged when there is none.
std::string_view skipBlobHeader(std::string_view bytes)
{
    constexpr std::size_t kSearch = 512;
    for (std::size_t at = 0; at + 14 <= bytes.size() && at < kSearch; ++at) {
        if (bytes[at] != 'B' || bytes[at + 1] != 'M') continue;
        std::uint32_t size = 0;
        for (int i = 0; i < 4; ++i) size |= std::uint32_t(static_cast<unsigned char>(bytes[at + 2 + i])) << (8 * i);
        if (size >= 26 && size <= bytes.size() - at) return bytes.substr(at);
    }
    return bytes;
}

} // namespace

Rect pictureTarget(const Rect& paintRect, int width, int height, Size picture, std::uint16_t flags, double sx, double sy)
{
    Rect r = paintRect;
    if (flags & flag::Stretched) {
        if ((flags & flag::KeepAspect) && picture.width > 0 && picture.height > 0) {
            const double kx = double(width) / picture.width;
            const double ky = double(height) / picture.height;
            if (kx >= ky) r.right = r.left + roundi(picture.width * ky);
            else r.bottom = r.top + roundi(picture.height * kx);
            if (flags & flag::Center) {
                const int dx = (paintRect.width() - r.width()) / 2;
                const int dy = (paintRect.height() - r.height()) / 2;
                r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
            }
        }
        return r;
    }
    r.right = r.left + roundi(picture.width * sx);
    r.bottom = r.top + roundi(picture.height * sy);
    if (flags & flag::Center) {
        const int dx = (paintRect.width() - r.width()) / 2;
        const int dy = (paintRect.height() - r.height()) / 2;
        r = {r.left + dx, r.top + dy, r.right + dx, r.bottom + dy};
    }
    return r;
}

const DecodedPicture& TfrPictureView::decoded() const
{
    const std::size_t key = keyOf(Picture);
    if (decoded_ && decoded_->key == key) return *decoded_;
    auto d = std::make_shared<DecodedPicture>();
    d->key = key;
    try {
        if (Picture.Kind == GraphicKind::Metafile) {
            d->size = metafileSize(Picture.Data);
        } else {
            d->image = decodeGraphic(Picture.Kind, Picture.Data);
            d->size = {d->image.width(), d->image.height()};
        }
    } catch (const GraphicError&) {
        d->failed = true;
    }
    decoded_ = std::move(d);
    return *decoded_;
}

void TfrPictureView::Paint(Canvas& target)
{
    ApplyBandAlign(&target);
    DeviceGeometry device(*this);
    PaintFill();
    Canvas& c = target;
    const bool running = engine().Running != 0;

    if (!Picture.IsEmpty()) {
        const DecodedPicture& picture = decoded();
        if (picture.failed || picture.size.width <= 0 || picture.size.height <= 0) {
            drawUndecodable(c, PaintRect);
        } else {
            const Rect to = pictureTarget(PaintRect, Width, Height, picture.size, Flags, DeviceScaleX, DeviceScaleY);
            // A picture larger than its object stays inside it.
            const std::optional<Rect> savedClip = c.clipRect();
            Rect clip = PaintRect;
            if (savedClip)
                clip = {std::max(clip.left, savedClip->left), std::max(clip.top, savedClip->top),
                        std::min(clip.right, savedClip->right), std::min(clip.bottom, savedClip->bottom)};
            c.setClipRect(clip);
            if (Picture.Kind == GraphicKind::Metafile) {
                try {
                    c.drawImage(to, renderMetafile(Picture.Data, to.width(), to.height(), kMaxMetafileRaster));
                } catch (const GraphicError&) {
                    drawUndecodable(c, PaintRect);
                }
            } else if (c.isPrinter() && picture.image.hasAlphaChannel()) {
                // Printers get plain 24-bit colour; an icon's transparent parts print white.
                QImage flat(picture.image.size(), QImage::Format_RGB32);
                flat.fill(Qt::white);
                QPainter p(&flat);
                p.drawImage(0, 0, picture.image);
                p.end();
                c.drawImage(to, flat);
            } else {
                c.drawImage(to, picture.image);
            }
            c.setClipRect(savedClip);
        }
    } else if (!running) {
        Font f;
        f.name = "Arial";
        f.height = fontPixelHeight(8, 96);
        f.color = kBlack;
        c.setFont(f);
        c.setBackgroundMode(BackgroundMode::Transparent);
        c.textRect(PaintRect, Left + 20, Top + 3, "[Picture]");
        const QImage& glyph = emptyPictureGlyph();
        const std::optional<Rect> savedClip = c.clipRect();
        c.setClipRect(PaintRect);
        c.drawImage({Left + 1, Top + 2, Left + 1 + glyph.width(), Top + 2 + glyph.height()}, glyph);
        c.setClipRect(savedClip);
    }
    PaintBorder();
}

void TfrPictureView::LoadFromBlobField(const IDataSet& data, int field)
{
    const Value v = data.fieldValue(field);
    if (v.isEmptyOrNull()) {
        Picture.Clear();
        return;
    }
    std::string_view bytes = v.isString() ? std::string_view(v.string()) : std::string_view();
    static constexpr GraphicKind kByBlobType[] = {GraphicKind::Bitmap, GraphicKind::Jpeg, GraphicKind::Icon,
                                                  GraphicKind::Metafile};
    const GraphicKind kind = BlobType < 4 ? kByBlobType[BlobType] : GraphicKind::Bitmap;
    if (kind == GraphicKind::Bitmap) bytes = skipBlobHeader(bytes);
    // The bytes are kept as they are: data that does not decode draws as an
    // empty box with a cross, and the run goes on.
    Picture.Kind = kind;
    Picture.Data.assign(bytes);
    if (Picture.Data.empty()) Picture.Clear();
}

} // namespace pemvora::report
