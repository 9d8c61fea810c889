// A small player of enhanced metafiles (EMF) onto a QPainter: the records
// that carry text, lines, rectangles, ellipses, polygons, fills and bitmaps,
// with pens, brushes, fonts, the mapping modes and the world transform.
// Every other record is skipped. Every record and every offset inside one is
// checked against the record's size before it is read.

#include "report/model/emf_player.h"

#include "platform/text/gbk.h"
#include "report/model/objects.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainterPath>
#include <QPolygonF>

#include <cstring>
#include <map>
#include <vector>

namespace pemvora::report {

namespace {

enum : std::uint32_t {
    EMR_HEADER = 1, EMR_POLYBEZIER = 2, EMR_POLYGON = 3, EMR_POLYLINE = 4, EMR_POLYBEZIERTO = 5,
    EMR_POLYLINETO = 6, EMR_POLYPOLYLINE = 7, EMR_POLYPOLYGON = 8, EMR_SETWINDOWEXTEX = 9,
    EMR_SETWINDOWORGEX = 10, EMR_SETVIEWPORTEXTEX = 11, EMR_SETVIEWPORTORGEX = 12, EMR_EOF = 14,
    EMR_SETMAPMODE = 17, EMR_SETBKMODE = 18, EMR_SETPOLYFILLMODE = 19, EMR_SETTEXTALIGN = 22,
    EMR_SETTEXTCOLOR = 24, EMR_SETBKCOLOR = 25, EMR_MOVETOEX = 27, EMR_SAVEDC = 33, EMR_RESTOREDC = 34,
    EMR_SETWORLDTRANSFORM = 35, EMR_MODIFYWORLDTRANSFORM = 36, EMR_SELECTOBJECT = 37, EMR_CREATEPEN = 38,
    EMR_CREATEBRUSHINDIRECT = 39, EMR_DELETEOBJECT = 40, EMR_ELLIPSE = 42, EMR_RECTANGLE = 43,
    EMR_ROUNDRECT = 44, EMR_LINETO = 54, EMR_BITBLT = 76, EMR_STRETCHBLT = 77, EMR_STRETCHDIBITS = 81,
    EMR_EXTCREATEFONTINDIRECTW = 82, EMR_EXTTEXTOUTA = 83, EMR_EXTTEXTOUTW = 84, EMR_POLYBEZIER16 = 85,
    EMR_POLYGON16 = 86, EMR_POLYLINE16 = 87, EMR_POLYBEZIERTO16 = 88, EMR_POLYLINETO16 = 89,
    EMR_POLYPOLYLINE16 = 90, EMR_POLYPOLYGON16 = 91, EMR_EXTCREATEPEN = 95,
};

constexpr std::size_t kMaxRecords = 1'000'000;
constexpr int kMaxSavedStates = 256;

// One record's bytes; reads past its end raise GraphicError.
class Record {
public:
    Record(std::uint32_t type, std::string_view bytes) : type(type), bytes_(bytes) {}
    std::uint32_t u32(std::size_t at) const
    {
        need(at, 4);
        std::uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(bytes_[at + i])) << (8 * i);
        return v;
    }
    std::int32_t i32(std::size_t at) const { return static_cast<std::int32_t>(u32(at)); }
    std::int16_t i16(std::size_t at) const
    {
        need(at, 2);
        return static_cast<std::int16_t>(static_cast<unsigned char>(bytes_[at])
                                         | (static_cast<unsigned char>(bytes_[at + 1]) << 8));
    }
    float f32(std::size_t at) const
    {
        const std::uint32_t v = u32(at);
        float f;
        std::memcpy(&f, &v, sizeof f);
        return f;
    }
    std::string_view bytes(std::size_t at, std::size_t n) const
    {
        need(at, n);
        return bytes_.substr(at, n);
    }
    std::size_t size() const { return bytes_.size(); }
    const std::uint32_t type;

private:
    void need(std::size_t at, std::size_t n) const
    {
        if (at > bytes_.size() || n > bytes_.size() - at) throw GraphicError("A metafile record is damaged");
    }
    std::string_view bytes_;
};

QColor colorRef(std::uint32_t c) { return QColor(int(c & 0xFF), int((c >> 8) & 0xFF), int((c >> 16) & 0xFF)); }

QRectF box(const Record& r, std::size_t at)
{
    return QRectF(QPointF(r.i32(at), r.i32(at + 4)), QPointF(r.i32(at + 8), r.i32(at + 12)));
}

struct GdiObject {
    enum class Kind { Pen, Brush, Font } kind = Kind::Pen;
    QPen pen;
    QBrush brush;
    QFont font;
    double fontHeight = 0;   // logical units; negative: the em height
    int escapement = 0;      // tenths of a degree
};

struct DcState {
    QPen pen{Qt::black, 0};
    QBrush brush{Qt::white};
    QFont font;
    double fontHeight = -12;
    int escapement = 0;
    QColor textColor = Qt::black;
    QColor backColor = Qt::white;
    bool opaque = true;
    std::uint32_t textAlign = 0;
    int mapMode = 1;
    QPointF windowOrg, viewportOrg;
    QSizeF windowExt{1, 1}, viewportExt{1, 1};
    QTransform world;
    QPointF current;
    Qt::FillRule fillRule = Qt::OddEvenFill;
};

class EmfPlayer {
public:
    EmfPlayer(QPainter& painter, const QTransform& deviceToTarget, double pixelsPerMm)
        : p_(painter), deviceToTarget_(deviceToTarget), pixelsPerMm_(pixelsPerMm)
    {
        applyState();
    }

