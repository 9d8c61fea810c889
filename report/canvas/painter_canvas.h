#pragma once
// PainterCanvas: the Canvas over a QPainter, for images, widgets, printers and
// PDF files. ScratchCanvas: a 96-DPI off-screen canvas for measuring text and
// for painting that nobody sees (the engine's scratch bitmap).

#include "report/canvas/canvas.h"

#include <QImage>
#include <QPainter>
#include <QRegion>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

namespace pemvora::report {

class PainterCanvas : public Canvas {
public:
    // `painter` must be active on its device and outlive this canvas. The canvas
    // draws in the painter's device pixels; `dpiX`/`dpiY` are the device's
    // resolution, `bounds` its pixel area (nullopt: unbounded, for measuring).
    PainterCanvas(QPainter& painter, int dpiX, int dpiY, std::optional<Rect> bounds, bool printer = false);
    // A canvas over an image: its own resolution and bounds.
    static std::unique_ptr<PainterCanvas> forImage(QPainter& painter, const QImage& image);

    int dpiX() const override { return dpiX_; }
    int dpiY() const override { return dpiY_; }
    bool isPrinter() const override { return printer_; }

    void setPen(const Pen& pen) override { pen_ = pen; }
    Pen pen() const override { return pen_; }
    void setBrush(const Brush& brush) override;
    Brush brush() const override { return brush_; }
    void setBackgroundMode(BackgroundMode mode) override { backgroundMode_ = mode; }
    BackgroundMode backgroundMode() const override { return backgroundMode_; }
    void setFont(const Font& font) override;
    Font font() const override { return font_; }
    void setCharSpacing(int pixels) override;
    int charSpacing() const override { return charSpacing_; }
    void setTextJustification(int extraPixels, int breakCount) override;

    void setClipRect(std::optional<Rect> clip) override;
    std::optional<Rect> clipRect() const override { return clip_; }
    bool isVisible(const Rect& r) const override;

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(const Rect& r) override;
    void fillRect(const Rect& r) override;
    void fillRectWithTile(const Rect& r, const QImage& tile) override;
    void drawImage(const Rect& target, const QImage& image) override;

    void textOut(int x, int y, std::string_view text) override;
    void textRect(const Rect& clip, int x, int y, std::string_view text) override;
    Size textExtent(std::string_view text) const override;
    int fontCellHeight() const override;

private:
    void fillPixels(int x, int y, int w, int h, Color c);
    void drawLinePixels(int x1, int y1, int x2, int y2);
    void drawTextRun(int x, int y, const QString& text);
    // Integer advance of every character, char spacing included, as the text is placed.
    std::vector<int> advances(const QString& text) const;
    void applyClip();
    void updateQFont();

    QPainter& painter_;
    int dpiX_;
    int dpiY_;
    std::optional<Rect> bounds_;
    bool printer_;

    Pen pen_;
    Brush brush_;
    Color backgroundColor_ = kWhite;
    BackgroundMode backgroundMode_ = BackgroundMode::Opaque;
    Font font_;
    QFont qfont_;        // the font as measured (with underline / strike-out)
    QFont glyphFont_;    // the font characters are drawn with (lines drawn by hand over the run)
    mutable std::unordered_map<char16_t, int> advanceCache_;   // rounded advances in qfont_
    int charSpacing_ = 0;
    int justifyExtra_ = 0;
    int justifyBreaks_ = 0;
    std::optional<Rect> clip_;
    std::optional<QRegion> deviceClip_;   // the painter's own clip when the canvas was made (a paint event's region)
    Point position_;
    std::size_t patternPos_ = 0;   // pixels of the dash pattern used since the last moveTo
};

namespace detail {
struct ScratchDevice {
    ScratchDevice();
    QImage image;
    QPainter painter;
};
} // namespace detail

// The engine's scratch canvas: 96 pixels per inch, unbounded, drawing into a
// tiny private image. Needs a QGuiApplication.
class ScratchCanvas : private detail::ScratchDevice, public PainterCanvas {
public:
    ScratchCanvas();
};

} // namespace pemvora::report
