// The device-scale geometry every kind's Paint works in, and hit regions.

#include "report/model/engine_context.h"
#include "report/model/pixel_limits.h"
#include "report/model/view.h"

#include "platform/value/numbertext.h"

#include <algorithm>
#include <limits>

namespace pemvora::report {

namespace {

using pixels::clampToInt;
using pixels::roundi;

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

    Left = roundi(Saved.Left * sx + ox);
    Top = roundi(Saved.Top * sy + oy);
    Width = roundi(Saved.Width * sx);
    Height = roundi(Saved.Height * sy);

    const double w = Saved.FrameWidth;
    const int a1 = roundi((w * sx - 1) / 2);
    const int a2 = roundi(w * sx / 2);
    const int b1 = roundi((w * sy - 1) / 2);
    const int b2 = roundi(w * sy / 2);

    FrameWidth = static_cast<float>(w * sx);
    GapX = clampToInt(static_cast<long long>(roundi(Saved.GapX * sx)) + a2);
    GapY = clampToInt(static_cast<long long>(roundi(Saved.GapY * sy)) + b2 / 2);

    long long right = roundi((static_cast<double>(Saved.Left) + Saved.Width) * sx + ox);
    long long bottom = roundi((static_cast<double>(Saved.Top) + Saved.Height) * sy + oy);
    long long left = Left;
    long long top = Top;
    if (FrameTyp & frame::Right) right -= a2;
    if (FrameTyp & frame::Bottom) bottom -= b2;
    if (FrameTyp & frame::Left) left += a1;
    if (FrameTyp & frame::Top) top += b1;
    PaintRect = {clampToInt(left), clampToInt(top), clampToInt(right + 1), clampToInt(bottom + 1)};
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
    long long left = Left, top = Top;
    long long right = static_cast<long long>(Left) + Width + 1, bottom = static_cast<long long>(Top) + Height + 1;
    if (FrameTyp & frame::Left) left -= d1;
    if (FrameTyp & frame::Top) top -= d1;
    if (FrameTyp & frame::Right) right += d2;
    if (FrameTyp & frame::Bottom) bottom += d2;
    const int widen = widened ? 10 : 0;
    return {Rect{clampToInt(left - widen), clampToInt(top - widen), clampToInt(right + widen), clampToInt(bottom + widen)}};
}

} // namespace pemvora::report
