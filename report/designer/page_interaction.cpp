#include "report/designer/page_interaction.h"

#include "report/model/objects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace pemvora::report {

namespace {

bool isBand(const TfrView& v) { return v.ObjectKind == kind::Band; }
bool restricted(const TfrView& v, std::uint8_t bit) { return (v.Restrictions & bit) != 0; }

int kindOfTool(DesignTool tool)
{
    switch (tool) {
    case DesignTool::Text: return kind::Memo;
    case DesignTool::Band: return kind::Band;
    case DesignTool::Picture: return kind::Picture;
    case DesignTool::SubReport: return kind::SubReport;
    case DesignTool::Line: return kind::Line;
    case DesignTool::Select: break;
    }
    return -1;
}

constexpr int kLineCornerReach = 4;

} // namespace

void PageInteraction::setTool(DesignTool tool, bool keepDown)
{
    tool_ = tool;
    keepTool_ = keepDown;
}

std::optional<std::pair<std::int32_t, std::int32_t>> PageInteraction::splitEdgeAt(Point p) const
{
    const std::vector<TfrView*> selected = doc_.selection();
    for (const TfrView* a : selected)
        for (const TfrView* b : selected) {
            if (a == b || a->Left + a->Width != b->Left) continue;
            const int top = std::max(a->Top, b->Top);
            const int bottom = std::min(a->Top + a->Height, b->Top + b->Height);
            if (bottom <= top) continue;
            const int edge = b->Left;
            if (p.x >= edge - 2 && p.x <= edge + 2 && p.y >= top && p.y <= bottom) return std::make_pair(a->Id, b->Id);
        }
    return std::nullopt;
}

std::optional<Point> PageInteraction::scaleHandle() const
{
    const std::vector<TfrView*> selected = doc_.selection();
    if (selected.size() < 2) return std::nullopt;
    const TfrView* last = selected.back();
    return Point{last->Left + last->Width, last->Top + last->Height};
}

PointerShape PageInteraction::pointerAt(Point p, KeyModifiers) const
{
    if (tool_ == DesignTool::Line) return PointerShape::Pencil;
    if (tool_ != DesignTool::Select) return PointerShape::Cross;
    if (const TfrView* single = doc_.singleSelected()) {
        switch (handleAt(rectOf(*single), p)) {
        case Handle::TopLeft:
        case Handle::BottomRight: return PointerShape::SizeDiagonalDown;
        case Handle::TopRight:
        case Handle::BottomLeft: return PointerShape::SizeDiagonalUp;
        case Handle::Left:
        case Handle::Right: return PointerShape::SizeHorizontal;
        case Handle::Top:
        case Handle::Bottom: return PointerShape::SizeVertical;
        case Handle::None: break;
        }
    }
    if (const auto h = scaleHandle(); h && handleSquareContains(*h, p)) return PointerShape::SizeDiagonalDown;
    if (splitEdgeAt(p)) return PointerShape::Split;
    return PointerShape::Arrow;
}

void PageInteraction::startObjectDrag(Drag kind)
{
    drag_ = kind;
    start_.clear();
    for (const TfrView* v : doc_.selection()) start_.emplace_back(v->Id, rectOf(*v));
    doc_.beginGesture();
}

PressResult PageInteraction::press(Point p, KeyModifiers keys, MouseButton button)
{
    PressResult result;
    pressPoint_ = currentPoint_ = p;
    drag_ = Drag::None;

    if (button == MouseButton::Right) {
        TfrView* hit = doc_.objectAt(p);
        if (hit && !hit->Selected) doc_.selectOnly(*hit);
        result.OpenPopupMenu = true;
        return result;
    }
    if (tool_ == DesignTool::Line) {
        doc_.clearSelection();
        pressPoint_ = currentPoint_ = snapLinePoint(p, keys);
        drag_ = Drag::Line;
        return result;
    }
    if (tool_ != DesignTool::Select || keys.Ctrl) {
        doc_.clearSelection();
        drag_ = tool_ != DesignTool::Select ? Drag::Insert : Drag::Rubber;
        return result;
    }

    if (const TfrView* single = doc_.singleSelected()) {
        handle_ = handleAt(rectOf(*single), p);
        if (handle_ != Handle::None) {
            startObjectDrag(Drag::Resize);
            return result;
        }
    }
    if (const auto h = scaleHandle(); h && handleSquareContains(*h, p)) {
        startObjectDrag(Drag::Scale);
        int left = std::numeric_limits<int>::max(), top = std::numeric_limits<int>::max();
        for (const auto& [id, r] : start_) {
            left = std::min(left, r.Left);
            top = std::min(top, r.Top);
        }
        scaleBox_ = {left, top, 0, 0};
        scaleHandleStart_ = *h;
        return result;
    }
    if (const auto pair = splitEdgeAt(p)) {
        split_ = *pair;
        startObjectDrag(Drag::Split);
        return result;
    }

    TfrView* hit = doc_.objectAt(p);
    if (!hit) {
        doc_.clearSelection();
        drag_ = Drag::Rubber;
        return result;
    }
    if (keys.Shift) doc_.toggleSelected(*hit);
    else if (!hit->Selected) doc_.selectOnly(*hit);
    if (!hit->Selected) return result;

    // A band dragged on its own takes the objects lying inside it along.
    if (isBand(*hit) && doc_.selectedCount() == 1 && !keys.Alt) {
        const ViewRect band = rectOf(*hit);
        for (const auto& v : doc_.page().PageObjects)
            if (!isBand(*v) && liesWithin(rectOf(*v), band)) doc_.select(*v);
    }
    startObjectDrag(Drag::Move);
    return result;
}

