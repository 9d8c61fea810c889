// The device-scale geometry every kind's Paint works in, and hit regions.

#include "report/model/engine_context.h"
#include "report/model/view.h"

#include "platform/value/numbertext.h"

namespace pemvora::report {

namespace {

int roundi(double x) { return static_cast<int>(roundHalfEven(x)); }

} // namespace

void TfrView::ApplyDeviceScale()
{
    Saved = {Left, Top, Width, Height, GapX, GapY, FrameWidth};
    if (engine().Running == 0) {
        DeviceScaleX = DeviceScaleY = 1.0;
        DeviceOffsetX = DeviceOffsetY = 0;
    }
    const double sx = DeviceScaleX, sy = DeviceScaleY;
    const int ox = DeviceOffsetX, oy = DeviceOffsetY;

    Left = roundi(Saved.Left * sx) + ox;
    Top = roundi(Saved.Top * sy) + oy;
    Width = roundi(Saved.Width * sx);
    Height = roundi(Saved.Height * sy);

    const double w = Saved.FrameWidth;
    const int a1 = roundi((w * sx - 1) / 2);
    const int a2 = roundi(w * sx / 2);
    const int b1 = roundi((w * sy - 1) / 2);
    const int b2 = roundi(w * sy / 2);

    FrameWidth = static_cast<float>(w * sx);
    GapX = roundi(Saved.GapX * sx) + a2;
    GapY = roundi(Saved.GapY * sy) + b2 / 2;

    int right = roundi((Saved.Left + Saved.Width) * sx + ox);
    int bottom = roundi((Saved.Top + Saved.Height) * sy + oy);
    int left = Left;
    int top = Top;
    if (FrameTyp & frame::Right) right -= a2;
    if (FrameTyp & frame::Bottom) bottom -= b2;
    if (FrameTyp & frame::Left) left += a1;
    if (FrameTyp & frame::Top) top += b1;
    PaintRect = {left, top, right + 1, bottom + 1};
}

void TfrView::RestoreGeometry()
{
    Left = Saved.Left;
    Top = Saved.Top;
    Width = Saved.Width;
    Height = Saved.Height;
    GapX = Saved.GapX;
    GapY = Saved.GapY;
    FrameWidth = Saved.FrameWidth;
}

HitRegion TfrView::CreateHitRegion(bool widened) const
{
    const double w = FrameWidth;
    int d1, d2;
    if (FrameStyle == penstyle::Double) {
        d1 = roundi(w * 1.5);
        d2 = roundi(w + (w - 1) / 2);
    } else {
        d1 = roundi(w / 2);
        d2 = roundi((w - 1) / 2);
    }
    Rect r{Left, Top, Left + Width + 1, Top + Height + 1};
    if (FrameTyp & frame::Left) r.left -= d1;
    if (FrameTyp & frame::Top) r.top -= d1;
    if (FrameTyp & frame::Right) r.right += d2;
    if (FrameTyp & frame::Bottom) r.bottom += d2;
    if (widened) r = {r.left - 10, r.top - 10, r.right + 10, r.bottom + 10};
    return {r};
}

} // namespace pemvora::report