    void play(const Record& r);
    bool ended = false;

private:
    QTransform pageTransform() const;
    void applyState();
    void selectObject(std::uint32_t handle);
    void stockObject(std::uint32_t index);
    std::vector<QPointF> points32(const Record& r, std::size_t countAt);
    std::vector<QPointF> points16(const Record& r, std::size_t countAt);
    void polyPoly(const Record& r, bool sixteen, bool closed);
    void text(const Record& r, bool wide);
    void bitmap(const Record& r);

    QPainter& p_;
    QTransform deviceToTarget_;
    double pixelsPerMm_;
    DcState s_;
    std::vector<DcState> saved_;
    std::map<std::uint32_t, GdiObject> objects_;
};

QTransform EmfPlayer::pageTransform() const
{
    const DcState& s = s_;
    double sx = 1, sy = 1;
    switch (s.mapMode) {
    case 2: sx = pixelsPerMm_ / 10; sy = -sx; break;              // 0.1 mm
    case 3: sx = pixelsPerMm_ / 100; sy = -sx; break;             // 0.01 mm
    case 4: sx = pixelsPerMm_ * 0.254; sy = -sx; break;           // 0.01 inch
    case 5: sx = pixelsPerMm_ * 0.0254; sy = -sx; break;          // 0.001 inch
    case 6: sx = pixelsPerMm_ * 25.4 / 1440; sy = -sx; break;     // twips
    case 7:
    case 8:
        if (s.windowExt.width() != 0 && s.windowExt.height() != 0) {
            sx = s.viewportExt.width() / s.windowExt.width();
            sy = s.viewportExt.height() / s.windowExt.height();
            if (s.mapMode == 7) {   // isotropic: the smaller scale both ways
                const double k = std::min(std::abs(sx), std::abs(sy));
                sx = sx < 0 ? -k : k;
                sy = sy < 0 ? -k : k;
            }
        }
        break;
    default: break;
    }
    QTransform t;
    t.translate(s.viewportOrg.x(), s.viewportOrg.y());
    t.scale(sx, sy);
    t.translate(-s.windowOrg.x(), -s.windowOrg.y());
    return t;
}

void EmfPlayer::applyState()
{
    p_.setTransform(s_.world * pageTransform() * deviceToTarget_);
    p_.setPen(s_.pen);
    p_.setBrush(s_.brush);
}

void EmfPlayer::stockObject(std::uint32_t index)
{
    switch (index) {
    case 0: s_.brush = QBrush(Qt::white); break;
    case 1: s_.brush = QBrush(QColor(0xC0, 0xC0, 0xC0)); break;
    case 2: s_.brush = QBrush(QColor(0x80, 0x80, 0x80)); break;
    case 3: s_.brush = QBrush(QColor(0x40, 0x40, 0x40)); break;
    case 4: s_.brush = QBrush(Qt::black); break;
    case 5: s_.brush = Qt::NoBrush; break;
    case 6: s_.pen = QPen(Qt::white, 0); break;
    case 7: s_.pen = QPen(Qt::black, 0); break;
    case 8: s_.pen = Qt::NoPen; break;
    default: break;   // stock fonts and palettes: keep the current ones
    }
}

void EmfPlayer::selectObject(std::uint32_t handle)
{
    if (handle & 0x80000000u) {
        stockObject(handle & 0x7FFFFFFFu);
    } else if (auto it = objects_.find(handle); it != objects_.end()) {
        const GdiObject& o = it->second;
        if (o.kind == GdiObject::Kind::Pen) s_.pen = o.pen;
        else if (o.kind == GdiObject::Kind::Brush) s_.brush = o.brush;
        else {
            s_.font = o.font;
            s_.fontHeight = o.fontHeight;
            s_.escapement = o.escapement;
        }
    }
    applyState();
}

std::vector<QPointF> EmfPlayer::points32(const Record& r, std::size_t countAt)
{
    const std::uint32_t n = r.u32(countAt);
    if (n > r.size() / 8) throw GraphicError("A metafile record is damaged");
    std::vector<QPointF> pts;
    pts.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) pts.emplace_back(r.i32(countAt + 4 + 8 * i), r.i32(countAt + 8 + 8 * i));
    return pts;
}

