#include "report/canvas/painter_canvas.h"

#include "platform/text/gbk.h"
#include "report/canvas/fontmap.h"

#include <QFontMetrics>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <numeric>
#include <optional>

namespace pemvora::report {

namespace {

// Coordinates and sizes are held within 2^28 pixels of the origin: far
// beyond any page, yet leaving room for the sums that follow (in Qt too).
constexpr long long kCoordinateLimit = 1LL << 28;

QColor toQColor(Color c)
{
    const Color v = resolveColor(c);
    return QColor(int(v & 0xFF), int((v >> 8) & 0xFF), int((v >> 16) & 0xFF));
}

QRect toQRect(const Rect& r) { return QRect(r.left, r.top, r.width(), r.height()); }

std::optional<Rect> intersection(std::optional<Rect> a, const Rect& b)
{
    if (!a) return b;
    Rect r{std::max(a->left, b.left), std::max(a->top, b.top), std::min(a->right, b.right),
           std::min(a->bottom, b.bottom)};
    if (r.isEmpty()) r = Rect{r.left, r.top, r.left, r.top};
    return r;
}

// Lines longer than this along their longer axis are cut to what can be seen.
constexpr long long kLongLine = 1 << 16;

struct LinePart {
    double start;   // where the part begins on the whole line, 0 to 1
    int x1, y1, x2, y2;
};

// The part of the line inside `area` grown by `margin` pixels on every side
// (Liang-Barsky), or nothing when the line misses it.
std::optional<LinePart> visiblePart(const Rect& area, double margin, int x1, int y1, int x2, int y2)
{
    if (area.isEmpty()) return std::nullopt;
    const double left = double(area.left) - margin, right = double(area.right) + margin;
    const double top = double(area.top) - margin, bottom = double(area.bottom) + margin;
    const double ex = double(x2) - x1, ey = double(y2) - y1;
    double t0 = 0, t1 = 1;
    const auto cut = [&](double p, double q) {
        if (p == 0) return q >= 0;
        const double t = q / p;
        if (p < 0) t0 = std::max(t0, t);
        else t1 = std::min(t1, t);
        return t0 <= t1;
    };
    if (!(cut(-ex, x1 - left) && cut(ex, right - x1) && cut(-ey, y1 - top) && cut(ey, bottom - y1)))
        return std::nullopt;
    const auto at = [](int from, double delta, double t) { return static_cast<int>(std::lround(from + delta * t)); };
    return LinePart{t0, at(x1, ex, t0), at(y1, ey, t0), at(x1, ex, t1), at(y1, ey, t1)};
}

bool isBreakChar(QChar c) { return c == QLatin1Char(' ') || c == QChar(0x00A0); }

// Whether pixel number `n` of a dashed line is drawn (pattern: on, off, ...).
bool patternOn(std::span<const int> pattern, std::size_t n)
{
    const int total = std::accumulate(pattern.begin(), pattern.end(), 0);
    int pos = int(n % std::size_t(total));
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pos < pattern[i]) return i % 2 == 0;
        pos -= pattern[i];
    }
    return true;
}

// Widths and positions of damaged or extreme text (a char spacing of a
// billion pixels) add up in 64 bits and are held to the int range.
int clampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -kCoordinateLimit, kCoordinateLimit));
}

long long sumOf(const std::vector<int>& widths) { return std::accumulate(widths.begin(), widths.end(), 0LL); }

} // namespace

PainterCanvas::PainterCanvas(QPainter& painter, int dpiX, int dpiY, std::optional<Rect> bounds, bool printer)
    : painter_(painter), dpiX_(dpiX), dpiY_(dpiY), bounds_(bounds), printer_(printer)
{
    painter_.setRenderHint(QPainter::Antialiasing, false);
    painter_.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter_.setRenderHint(QPainter::TextAntialiasing, true);
    if (painter_.hasClipping()) deviceClip_ = painter_.clipRegion();
    updateQFont();
}

std::unique_ptr<PainterCanvas> PainterCanvas::forImage(QPainter& painter, const QImage& image)
{
    auto dpi = [](int dotsPerMeter) { return dotsPerMeter > 0 ? int(std::lround(dotsPerMeter * 0.0254)) : 96; };
    return std::make_unique<PainterCanvas>(painter, dpi(image.dotsPerMeterX()), dpi(image.dotsPerMeterY()),
                                           Rect{0, 0, image.width(), image.height()});
}

