#include "report/canvas/recording_canvas.h"

#include "report/canvas/painter_canvas.h"

#include <QImage>

#include <algorithm>

namespace pemvora::report {

RecordingCanvas::RecordingCanvas() : ownTarget_(std::make_unique<ScratchCanvas>()), target_(ownTarget_.get()) {}

RecordingCanvas::RecordingCanvas(int dpi, bool printer) : RecordingCanvas()
{
    dpi_ = dpi;
    printer_ = printer;
}

RecordingCanvas::RecordingCanvas(Canvas& forwardTo) : target_(&forwardTo) {}

RecordingCanvas::~RecordingCanvas() = default;

namespace {
template <class T>
std::vector<T> only(const std::vector<Recorded>& records)
{
    std::vector<T> out;
    for (const Recorded& r : records)
        if (const T* p = std::get_if<T>(&r)) out.push_back(*p);
    return out;
}
} // namespace

std::vector<RecordedText> RecordingCanvas::texts() const { return only<RecordedText>(records_); }
std::vector<RecordedLine> RecordingCanvas::lines() const { return only<RecordedLine>(records_); }
std::vector<RecordedRect> RecordingCanvas::rects() const { return only<RecordedRect>(records_); }

void RecordingCanvas::setTextJustification(int extraPixels, int breakCount)
{
    justifyExtra_ = breakCount > 0 ? extraPixels : 0;
    justifyBreaks_ = std::max(breakCount, 0);
    target_->setTextJustification(extraPixels, breakCount);
}

void RecordingCanvas::moveTo(int x, int y)
{
    position_ = {x, y};
    target_->moveTo(x, y);
}

void RecordingCanvas::lineTo(int x, int y)
{
    records_.push_back(RecordedLine{position_, {x, y}, target_->pen()});
    position_ = {x, y};
    target_->lineTo(x, y);
}

void RecordingCanvas::rectangle(const Rect& r)
{
    records_.push_back(RecordedRect{RecordedRect::Kind::Rectangle, r, target_->pen(), target_->brush()});
    target_->rectangle(r);
}

void RecordingCanvas::fillRect(const Rect& r)
{
    records_.push_back(RecordedRect{RecordedRect::Kind::Fill, r, {}, target_->brush()});
    target_->fillRect(r);
}

void RecordingCanvas::fillRectWithTile(const Rect& r, const QImage& tile)
{
    records_.push_back(RecordedRect{RecordedRect::Kind::TileFill, r, {}, target_->brush()});
    target_->fillRectWithTile(r, tile);
}

void RecordingCanvas::drawImage(const Rect& target, const QImage& image)
{
    records_.push_back(RecordedImage{target, image.width(), image.height()});
    target_->drawImage(target, image);
}

RecordedText RecordingCanvas::textRecord(int x, int y, std::string_view text, std::optional<Rect> clip) const
{
    RecordedText t;
    t.text = std::string(text);
    t.origin = {x, y};
    t.font = target_->font();
    t.charSpacing = target_->charSpacing();
    Size extent = target_->textExtent(text);
    if (justifyBreaks_ > 0 && std::count(text.begin(), text.end(), ' ') > 0) extent.width += justifyExtra_;
    if (t.font.angle == 0)
        t.box = {x, y, x + extent.width, y + extent.height};
    else
        t.box = {x, y - extent.width, x + extent.height, y};
    const std::optional<Rect> canvasClip = target_->clipRect();
    if (clip && canvasClip)
        t.clip = Rect{std::max(clip->left, canvasClip->left), std::max(clip->top, canvasClip->top),
                      std::min(clip->right, canvasClip->right), std::min(clip->bottom, canvasClip->bottom)};
    else
        t.clip = clip ? clip : canvasClip;
    return t;
}

void RecordingCanvas::textOut(int x, int y, std::string_view text)
{
    records_.push_back(textRecord(x, y, text, std::nullopt));
    target_->textOut(x, y, text);
}

void RecordingCanvas::textRect(const Rect& clip, int x, int y, std::string_view text)
{
    records_.push_back(textRecord(x, y, text, clip));
    target_->textRect(clip, x, y, text);
}

} // namespace pemvora::report