std::vector<QPointF> EmfPlayer::points16(const Record& r, std::size_t countAt)
{
    const std::uint32_t n = r.u32(countAt);
    if (n > r.size() / 4) throw GraphicError("A metafile record is damaged");
    std::vector<QPointF> pts;
    pts.reserve(n);
    for (std::uint32_t i = 0; i < n; ++i) pts.emplace_back(r.i16(countAt + 4 + 4 * i), r.i16(countAt + 6 + 4 * i));
    return pts;
}

void EmfPlayer::polyPoly(const Record& r, bool sixteen, bool closed)
{
    // type, size, bounds, number of polygons, total points, the counts, the points
    const std::uint32_t polys = r.u32(24);
    const std::uint32_t total = r.u32(28);
    if (polys > r.size() / 4 || total > r.size() / 4) throw GraphicError("A metafile record is damaged");
    const std::size_t pointsAt = 32 + 4 * std::size_t(polys);
    const std::size_t pointSize = sixteen ? 4 : 8;
    QPainterPath path;
    path.setFillRule(s_.fillRule);
    std::size_t next = 0;
    for (std::uint32_t k = 0; k < polys; ++k) {
        const std::uint32_t count = r.u32(32 + 4 * std::size_t(k));
        if (count > total - next) throw GraphicError("A metafile record is damaged");
        QPolygonF poly;
        for (std::uint32_t i = 0; i < count; ++i, ++next) {
            const std::size_t at = pointsAt + pointSize * next;
            poly << (sixteen ? QPointF(r.i16(at), r.i16(at + 2)) : QPointF(r.i32(at), r.i32(at + 4)));
        }
        if (closed) path.addPolygon(poly), path.closeSubpath();
        else p_.drawPolyline(poly);
    }
    if (closed) p_.drawPath(path);
}

void EmfPlayer::text(const Record& r, bool wide)
{
    // type, size, bounds (16), graphics mode, x and y scale, then the text record
    constexpr std::size_t t = 36;
    QPointF at(r.i32(t), r.i32(t + 4));
    const std::uint32_t chars = r.u32(t + 8);
    const std::uint32_t offString = r.u32(t + 12);
    const std::uint32_t options = r.u32(t + 16);
    if (chars > r.size()) throw GraphicError("A metafile record is damaged");
    const std::string_view raw = r.bytes(offString, wide ? 2 * std::size_t(chars) : chars);
    QString s;
    if (wide) {
        for (std::size_t i = 0; i < chars; ++i)
            s.append(QChar(char16_t(static_cast<unsigned char>(raw[2 * i]) | (static_cast<unsigned char>(raw[2 * i + 1]) << 8))));
    } else {
        s = text::toQString(raw);
    }
    if (s_.textAlign & 1) at = s_.current;   // update current position: start there

    QFont font = s_.font;
    const double h = std::abs(s_.fontHeight);
    if (h < 1) return;
    font.setPixelSize(std::max(1, int(h + 0.5)));
    const QFontMetricsF fm(font);
    // A positive height is the cell height: the em is the cell less its internal leading.
    if (s_.fontHeight > 0 && fm.height() > 0) {
        font.setPixelSize(std::max(1, int(h * h / fm.height() + 0.5)));
    }
    const QFontMetricsF metrics(font);
    const double width = metrics.horizontalAdvance(s);
    double dx = 0, dy = 0;
    const std::uint32_t horizontal = s_.textAlign & 6;
    if (horizontal == 6) dx = -width / 2;          // centre
    else if (horizontal == 2) dx = -width;         // right
    const std::uint32_t vertical = s_.textAlign & 24;
    if (vertical == 0) dy = metrics.ascent();      // top
    else if (vertical == 8) dy = -metrics.descent();   // bottom

    p_.save();
    if (options & 0x4) {   // clipped to the text rectangle
        const QRectF clip = box(r, t + 20);
        if (clip.isValid()) p_.setClipRect(clip, Qt::IntersectClip);
    }
    p_.translate(at);
    if (s_.escapement != 0) p_.rotate(-s_.escapement / 10.0);
    if (s_.opaque) p_.fillRect(QRectF(dx, dy - metrics.ascent(), width, metrics.height()), s_.backColor);
    p_.setFont(font);
    p_.setPen(s_.textColor);
    p_.drawText(QPointF(dx, dy), s);
    p_.restore();
    if (s_.textAlign & 1) s_.current = at + QPointF(width, 0);
}