void PainterCanvas::setBrush(const Brush& brush)
{
    brush_ = brush;
    if (brush_.color == kNoColor) brush_.style = BrushStyle::Clear;
    if (brush_.style == BrushStyle::Solid) {
        backgroundColor_ = brush_.color;
        backgroundMode_ = BackgroundMode::Opaque;
    } else {
        backgroundMode_ = BackgroundMode::Transparent;
    }
}

void PainterCanvas::setFont(const Font& font)
{
    font_ = font;
    updateQFont();
}

void PainterCanvas::setCharSpacing(int pixels)
{
    // Beyond a page's width per character spacing means nothing; bounded, the
    // widths of long texts still add up within range.
    constexpr int kMaxCharSpacing = 100000;
    charSpacing_ = std::clamp(pixels, -kMaxCharSpacing, kMaxCharSpacing);
    updateQFont();
}

void PainterCanvas::updateQFont()
{
    qfont_ = toQFont(font_, 0);   // char spacing is placed by hand
    glyphFont_ = qfont_;
    glyphFont_.setUnderline(false);
    glyphFont_.setStrikeOut(false);
    advanceCache_.clear();
}

void PainterCanvas::setTextJustification(int extraPixels, int breakCount)
{
    justifyExtra_ = breakCount > 0 ? extraPixels : 0;
    justifyBreaks_ = breakCount > 0 ? breakCount : 0;
}

void PainterCanvas::setClipRect(std::optional<Rect> clip)
{
    clip_ = clip;
    applyClip();
}

void PainterCanvas::applyClip()
{
    if (deviceClip_) {
        painter_.setClipRegion(*deviceClip_);
        if (clip_) painter_.setClipRect(toQRect(*clip_), Qt::IntersectClip);
    } else if (clip_) {
        painter_.setClipRect(toQRect(*clip_));
    } else {
        painter_.setClipping(false);
    }
}

bool PainterCanvas::isVisible(const Rect& r) const
{
    std::optional<Rect> area = bounds_;
    if (clip_) area = intersection(area, *clip_);
    if (r.isEmpty() || (area && !area->intersects(r))) return false;
    return !deviceClip_ || deviceClip_->intersects(toQRect(r));
}

// ---------------------------------------------------------------- lines and areas

void PainterCanvas::fillPixels(int x, int y, int w, int h, Color c)
{
    if (w <= 0 || h <= 0) return;
    painter_.fillRect(QRect(x, y, w, h), toQColor(c));
}

void PainterCanvas::moveTo(int x, int y)
{
    position_ = {x, y};
    patternPos_ = 0;
}

void PainterCanvas::lineTo(int x, int y)
{
    drawLinePixels(position_.x, position_.y, x, y);
    position_ = {x, y};
}