void PageInteraction::move(Point p, KeyModifiers keys)
{
    currentPoint_ = p;
    switch (drag_) {
    case Drag::Move:
    case Drag::Resize:
    case Drag::Scale:
    case Drag::Split: applyDrag(p, keys); break;
    case Drag::Line: currentPoint_ = snapLinePoint(p, keys); break;
    default: break;
    }
}

void PageInteraction::applyDrag(Point p, KeyModifiers keys)
{
    int dx = p.x - pressPoint_.x, dy = p.y - pressPoint_.y;
    if (alignOn(keys)) {
        // Whole grid steps only; a shorter movement does nothing yet.
        dx = truncToGrid(dx, doc_.grid().Size);
        dy = truncToGrid(dy, doc_.grid().Size);
    }

    std::vector<std::pair<TfrView*, ViewRect>> placements;
    const auto startOf = [&](std::int32_t id) -> const ViewRect* {
        for (const auto& [sid, r] : start_)
            if (sid == id) return &r;
        return nullptr;
    };

    if (drag_ == Drag::Split) {
        TfrView* a = doc_.objectById(split_.first);
        TfrView* b = doc_.objectById(split_.second);
        const ViewRect* ra = startOf(split_.first);
        const ViewRect* rb = startOf(split_.second);
        if (!a || !b || !ra || !rb) return;
        if (restricted(*a, restrict::DontSize) || restricted(*b, restrict::DontSize)
            || restricted(*b, restrict::DontMove))
            return;
        if (ra->Width + dx <= 0 || rb->Width - dx <= 0) return;
        placements.push_back({a, {ra->Left, ra->Top, ra->Width + dx, ra->Height}});
        placements.push_back({b, {rb->Left + dx, rb->Top, rb->Width - dx, rb->Height}});
    } else {
        double kx = 1.0, ky = 1.0;
        if (drag_ == Drag::Scale) {
            const int spanX = scaleHandleStart_.x - scaleBox_.Left, spanY = scaleHandleStart_.y - scaleBox_.Top;
            if (spanX > 0) kx = std::max(0.0, double(spanX + dx) / spanX);
            if (spanY > 0) ky = std::max(0.0, double(spanY + dy) / spanY);
        }
        for (const auto& [id, r0] : start_) {
            TfrView* v = doc_.objectById(id);
            if (!v) continue;
            ViewRect r = r0;
            if (drag_ == Drag::Move) {
                if (restricted(*v, restrict::DontMove)) continue;
                r.Left += dx;
                r.Top += dy;
            } else if (drag_ == Drag::Resize) {
                if (restricted(*v, restrict::DontSize)) continue;
                if (movesLeftEdge(handle_)) {
                    const int d = std::min(dx, r0.Width);
                    r.Left += d;
                    r.Width -= d;
                }
                if (movesRightEdge(handle_)) r.Width = std::max(0, r0.Width + dx);
                if (movesTopEdge(handle_)) {
                    const int d = std::min(dy, r0.Height);
                    r.Top += d;
                    r.Height -= d;
                }
                if (movesBottomEdge(handle_)) r.Height = std::max(0, r0.Height + dy);
            } else {
                if (restricted(*v, restrict::DontSize)) continue;
                r.Left = scaleBox_.Left + int(std::lround((r0.Left - scaleBox_.Left) * kx));
                r.Top = scaleBox_.Top + int(std::lround((r0.Top - scaleBox_.Top) * ky));
                r.Width = int(std::lround(r0.Width * kx));
                r.Height = int(std::lround(r0.Height * ky));
            }
            placements.push_back({v, r});
        }
    }

    std::erase_if(placements, [](const auto& pl) { return rectOf(*pl.first) == pl.second; });
    if (placements.empty()) return;
    // The first change of the drag records the entry; the rest of the drag adds to it.
    std::vector<const TfrView*> touched;
    for (const auto& [id, r] : start_)
        if (const TfrView* v = doc_.objectById(id)) touched.push_back(v);
    doc_.recordModified(touched);
    for (auto& [v, r] : placements) v->PlaceAt(r.Left, r.Top, r.Width, r.Height);
    doc_.notifyPageChanged();
}