void EmfPlayer::bitmap(const Record& r)
{
    // The destination and the offsets of the bitmap's header and bits differ by record.
    QRectF dest;
    std::uint32_t offBmi, cbBmi, offBits, cbBits;
    if (r.type == EMR_STRETCHDIBITS) {
        dest = QRectF(r.i32(24), r.i32(28), r.i32(72), r.i32(76));
        offBmi = r.u32(48);
        cbBmi = r.u32(52);
        offBits = r.u32(56);
        cbBits = r.u32(60);
    } else {
        dest = QRectF(r.i32(24), r.i32(28), r.i32(32), r.i32(36));
        offBmi = r.u32(84);
        cbBmi = r.u32(88);
        offBits = r.u32(92);
        cbBits = r.u32(96);
        if (cbBmi == 0) {   // no source: a pattern fill with the brush
            p_.fillRect(dest, s_.brush);
            return;
        }
    }
    const std::string_view info = r.bytes(offBmi, cbBmi);
    const std::string_view bits = r.bytes(offBits, cbBits);
    // A bitmap file made of the header and the bits.
    std::string file = "BM";
    const std::uint32_t fileSize = 14 + cbBmi + cbBits, dataAt = 14 + cbBmi;
    for (std::uint32_t v : {fileSize, 0u, dataAt})
        for (int i = 0; i < 4; ++i) file.push_back(static_cast<char>((v >> (8 * i)) & 0xFF));
    file.append(info);
    file.append(bits);
    QImage image;
    if (!image.loadFromData(reinterpret_cast<const uchar*>(file.data()), static_cast<int>(file.size()), "BMP")) return;
    p_.drawImage(dest, image);
}