void PainterCanvas::drawLinePixels(int x1, int y1, int x2, int y2)
{
    if (pen_.style == PenStyle::Clear) return;
    const int w = std::max(1, pen_.width);
    const std::span<const int> pattern = w == 1 ? penPattern(pen_.style) : std::span<const int>{};
    const bool opaqueGaps = backgroundMode_ == BackgroundMode::Opaque;
    const int lo = -(w / 2);   // offsets across the line: lo .. lo + w - 1

    // A line longer than any device (from a damaged file, say) is cut to the
    // part that can be seen before it is walked: pixel by pixel it would take
    // minutes. The dash pattern goes on as if the whole line had been drawn.
    const long long steps = std::max(std::llabs(static_cast<long long>(x2) - x1),
                                     std::llabs(static_cast<long long>(y2) - y1));
    struct PatternAfterCut {
        std::size_t& pos;
        std::size_t end;
        bool cut = false;
        ~PatternAfterCut()
        {
            if (cut) pos = end;
        }
    } after{patternPos_, patternPos_ + static_cast<std::size_t>(steps)};
    std::optional<Rect> area = bounds_;
    if (!area && painter_.device() != nullptr)
        area = Rect{0, 0, painter_.device()->width(), painter_.device()->height()};
    if (clip_) area = intersection(area, *clip_);
    // A line wholly outside what can be seen (one of the many one-pixel lines
    // of a very wide dashed frame, say) is passed over at once.
    if (area) {
        const long long reach = static_cast<long long>(w) + 2;
        const bool apart = std::max<long long>(x1, x2) + reach < area->left ||
                           std::min<long long>(x1, x2) - reach >= area->right ||
                           std::max<long long>(y1, y2) + reach < area->top ||
                           std::min<long long>(y1, y2) - reach >= area->bottom;
        if (apart) {
            after.cut = true;
            return;
        }
    }
    if (steps > kLongLine) {
        after.cut = true;
        const auto seen = area ? visiblePart(*area, double(w) + 2, x1, y1, x2, y2) : std::nullopt;
        if (!seen) return;
        patternPos_ += static_cast<std::size_t>(std::llround(seen->start * double(steps)));
        x1 = seen->x1, y1 = seen->y1, x2 = seen->x2, y2 = seen->y2;
    }

    const int dx = std::abs(x2 - x1), dy = std::abs(y2 - y1);
    const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
    const int count = std::max(dx, dy);   // pixels drawn: the last one is left out
    if (count == 0) return;

    if (dy == 0 || dx == 0) {
        // Axis-aligned: spans of equal state, one rectangle each.
        const bool horizontal = dy == 0;
        auto flush = [&](int from, int n, bool on) {
            if (n <= 0 || (!on && !opaqueGaps)) return;
            const Color c = on ? pen_.color : backgroundColor_;
            const int a = (horizontal ? (sx > 0 ? x1 + from : x1 - from - n + 1)
                                               : (sy > 0 ? y1 + from : y1 - from - n + 1));
            if (horizontal)
                fillPixels(a, y1 + lo, n, w, c);
            else
                fillPixels(x1 + lo, a, w, n, c);
        };
        if (pattern.empty()) {
            flush(0, count, true);
        } else {
            int runStart = 0;
            bool runOn = patternOn(pattern, patternPos_);
            for (int i = 1; i <= count; ++i) {
                const bool on = i < count ? patternOn(pattern, patternPos_ + std::size_t(i)) : !runOn;
                if (on != runOn) {
                    flush(runStart, i - runStart, runOn);
                    runStart = i;
                    runOn = on;
                }
            }
        }
        patternPos_ += std::size_t(count);
        return;
    }

    // Slanted: Bresenham, a w x w square per pixel.
    int err = dx - dy;
    int x = x1, y = y1;
    for (int i = 0; i < count; ++i) {
        const bool on = pattern.empty() || patternOn(pattern, patternPos_ + std::size_t(i));
        if (on || opaqueGaps) fillPixels(x + lo, y + lo, w, w, on ? pen_.color : backgroundColor_);
        const int e2 = 2 * err;
        if (e2 > -dy) { err -= dy; x += sx; }
        if (e2 < dx) { err += dx; y += sy; }
    }
    patternPos_ += std::size_t(count);
}

void PainterCanvas::rectangle(const Rect& r)
{
    if (r.isEmpty()) return;
    const bool outlined = pen_.style != PenStyle::Clear;
    if (brush_.style == BrushStyle::Solid) {
        if (outlined)
            fillPixels(r.left + 1, r.top + 1, r.width() - 2, r.height() - 2, brush_.color);
        else
            fillPixels(r.left, r.top, r.width() - 1, r.height() - 1, brush_.color);
    }
    if (!outlined) return;
    const Point savedPosition = position_;
    const std::size_t savedPattern = patternPos_;
    moveTo(r.left, r.top);
    lineTo(r.right - 1, r.top);
    lineTo(r.right - 1, r.bottom - 1);
    lineTo(r.left, r.bottom - 1);
    lineTo(r.left, r.top);
    if (r.width() == 1 || r.height() == 1) {
        // A one-pixel-wide box: the polyline above leaves its last corner out.
        fillPixels(r.right - 1, r.bottom - 1, 1, 1, pen_.color);
    }
    position_ = savedPosition;
    patternPos_ = savedPattern;
}

void PainterCanvas::fillRect(const Rect& r)
{
    if (brush_.style != BrushStyle::Solid) return;
    fillPixels(r.left, r.top, r.width(), r.height(), brush_.color);
}

void PainterCanvas::fillRectWithTile(const Rect& r, const QImage& tile)
{
    if (r.isEmpty() || tile.isNull()) return;
    painter_.fillRect(toQRect(r), QBrush(tile));
}

void PainterCanvas::drawImage(const Rect& target, const QImage& image)
{
    if (target.isEmpty() || image.isNull()) return;
    painter_.drawImage(toQRect(target), image);
}

// ---------------------------------------------------------------- text

