// Fill and frame: the drawing steps every kind's Paint is built from.

#include "report/canvas/frameline.h"
#include "report/model/engine_context.h"
#include "report/model/pixel_limits.h"
#include "report/model/view.h"

#include "platform/value/numbertext.h"

namespace pemvora::report {

namespace {

using pixels::roundi;

} // namespace

namespace {

// Right and bottom edge of the whole object in device pixels, from the saved geometry.
Point scaledFarCorner(const TfrView& v)
{
    return {roundi((double(v.Saved.Left) + v.Saved.Width) * v.DeviceScaleX + v.DeviceOffsetX),
            roundi((double(v.Saved.Top) + v.Saved.Height) * v.DeviceScaleY + v.DeviceOffsetY)};
}

} // namespace

void TfrView::PaintFill()
{
    const EngineContext& e = engine();
    if (e.MeasuringPass || !canvas) return;
    canvas->setBrush({FillColor == kNoColor ? kWhite : FillColor, BrushStyle::Solid});
    canvas->setBackgroundMode(BackgroundMode::Opaque);
    if (e.Running != 0 && FillColor == kNoColor) return;
    if (e.Running == 0) {
        canvas->fillRect(PaintRect);
    } else {
        const Point far = scaledFarCorner(*this);
        canvas->fillRect({Left, Top, far.x, far.y});
    }
}

void TfrView::PaintBorder()
{
    const EngineContext& e = engine();
    if (e.MeasuringPass || !canvas) return;
    if (e.Running != 0 && (FrameTyp & frame::All) == 0) return;

    canvas->setBrush({FillColor == kNoColor ? kWhite : FillColor, BrushStyle::Solid});
    canvas->setPen({kBlack, 1, PenStyle::Solid});
    const Point far = scaledFarCorner(*this);
    const int R = far.x, B = far.y;

    if (e.Running == 0 && Width > 0 && Height > 0) {
        // Corner marks of the designer.
        canvas->line(Left, Top + 3, Left, Top);
        canvas->lineTo(Left + 4, Top);
        canvas->line(Left, B - 3, Left, B);
        canvas->lineTo(Left + 4, B);
        canvas->line(R - 3, Top, R, Top);
        canvas->lineTo(R, Top + 4);
        canvas->line(R - 3, B, R, B);
        canvas->lineTo(R, B - 4);
    }

    FrameLineStyle style;
    style.frameColor = FrameColor;
    style.fillColor = FillColor;
    style.width = roundi(FrameWidth);
    style.style = static_cast<PenStyle>(FrameStyle <= penstyle::Double ? FrameStyle : penstyle::Solid);

    if (FrameTyp & frame::Right) drawFrameLine(*canvas, {R, Top}, {R, B}, style);
    if (FrameTyp & frame::Left) drawFrameLine(*canvas, {Left, Top}, {Left, B}, style);
    if (FrameTyp & frame::Bottom) drawFrameLine(*canvas, {Left, B}, {R, B}, style);
    if (FrameTyp & frame::Top) drawFrameLine(*canvas, {Left, Top}, {R, Top}, style);
}

} // namespace pemvora::report