void EmfPlayer::play(const Record& r)
{
    switch (r.type) {
    case EMR_EOF: ended = true; break;
    case EMR_SETMAPMODE: s_.mapMode = r.i32(8); applyState(); break;
    case EMR_SETWINDOWEXTEX: s_.windowExt = QSizeF(r.i32(8), r.i32(12)); applyState(); break;
    case EMR_SETWINDOWORGEX: s_.windowOrg = QPointF(r.i32(8), r.i32(12)); applyState(); break;
    case EMR_SETVIEWPORTEXTEX: s_.viewportExt = QSizeF(r.i32(8), r.i32(12)); applyState(); break;
    case EMR_SETVIEWPORTORGEX: s_.viewportOrg = QPointF(r.i32(8), r.i32(12)); applyState(); break;
    case EMR_SETWORLDTRANSFORM:
    case EMR_MODIFYWORLDTRANSFORM: {
        const QTransform x(r.f32(8), r.f32(12), r.f32(16), r.f32(20), r.f32(24), r.f32(28));
        const std::uint32_t mode = r.type == EMR_SETWORLDTRANSFORM ? 4 : r.u32(32);
        if (mode == 1) s_.world = QTransform();
        else if (mode == 2) s_.world = x * s_.world;
        else if (mode == 3) s_.world = s_.world * x;
        else if (mode == 4) s_.world = x;
        applyState();
        break;
    }
    case EMR_SETBKMODE: s_.opaque = r.u32(8) == 2; break;
    case EMR_SETPOLYFILLMODE: s_.fillRule = r.u32(8) == 2 ? Qt::WindingFill : Qt::OddEvenFill; break;
    case EMR_SETTEXTALIGN: s_.textAlign = r.u32(8); break;
    case EMR_SETTEXTCOLOR: s_.textColor = colorRef(r.u32(8)); break;
    case EMR_SETBKCOLOR: s_.backColor = colorRef(r.u32(8)); break;
    case EMR_MOVETOEX: s_.current = QPointF(r.i32(8), r.i32(12)); break;
    case EMR_LINETO: {
        const QPointF to(r.i32(8), r.i32(12));
        p_.drawLine(s_.current, to);
        s_.current = to;
        break;
    }
    case EMR_SAVEDC:
        if (saved_.size() < kMaxSavedStates) saved_.push_back(s_);
        break;
    case EMR_RESTOREDC: {
        const std::int32_t which = r.i32(8);
        const std::size_t back = which < 0 ? std::size_t(-static_cast<std::int64_t>(which)) : 0;
        if (back >= 1 && back <= saved_.size()) {
            s_ = saved_[saved_.size() - back];
            saved_.resize(saved_.size() - back);
            applyState();
        }
        break;
    }
    case EMR_CREATEPEN: {
        GdiObject o;
        const std::uint32_t style = r.u32(12) & 0x0F;
        o.pen = style == 5 ? QPen(Qt::NoPen) : QPen(colorRef(r.u32(24)), r.i32(16));
        if (style == 1) o.pen.setStyle(Qt::DashLine);
        else if (style == 2) o.pen.setStyle(Qt::DotLine);
        else if (style == 3) o.pen.setStyle(Qt::DashDotLine);
        else if (style == 4) o.pen.setStyle(Qt::DashDotDotLine);
        objects_[r.u32(8)] = o;
        break;
    }
    case EMR_EXTCREATEPEN: {
        GdiObject o;
        const std::uint32_t style = r.u32(28) & 0x0F;
        o.pen = style == 5 ? QPen(Qt::NoPen) : QPen(colorRef(r.u32(40)), r.i32(32));
        objects_[r.u32(8)] = o;
        break;
    }
    case EMR_CREATEBRUSHINDIRECT: {
        GdiObject o;
        o.kind = GdiObject::Kind::Brush;
        const std::uint32_t style = r.u32(12);
        if (style == 1) o.brush = Qt::NoBrush;
        else if (style == 2) o.brush = QBrush(colorRef(r.u32(16)), Qt::DiagCrossPattern);
        else o.brush = QBrush(colorRef(r.u32(16)));
        objects_[r.u32(8)] = o;
        break;
    }
    case EMR_EXTCREATEFONTINDIRECTW: {
        GdiObject o;
        o.kind = GdiObject::Kind::Font;
        o.fontHeight = r.i32(12);
        o.escapement = r.i32(20);
        const std::int32_t weight = r.i32(28);
        std::string_view face = r.bytes(40, 64);
        QString family;
        for (std::size_t i = 0; i + 1 < face.size(); i += 2) {
            const char16_t ch = char16_t(static_cast<unsigned char>(face[i]) | (static_cast<unsigned char>(face[i + 1]) << 8));
            if (ch == 0) break;
            family.append(QChar(ch));
        }
        o.font = QFont(family);
        o.font.setBold(weight >= 600);
        o.font.setItalic(r.bytes(32, 1)[0] != 0);
        o.font.setUnderline(r.bytes(33, 1)[0] != 0);
        o.font.setStrikeOut(r.bytes(34, 1)[0] != 0);
        o.font.setKerning(false);
        objects_[r.u32(8)] = o;
        break;
    }
    case EMR_SELECTOBJECT: selectObject(r.u32(8)); break;
    case EMR_DELETEOBJECT: objects_.erase(r.u32(8)); break;
    case EMR_RECTANGLE: p_.drawRect(box(r, 8)); break;
    case EMR_ROUNDRECT: p_.drawRoundedRect(box(r, 8), r.i32(24) / 2.0, r.i32(28) / 2.0); break;
    case EMR_ELLIPSE: p_.drawEllipse(box(r, 8)); break;
    case EMR_POLYGON:
    case EMR_POLYGON16: {
        const auto pts = r.type == EMR_POLYGON ? points32(r, 24) : points16(r, 24);
        p_.drawPolygon(pts.data(), int(pts.size()), s_.fillRule);
        break;
    }
    case EMR_POLYLINE:
    case EMR_POLYLINE16: {
        const auto pts = r.type == EMR_POLYLINE ? points32(r, 24) : points16(r, 24);
        p_.drawPolyline(pts.data(), int(pts.size()));
        break;
    }
    case EMR_POLYLINETO:
    case EMR_POLYLINETO16: {
        auto pts = r.type == EMR_POLYLINETO ? points32(r, 24) : points16(r, 24);
        pts.insert(pts.begin(), s_.current);
        p_.drawPolyline(pts.data(), int(pts.size()));
        s_.current = pts.back();
        break;
    }
    case EMR_POLYBEZIER:
    case EMR_POLYBEZIER16:
    case EMR_POLYBEZIERTO:
    case EMR_POLYBEZIERTO16: {
        const bool to = r.type == EMR_POLYBEZIERTO || r.type == EMR_POLYBEZIERTO16;
        auto pts = (r.type == EMR_POLYBEZIER || r.type == EMR_POLYBEZIERTO) ? points32(r, 24) : points16(r, 24);
        if (to) pts.insert(pts.begin(), s_.current);
        if (pts.empty()) break;
        QPainterPath path(pts[0]);
        for (std::size_t i = 1; i + 2 < pts.size(); i += 3) path.cubicTo(pts[i], pts[i + 1], pts[i + 2]);
        p_.strokePath(path, s_.pen);
        if (to) s_.current = pts.back();
        break;
    }
    case EMR_POLYPOLYLINE: polyPoly(r, false, false); break;
    case EMR_POLYPOLYLINE16: polyPoly(r, true, false); break;
    case EMR_POLYPOLYGON: polyPoly(r, false, true); break;
    case EMR_POLYPOLYGON16: polyPoly(r, true, true); break;
    case EMR_EXTTEXTOUTA: text(r, false); break;
    case EMR_EXTTEXTOUTW: text(r, true); break;
    case EMR_BITBLT:
    case EMR_STRETCHBLT:
    case EMR_STRETCHDIBITS: bitmap(r); break;
    default: break;   // not drawn
    }
}

} // namespace