void PageInteraction::finishRubberBand(Point p)
{
    const ViewRect band = normalizedRect(pressPoint_, p);
    std::vector<TfrView*> chosen;
    for (const auto& v : doc_.page().PageObjects)
        if (!isBand(*v) && touchesOrOverlaps(rectOf(*v), band)) chosen.push_back(v.get());
    if (chosen.empty())
        for (const auto& v : doc_.page().PageObjects)
            if (touchesOrOverlaps(rectOf(*v), band)) chosen.push_back(v.get());
    for (TfrView* v : chosen) doc_.select(*v);
}

ReleaseResult PageInteraction::finishInsert(Point p, KeyModifiers keys)
{
    ReleaseResult result;
    const int g = doc_.grid().Size;
    Point a = pressPoint_, b = p;
    if (alignOn(keys)) {
        a = {floorToGrid(a.x, g), floorToGrid(a.y, g)};
        b = {floorToGrid(b.x, g), floorToGrid(b.y, g)};
    }
    ViewRect rect = normalizedRect(a, b);
    if (pressPoint_ == p) {
        if (tool_ == DesignTool::Text) {
            const auto [w, h] = doc_.defaultTextSize();
            rect = {a.x, a.y, w, h};
        } else {
            rect = {a.x, a.y, 36, 36};
        }
    }
    int bandKind = bandkind::None;
    if (tool_ == DesignTool::Band) {
        const std::optional<int> chosen = chooseBandKind ? chooseBandKind() : std::nullopt;
        if (!chosen) return result;
        bandKind = *chosen;
    }
    result.Inserted = doc_.insertObject(kindOfTool(tool_), rect, bandKind);
    result.OpenEditor = result.Inserted && doc_.options().EditAfterInsert;
    return result;
}

Point PageInteraction::snapLinePoint(Point p, KeyModifiers keys) const
{
    if (!alignOn(keys)) return p;
    for (const auto& v : doc_.page().PageObjects) {
        if (isBand(*v)) continue;
        const ViewRect r = rectOf(*v);
        for (Point corner : {Point{r.Left, r.Top}, Point{r.Left + r.Width, r.Top}, Point{r.Left, r.Top + r.Height},
                             Point{r.Left + r.Width, r.Top + r.Height}})
            if (std::abs(corner.x - p.x) <= kLineCornerReach && std::abs(corner.y - p.y) <= kLineCornerReach)
                return corner;
    }
    const int g = doc_.grid().Size;
    return {roundToGridEven(p.x, g), roundToGridEven(p.y, g)};
}

ReleaseResult PageInteraction::finishLine(Point p, KeyModifiers keys)
{
    ReleaseResult result;
    const Point end = snapLinePoint(p, keys);
    if (end == pressPoint_) return result;
    result.Inserted = doc_.insertObject(kind::Line, normalizedRect(pressPoint_, end));
    return result;
}

ReleaseResult PageInteraction::release(Point p, KeyModifiers keys)
{
    ReleaseResult result;
    const Drag drag = drag_;
    if (drag == Drag::Move || drag == Drag::Resize || drag == Drag::Scale || drag == Drag::Split) applyDrag(p, keys);
    drag_ = Drag::None;
    switch (drag) {
    case Drag::Move:
    case Drag::Resize:
    case Drag::Scale:
    case Drag::Split: doc_.endGesture(); break;
    case Drag::Rubber: finishRubberBand(p); break;
    case Drag::Insert: result = finishInsert(p, keys); break;
    case Drag::Line: result = finishLine(p, keys); break;
    case Drag::None: break;
    }
    if ((drag == Drag::Insert || drag == Drag::Line) && !keepTool_) tool_ = DesignTool::Select;
    start_.clear();
    return result;
}

void PageInteraction::cancel()
{
    if (drag_ == Drag::Move || drag_ == Drag::Resize || drag_ == Drag::Scale || drag_ == Drag::Split)
        doc_.endGesture();
    drag_ = Drag::None;
    start_.clear();
    tool_ = DesignTool::Select;
    keepTool_ = false;
}

std::optional<ViewRect> PageInteraction::rubberBand() const
{
    if (drag_ != Drag::Rubber && drag_ != Drag::Insert) return std::nullopt;
    return normalizedRect(pressPoint_, currentPoint_);
}

std::optional<std::pair<Point, Point>> PageInteraction::lineBeingDrawn() const
{
    if (drag_ != Drag::Line) return std::nullopt;
    return std::make_pair(pressPoint_, currentPoint_);
}

} // namespace pemvora::report
