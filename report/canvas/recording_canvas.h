#pragma once
// RecordingCanvas: a Canvas that logs everything drawn on it, in drawing
// order, and passes every call on to another canvas (by default its own
// scratch canvas, which measures text at 96 pixels per inch).
//
// Tests read the log to check what an object drew without looking at pixels;
// the preview's text search reads the text runs of a page with their boxes.

#include "report/canvas/canvas.h"

#include <memory>
#include <variant>
#include <vector>

namespace pemvora::report {

struct RecordedText {
    std::string text;         // GBK, as drawn
    Point origin;             // the (x, y) given to textOut / textRect
    Rect box;                 // the text's cell on the device (turned text: its turned cell)
    std::optional<Rect> clip; // the clip in effect (textRect's clip and the canvas clip)
    Font font;
    int charSpacing = 0;
};

struct RecordedLine {
    Point from;
    Point to;                 // the last pixel is left out, as drawn
    Pen pen;
};

struct RecordedRect {
    enum class Kind { Rectangle, Fill, TileFill } kind = Kind::Rectangle;
    Rect rect;
    Pen pen;                  // for Kind::Rectangle
    Brush brush;
};

struct RecordedImage {
    Rect target;
    int width = 0;            // the image's own size
    int height = 0;
};

using Recorded = std::variant<RecordedText, RecordedLine, RecordedRect, RecordedImage>;

class RecordingCanvas : public Canvas {
public:
    RecordingCanvas();                              // over its own scratch canvas
    // Over its own scratch canvas, reporting `dpi` and whether it is a printer
    // page (text is still measured in pixels, so sizes come out right).
    RecordingCanvas(int dpi, bool printer);
    explicit RecordingCanvas(Canvas& forwardTo);    // records and draws on forwardTo
    ~RecordingCanvas() override;

    const std::vector<Recorded>& records() const { return records_; }
    std::vector<RecordedText> texts() const;
    std::vector<RecordedLine> lines() const;
    std::vector<RecordedRect> rects() const;
    void clear() { records_.clear(); }

    int dpiX() const override { return dpi_ > 0 ? dpi_ : target_->dpiX(); }
    int dpiY() const override { return dpi_ > 0 ? dpi_ : target_->dpiY(); }
    bool isPrinter() const override { return printer_ || target_->isPrinter(); }

    void setPen(const Pen& pen) override { target_->setPen(pen); }
    Pen pen() const override { return target_->pen(); }
    void setBrush(const Brush& brush) override { target_->setBrush(brush); }
    Brush brush() const override { return target_->brush(); }
    void setBackgroundMode(BackgroundMode mode) override { target_->setBackgroundMode(mode); }
    BackgroundMode backgroundMode() const override { return target_->backgroundMode(); }
    void setFont(const Font& font) override { target_->setFont(font); }
    Font font() const override { return target_->font(); }
    void setCharSpacing(int pixels) override { target_->setCharSpacing(pixels); }
    int charSpacing() const override { return target_->charSpacing(); }
    void setTextJustification(int extraPixels, int breakCount) override;

    void setClipRect(std::optional<Rect> clip) override { target_->setClipRect(clip); }
    std::optional<Rect> clipRect() const override { return target_->clipRect(); }
    bool isVisible(const Rect& r) const override { return target_->isVisible(r); }

    void moveTo(int x, int y) override;
    void lineTo(int x, int y) override;
    void rectangle(const Rect& r) override;
    void fillRect(const Rect& r) override;
    void fillRectWithTile(const Rect& r, const QImage& tile) override;
    void drawImage(const Rect& target, const QImage& image) override;

    void textOut(int x, int y, std::string_view text) override;
    void textRect(const Rect& clip, int x, int y, std::string_view text) override;
    Size textExtent(std::string_view text) const override { return target_->textExtent(text); }
    int fontCellHeight() const override { return target_->fontCellHeight(); }

private:
    RecordedText textRecord(int x, int y, std::string_view text, std::optional<Rect> clip) const;

    std::unique_ptr<Canvas> ownTarget_;
    Canvas* target_;
    int dpi_ = 0;
    bool printer_ = false;
    std::vector<Recorded> records_;
    Point position_;
    int justifyExtra_ = 0;
    int justifyBreaks_ = 0;
};

} // namespace pemvora::report