EmfHeader readEmfHeader(std::string_view bytes)
{
    if (bytes.size() < 88) throw GraphicError("The metafile data is damaged");
    const Record header(1, bytes.substr(0, 88));
    if (header.u32(0) != EMR_HEADER || header.bytes(40, 4) != " EMF") throw GraphicError("The metafile data is damaged");
    EmfHeader h;
    h.frame = box(header, 24);
    h.deviceWidth = header.i32(72);
    h.deviceHeight = header.i32(76);
    h.millimetersWidth = header.i32(80);
    h.millimetersHeight = header.i32(84);
    if (h.frame.width() <= 0 || h.frame.height() <= 0) throw GraphicError("The metafile has no size");
    return h;
}

void playEmf(std::string_view bytes, QPainter& painter, const QRectF& target)
{
    const EmfHeader h = readEmfHeader(bytes);
    // Reference device pixels per millimetre; the frame is in hundredths of a millimetre.
    const double pxPerMmX = h.millimetersWidth > 0 && h.deviceWidth > 0 ? double(h.deviceWidth) / h.millimetersWidth : 96 / 25.4;
    const double pxPerMmY = h.millimetersHeight > 0 && h.deviceHeight > 0 ? double(h.deviceHeight) / h.millimetersHeight : 96 / 25.4;
    const QRectF frame(h.frame.left() * pxPerMmX / 100, h.frame.top() * pxPerMmY / 100,
                       h.frame.width() * pxPerMmX / 100, h.frame.height() * pxPerMmY / 100);
    QTransform toTarget;
    toTarget.translate(target.left(), target.top());
    toTarget.scale(target.width() / frame.width(), target.height() / frame.height());
    toTarget.translate(-frame.left(), -frame.top());

    painter.save();
    painter.setClipRect(target);
    EmfPlayer player(painter, toTarget, pxPerMmX);
    std::size_t at = 0;
    for (std::size_t n = 0; n < kMaxRecords && at + 8 <= bytes.size() && !player.ended; ++n) {
        const Record head(0, bytes.substr(at, 8));
        const std::uint32_t type = head.u32(0);
        const std::uint32_t size = head.u32(4);
        if (size < 8 || size % 4 != 0 || size > bytes.size() - at) break;   // damaged: stop here
        try {
            player.play(Record(type, bytes.substr(at, size)));
        } catch (const GraphicError&) {
            // A damaged record is skipped; the rest still draws.
        }
        at += size;
    }
    painter.restore();
}

} // namespace pemvora::report