std::vector<int> PainterCanvas::advances(const QString& text) const
{
    // Characters sit on whole pixels, each advanced by its own rounded width,
    // so that drawing and measuring agree on every device.
    std::optional<QFontMetricsF> fm;
    std::vector<int> out;
    out.reserve(std::size_t(text.size()));
    for (QChar ch : text) {
        auto it = advanceCache_.find(ch.unicode());
        if (it == advanceCache_.end()) {
            if (!fm) fm.emplace(qfont_, painter_.device());
            it = advanceCache_.emplace(ch.unicode(), int(std::lround(fm->horizontalAdvance(ch)))).first;
        }
        out.push_back(clampToInt(static_cast<long long>(it->second) + charSpacing_));
    }
    return out;
}

void PainterCanvas::drawTextRun(int x, int y, const QString& text)
{
    const QFontMetrics fm(qfont_, painter_.device());
    const int cellHeight = fm.ascent() + fm.descent();
    const std::vector<int> widths = advances(text);
    const int breaks = justifyBreaks_ > 0 ? int(std::count_if(text.begin(), text.end(), isBreakChar)) : 0;
    const int width = clampToInt(sumOf(widths) + (breaks > 0 ? justifyExtra_ : 0));
    if (backgroundMode_ == BackgroundMode::Opaque) fillPixels(x, y, width, cellHeight, backgroundColor_);

    painter_.setFont(glyphFont_);
    const QColor textColor = toQColor(font_.color);
    painter_.setPen(textColor);
    const int baseline = clampToInt(static_cast<long long>(y) + fm.ascent());
    // Underline and strike-out run under the whole text, spacing included.
    const int lineWidth = std::max(1, fm.lineWidth());
    if (qfont_.underline())
        painter_.fillRect(QRect(x, clampToInt(static_cast<long long>(baseline) + fm.underlinePos()), width, lineWidth), textColor);
    if (qfont_.strikeOut())
        painter_.fillRect(QRect(x, clampToInt(static_cast<long long>(baseline) - fm.strikeOutPos()), width, lineWidth), textColor);
    // Justification: break i (0-based) of n gets extra / n pixels, plus one while i < extra % n.
    const int n = justifyBreaks_;
    long long cursor = x;
    int breakIndex = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isBreakChar(text[i])) {
            if (breaks > 0 && breakIndex < n) cursor += justifyExtra_ / n + (breakIndex < justifyExtra_ % n ? 1 : 0);
            ++breakIndex;
        } else {
            painter_.drawText(QPoint(clampToInt(cursor), baseline), QString(text[i]));
        }
        cursor += widths[std::size_t(i)];
    }
}

void PainterCanvas::textOut(int x, int y, std::string_view text)
{
    const QString s = text::toQString(text);
    if (font_.angle == 0) {
        drawTextRun(x, y, s);
        return;
    }
    painter_.save();
    painter_.translate(x, y);
    painter_.rotate(-font_.angle);
    drawTextRun(0, 0, s);
    painter_.restore();
}

void PainterCanvas::textRect(const Rect& clip, int x, int y, std::string_view text)
{
    const std::optional<Rect> saved = clip_;
    const std::optional<Rect> area = intersection(clip_, clip);
    clip_ = area;
    applyClip();
    const BackgroundMode savedMode = backgroundMode_;
    if (backgroundMode_ == BackgroundMode::Opaque) {
        fillPixels(clip.left, clip.top, clip.width(), clip.height(), backgroundColor_);
        backgroundMode_ = BackgroundMode::Transparent;
    }
    textOut(x, y, text);
    backgroundMode_ = savedMode;
    clip_ = saved;
    applyClip();
}

Size PainterCanvas::textExtent(std::string_view text) const
{
    const std::vector<int> widths = advances(text::toQString(text));
    return {clampToInt(sumOf(widths)), fontCellHeight()};
}

int PainterCanvas::fontCellHeight() const
{
    const QFontMetrics fm(qfont_, painter_.device());
    return fm.ascent() + fm.descent();
}

// ---------------------------------------------------------------- scratch canvas

detail::ScratchDevice::ScratchDevice() : image(16, 16, QImage::Format_RGB32)
{
    image.setDotsPerMeterX(3780);   // 96 pixels per inch
    image.setDotsPerMeterY(3780);
    image.fill(Qt::white);
    painter.begin(&image);
}

ScratchCanvas::ScratchCanvas() : detail::ScratchDevice(), PainterCanvas(painter, 96, 96, std::nullopt) {}

} // namespace pemvora::report
