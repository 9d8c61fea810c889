// Commands on the selected objects: moving and sizing by the keys, deleting,
// the clipboard, the order, the toolbars' actions, the inspector, inserting.

#include "report/designer/designer_document.h"

#include "platform/text/gbk.h"
#include "report/designer/designer_geometry.h"
#include "report/model/binary_stream.h"
#include "report/model/engine_context.h"
#include "report/model/objects.h"
#include "report/model/template_codec.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>
#include <limits>

namespace pemvora::report {

namespace {

bool isBand(const TfrView& v) { return v.ObjectKind == kind::Band; }
bool restricted(const TfrView& v, std::uint8_t bit) { return (v.Restrictions & bit) != 0; }

std::vector<const TfrView*> constViews(const std::vector<TfrView*>& views)
{
    return {views.begin(), views.end()};
}

struct Placement {
    TfrView* View;
    ViewRect Rect;
};

} // namespace

// ---------------------------------------------------------------- geometry

namespace {

// Applies new rectangles as one entry; those that stay as they were are left out.
bool applyPlacements(DesignerDocument& doc, std::vector<Placement> placements)
{
    std::erase_if(placements, [](const Placement& p) { return rectOf(*p.View) == p.Rect; });
    if (placements.empty()) return false;
    std::vector<const TfrView*> views;
    for (const Placement& p : placements) views.push_back(p.View);
    doc.recordModified(views);
    for (const Placement& p : placements) p.View->PlaceAt(p.Rect.Left, p.Rect.Top, p.Rect.Width, p.Rect.Height);
    doc.notifyPageChanged();
    return true;
}

} // namespace

std::vector<TfrView*> DesignerDocument::movable(bool forSize) const
{
    std::vector<TfrView*> out;
    for (TfrView* v : selection())
        if (!restricted(*v, forSize ? restrict::DontSize : restrict::DontMove)) out.push_back(v);
    return out;
}

bool DesignerDocument::moveSelection(int dx, int dy)
{
    std::vector<Placement> placements;
    for (TfrView* v : movable(false)) placements.push_back({v, {v->Left + dx, v->Top + dy, v->Width, v->Height}});
    return applyPlacements(*this, std::move(placements));
}

bool DesignerDocument::resizeSelection(int dw, int dh)
{
    std::vector<Placement> placements;
    for (TfrView* v : selection()) {
        if (!restricted(*v, restrict::DontSize))
            placements.push_back({v, {v->Left, v->Top, std::max(0, v->Width + dw), std::max(0, v->Height + dh)}});
        else if (!restricted(*v, restrict::DontMove))
            placements.push_back({v, {v->Left + dw, v->Top + dh, v->Width, v->Height}});
    }
    return applyPlacements(*this, std::move(placements));
}

namespace {

// How far `other` lies from `from` in direction d, or nullopt when it does
// not lie that way. Measured between centres, the sideways offset counting double.
std::optional<long long> distanceTowards(const ViewRect& from, const ViewRect& other, Direction d)
{
    const long long fx = 2LL * from.Left + from.Width, fy = 2LL * from.Top + from.Height;
    const long long ox = 2LL * other.Left + other.Width, oy = 2LL * other.Top + other.Height;
    long long ahead = 0, aside = 0;
    switch (d) {
    case Direction::Right: ahead = ox - fx; aside = oy - fy; break;
    case Direction::Left: ahead = fx - ox; aside = oy - fy; break;
    case Direction::Down: ahead = oy - fy; aside = ox - fx; break;
    case Direction::Up: ahead = fy - oy; aside = ox - fx; break;
    }
    if (ahead <= 0) return std::nullopt;
    return ahead + 2 * std::llabs(aside);
}

} // namespace

bool DesignerDocument::selectNearest(Direction d)
{
    TfrView* current = singleSelected();
    if (!current) return false;
    TfrView* best = nullptr;
    long long bestDistance = std::numeric_limits<long long>::max();
    for (const auto& v : page().PageObjects) {
        if (v.get() == current || isBand(*v)) continue;
        const auto distance = distanceTowards(rectOf(*current), rectOf(*v), d);
        if (distance && *distance < bestDistance) {
            bestDistance = *distance;
            best = v.get();
        }
    }
    if (!best) return false;
    selectOnly(*best);
    return true;
}

bool DesignerDocument::moveToTouch(Direction d)
{
    TfrView* current = singleSelected();
    if (!current || restricted(*current, restrict::DontMove)) return false;
    const ViewRect c = rectOf(*current);
    std::optional<int> target;
    for (const auto& v : page().PageObjects) {
        if (v.get() == current || isBand(*v)) continue;
        const ViewRect o = rectOf(*v);
        const bool besideVertically = o.Top < c.Top + c.Height && o.Top + o.Height > c.Top;
        const bool besideHorizontally = o.Left < c.Left + c.Width && o.Left + o.Width > c.Left;
        switch (d) {
        case Direction::Right:
            if (besideVertically && o.Left >= c.Left + c.Width && (!target || o.Left - c.Width < *target))
                target = o.Left - c.Width;
            break;
        case Direction::Left:
            if (besideVertically && o.Left + o.Width <= c.Left && (!target || o.Left + o.Width > *target))
                target = o.Left + o.Width;
            break;
        case Direction::Down:
            if (besideHorizontally && o.Top >= c.Top + c.Height && (!target || o.Top - c.Height < *target))
                target = o.Top - c.Height;
            break;
        case Direction::Up:
            if (besideHorizontally && o.Top + o.Height <= c.Top && (!target || o.Top + o.Height > *target))
                target = o.Top + o.Height;
            break;
        }
    }
    if (!target) return false;
    ViewRect moved = c;
    if (d == Direction::Left || d == Direction::Right) moved.Left = *target;
    else moved.Top = *target;
    return applyPlacements(*this, {{current, moved}});
}

bool DesignerDocument::fitToGrid()
{
    const int g = grid_.Size;
    std::vector<Placement> placements;
    for (TfrView* v : selection()) {
        ViewRect r = rectOf(*v);
        if (!restricted(*v, restrict::DontMove)) {
            r.Left = roundToGridEven(r.Left, g);
            r.Top = roundToGridEven(r.Top, g);
        }
        if (!restricted(*v, restrict::DontSize)) {
            r.Width = roundToGridEven(r.Width, g);
            r.Height = roundToGridEven(r.Height, g);
            if (r.Width == 0) r.Width = g;
            if (r.Height == 0) r.Height = g;
        }
        placements.push_back({v, r});
    }
    return applyPlacements(*this, std::move(placements));
}

// ---------------------------------------------------------------- alignment palette

namespace {

// Spaces the objects equally between the outermost two along one axis.
std::vector<Placement> spaceEqually(std::vector<TfrView*> views, bool horizontal)
{
    std::vector<Placement> out;
    if (views.size() < 3) return out;
    const auto start = [&](const TfrView* v) { return horizontal ? v->Left : v->Top; };
    const auto extent = [&](const TfrView* v) { return horizontal ? v->Width : v->Height; };
    std::stable_sort(views.begin(), views.end(), [&](const TfrView* a, const TfrView* b) { return start(a) < start(b); });
    const TfrView* first = views.front();
    const TfrView* last = views.back();
    long long sizes = 0;
    for (const TfrView* v : views) sizes += extent(v);
    const long long room = static_cast<long long>(start(last)) + extent(last) - start(first) - sizes;
    const long long gaps = static_cast<long long>(views.size()) - 1;
    long long before = 0;
    for (std::size_t i = 0; i < views.size(); ++i) {
        TfrView* v = views[i];
        const long long at = start(first) + before + room * static_cast<long long>(i) / gaps;
        before += extent(v);
        if (restricted(*v, restrict::DontMove)) continue;
        ViewRect r = rectOf(*v);
        (horizontal ? r.Left : r.Top) = static_cast<int>(at);
        out.push_back({v, r});
    }
    return out;
}

} // namespace

bool DesignerDocument::align(Alignment how)
{
    const std::vector<TfrView*> selected = selection();
    if (selected.empty()) return false;
    std::vector<Placement> placements;

    if (how == Alignment::CenterInWindowHorizontally || how == Alignment::CenterInWindowVertically) {
        const bool horizontal = how == Alignment::CenterInWindowHorizontally;
        int lo = std::numeric_limits<int>::max(), hi = std::numeric_limits<int>::min();
        for (const TfrView* v : selected) {
            lo = std::min(lo, horizontal ? v->Left : v->Top);
            hi = std::max(hi, horizontal ? v->Left + v->Width : v->Top + v->Height);
        }
        const TfrPageMetrics& m = page().Paper.metrics;
        const int pageExtent = horizontal ? m.PaperWidth : m.PaperHeight;
        const int shift = (pageExtent - (hi - lo)) / 2 - lo;
        for (TfrView* v : selected) {
            if (restricted(*v, restrict::DontMove)) continue;
            ViewRect r = rectOf(*v);
            (horizontal ? r.Left : r.Top) += shift;
            placements.push_back({v, r});
        }
        return applyPlacements(*this, std::move(placements));
    }
    if (how == Alignment::SpaceEquallyHorizontally || how == Alignment::SpaceEquallyVertically)
        return applyPlacements(*this, spaceEqually(selected, how == Alignment::SpaceEquallyHorizontally));

    if (selected.size() < 2) return false;

    if (how == Alignment::LeftEdges) {
        const auto band = std::find_if(selected.begin(), selected.end(), [](const TfrView* v) { return isBand(*v); });
        if (band != selected.end()) {
            // Lays the objects within the band's height side by side from the
            // page's left margin, at the top of the leftmost of them.
            const ViewRect b = rectOf(**band);
            std::vector<TfrView*> row;
            for (TfrView* v : selected)
                if (!isBand(*v) && !restricted(*v, restrict::DontMove) && v->Top >= b.Top
                    && v->Top + v->Height <= b.Top + b.Height)
                    row.push_back(v);
            if (row.empty()) return false;
            std::stable_sort(row.begin(), row.end(), [](const TfrView* a, const TfrView* c) { return a->Left < c->Left; });
            const int top = row.front()->Top;
            int x = page().LeftEdge();
            for (TfrView* v : row) {
                placements.push_back({v, {x, top, v->Width, v->Height}});
                x += v->Width;
            }
            return applyPlacements(*this, std::move(placements));
        }
    }

    const TfrView* ref = referenceObject();
    for (TfrView* v : selected) {
        if (restricted(*v, restrict::DontMove)) continue;
        ViewRect r = rectOf(*v);
        switch (how) {
        case Alignment::LeftEdges: r.Left = ref->Left; break;
        case Alignment::HorizontalCenters: r.Left = ref->Left + (ref->Width - v->Width) / 2; break;
        case Alignment::RightEdges: r.Left = ref->Left + ref->Width - v->Width; break;
        case Alignment::Tops: r.Top = ref->Top; break;
        case Alignment::VerticalCenters: r.Top = ref->Top + (ref->Height - v->Height) / 2; break;
        case Alignment::Bottoms: r.Top = ref->Top + ref->Height - v->Height; break;
        default: break;
        }
        placements.push_back({v, r});
    }
    return applyPlacements(*this, std::move(placements));
}

// ---------------------------------------------------------------- delete, clipboard, order

bool DesignerDocument::deleteSelection()
{
    std::vector<std::int32_t> ids;
    std::vector<std::string> childNames;
    const auto& objects = page().PageObjects;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        const TfrView& v = **it;
        if (!v.Selected || restricted(v, restrict::DontDelete)) continue;
        ids.push_back(v.Id);
        if (isBand(v) && static_cast<const TfrBandView&>(v).BandKind() == bandkind::Child) childNames.push_back(v.Name);
    }
    if (ids.empty()) return false;

    UndoEntry entry;
    entry.Page = &page();
    // Bands that name a deleted child band lose that name, and get it back on undo.
    std::vector<TfrBandView*> pointing;
    for (const auto& v : objects) {
        auto* band = dynamic_cast<TfrBandView*>(v.get());
        if (!band || band->Selected || band->ChildBand.empty()) continue;
        for (const std::string& name : childNames)
            if (text::equalsNoCase(band->ChildBand, name)) {
                pointing.push_back(band);
                break;
            }
    }
    if (!pointing.empty()) {
        entry.Steps.push_back(modifiedStep({pointing.begin(), pointing.end()}));
        for (TfrBandView* band : pointing) band->ChildBand.clear();
    }
    std::vector<std::int32_t> affected;
    entry.Steps.push_back(revertStep(page(), insertedStep(ids), affected));
    firstSelectedId_ = -1;
    record(std::move(entry));
    changed();
    return true;
}

void DesignerDocument::copySelection()
{
    std::vector<ClipboardRecord>& clipboard = designerSession().Clipboard;
    clipboard.clear();
    for (const TfrView* v : selection()) {
        BinaryWriter out;
        TemplateWriter w(out);
        SaveObjectRecord(w, *v);
        clipboard.push_back({v->ObjectKind, std::string(v->ClassName()), out.take()});
    }
}

bool DesignerDocument::cutSelection()
{
    copySelection();
    return deleteSelection();
}

namespace {

std::unique_ptr<TfrView> objectFromRecord(const ClipboardRecord& record)
{
    try {
        std::unique_ptr<TfrView> view = CreateObject(record.Kind, record.ClassName);
        if (!view) return nullptr;
        BinaryReader in(record.Record);
        TemplateReader r(in, kTemplateVersion);
        LoadObjectRecord(r, *view);
        return view;
    } catch (const std::exception&) {
        return nullptr;
    }
}

// The first multiple of the grid at or right of v.
int ceilToGrid(int v, int grid) { return -floorToGrid(-v, grid); }

} // namespace

bool DesignerDocument::paste(int visibleLeft, int visibleTop)
{
    const std::vector<ClipboardRecord>& clipboard = designerSession().Clipboard;
    if (clipboard.empty()) return false;
    engine().CurrentReport = &report_;

    const TfrView* band = nullptr;
    for (TfrView* v : selection())
        if (isBand(*v)) {
            band = v;
            break;
        }
    const bool ontoBand = band != nullptr;
    const int bandTop = band ? band->Top : 0;
    for (const auto& v : page().PageObjects) v->Selected = false;
    firstSelectedId_ = -1;

    int minLeft = std::numeric_limits<int>::max(), minTop = std::numeric_limits<int>::max();
    for (const ClipboardRecord& record : clipboard)
        if (auto view = objectFromRecord(record)) {
            minLeft = std::min(minLeft, view->Left);
            minTop = std::min(minTop, view->Top);
        }

    std::vector<std::int32_t> ids;
    for (const ClipboardRecord& record : clipboard) {
        std::unique_ptr<TfrView> view = objectFromRecord(record);
        if (!view) continue;
        if (auto* b = dynamic_cast<TfrBandView*>(view.get())) b->NamePrefix = bandNamePrefix(b->BandKind());
        if (view->Name.empty() || report_.FindObject(view->Name)) view->CreateUniqueName();
        if (auto* b = dynamic_cast<TfrBandView*>(view.get())) {
            const int k = b->BandKind();
            const bool repeatable = (k >= 4 && k <= 12) || k == bandkind::GroupHeader || k == bandkind::GroupFooter;
            const bool present = std::any_of(page().PageObjects.begin(), page().PageObjects.end(), [&](const auto& o) {
                return isBand(*o) && static_cast<const TfrBandView&>(*o).BandKind() == k;
            });
            if (present && !repeatable) continue;
        }
        view->Left -= minLeft;
        view->Top -= minTop;
        if (visibleLeft > 0) view->Left += ceilToGrid(visibleLeft, grid_.Size);
        if (visibleTop > 0) view->Top += ceilToGrid(visibleTop, grid_.Size);
        if (ontoBand) view->Top = bandTop;
        view->Selected = true;
        if (firstSelectedId_ < 0) firstSelectedId_ = view->Id;
        ids.push_back(view->Id);
        page().Add(std::move(view));
    }
    restorePageOrder(page());
    if (!ids.empty()) recordStep(insertedStep(ids));
    changed();
    return !ids.empty();
}

namespace {

bool reorder(DesignerDocument& doc, bool toFront)
{
    TfrPage& page = doc.page();
    UndoStep before = reorderedStep(page);
    std::vector<std::unique_ptr<TfrView>> moving, staying;
    for (auto& v : page.PageObjects)
        (v->Selected && !restricted(*v, restrict::DontMove) ? moving : staying).push_back(std::move(v));
    page.PageObjects.clear();
    auto& firstGroup = toFront ? staying : moving;
    auto& secondGroup = toFront ? moving : staying;
    for (auto& v : firstGroup) page.PageObjects.push_back(std::move(v));
    for (auto& v : secondGroup) page.PageObjects.push_back(std::move(v));
    restorePageOrder(page);
    return reorderedStep(page).Order != before.Order;
}

} // namespace

bool DesignerDocument::bringToFront()
{
    UndoStep before = reorderedStep(page());
    if (!reorder(*this, true)) return false;
    recordStep(std::move(before));
    changed();
    return true;
}

bool DesignerDocument::sendToBack()
{
    UndoStep before = reorderedStep(page());
    if (!reorder(*this, false)) return false;
    recordStep(std::move(before));
    changed();
    return true;
}

// ---------------------------------------------------------------- toolbars

std::vector<TfrView*> DesignerDocument::actionTargets(bool textOnly) const
{
    std::vector<TfrView*> out;
    for (TfrView* v : selection()) {
        if (isBand(*v) || restricted(*v, restrict::DontModify)) continue;
        if (textOnly && !dynamic_cast<TfrMemoView*>(v)) continue;
        out.push_back(v);
    }
    return out;
}

namespace {

bool isTextAction(int code)
{
    using namespace toolbaraction;
    return code == FontName || code == FontSize || code == Bold || code == Italic || code == Underline
        || code == FontColor || code == AlignLeft || code == AlignRight || code == AlignCenter
        || code == AlignJustify || code == Rotate || code == VerticalAlign;
}

void setBits(std::uint16_t& word, std::uint16_t bits, bool on)
{
    if (on) word |= bits;
    else word &= static_cast<std::uint16_t>(~bits);
}

void setStyleBit(int& style, int bit, bool on)
{
    if (on) style |= bit;
    else style &= ~bit;
}

} // namespace

bool DesignerDocument::applyToolbarAction(int code, const Value& value)
{
    using namespace toolbaraction;
    LastUsedValues& last = designerSession().LastUsed;
    const std::vector<TfrView*> targets = actionTargets(isTextAction(code));
    if (!targets.empty()) recordModified(constViews(targets));

    const auto frameBit = [&](std::uint16_t bit) {
        for (TfrView* v : targets) setBits(v->FrameTyp, bit, value.toBoolean());
    };
    switch (code) {
    case TopFrame: frameBit(frame::Top); break;
    case LeftFrame: frameBit(frame::Left); break;
    case BottomFrame: frameBit(frame::Bottom); break;
    case RightFrame: frameBit(frame::Right); break;
    case AllFrames:
        for (TfrView* v : targets) v->FrameTyp |= frame::All;
        last.FrameLines = frame::All;
        break;
    case NoFrame:
        for (TfrView* v : targets) setBits(v->FrameTyp, frame::All, false);
        last.FrameLines = 0;
        break;
    case FillColor:
        for (TfrView* v : targets) v->FillColor = toColor(value);
        last.FillColor = toColor(value);
        break;
    case FrameColor:
        for (TfrView* v : targets) v->FrameColor = toColor(value);
        last.FrameColor = toColor(value);
        break;
    case FrameWidth: {
        const float width = static_cast<float>(value.toNumber());
        for (TfrView* v : targets) {
            v->FrameWidth = width;
            (v->ObjectKind == kind::Line ? last.LineFrameWidth : last.FrameWidth) = width;
        }
        if (targets.empty()) last.FrameWidth = width;
        break;
    }
    default:
        if (code >= LineStyleFirst && code <= LineStyleLast) {
            for (TfrView* v : targets) v->FrameStyle = static_cast<std::uint16_t>(code - LineStyleFirst);
            break;
        }
        for (TfrView* v : targets) {
            TfrFont& font = static_cast<TfrMemoView*>(v)->Font;
            std::uint32_t& align = static_cast<TfrMemoView*>(v)->Alignment;
            switch (code) {
            case FontName: font.Name = value.toText(); break;
            case FontSize: font.Size = value.toInt32(); break;
            case FontColor: font.FontColor = toColor(value); break;
            case Bold: setStyleBit(font.Style, fontstyle::Bold, value.toBoolean()); break;
            case Italic: setStyleBit(font.Style, fontstyle::Italic, value.toBoolean()); break;
            case Underline: setStyleBit(font.Style, fontstyle::Underline, value.toBoolean()); break;
            case AlignLeft: align = (align & ~textalign::HorizontalMask) | textalign::Left; break;
            case AlignRight: align = (align & ~textalign::HorizontalMask) | textalign::Right; break;
            case AlignCenter: align = (align & ~textalign::HorizontalMask) | textalign::Center; break;
            case AlignJustify: align = (align & ~textalign::HorizontalMask) | textalign::Justify; break;
            case Rotate:
                align = value.toBoolean() ? (align | textalign::Rotated) : (align & ~textalign::Rotated);
                break;
            case VerticalAlign:
                align = (align & ~textalign::VerticalMask) | (static_cast<std::uint32_t>(value.toInt32()) & textalign::VerticalMask);
                break;
            default: break;
            }
            last.FontStyle = font.Style;
            last.Alignment = align;
            if (code == FontSize) last.FontSize = font.Size;
        }
        if (code == FontName) last.FontName = value.toText();
        if (code == FontColor) last.FontColor = toColor(value);
        if (code == FontSize && targets.empty()) last.FontSize = value.toInt32();
        break;
    }
    if (targets.empty()) return false;
    changed();
    return true;
}

bool DesignerDocument::applyFontChange(const TfrFont& referenceFont, const TfrFont& chosenFont)
{
    // Copies: the reference is often the font of one of the objects changed below.
    const TfrFont reference = referenceFont;
    const TfrFont chosen = chosenFont;
    const std::vector<TfrView*> selected = selection();
    if (selected.empty() || restricted(*selected.back(), restrict::DontEditContents)) return false;
    const std::vector<TfrView*> targets = actionTargets(true);
    if (targets.empty()) return false;
    recordModified(constViews(targets));
    for (TfrView* v : targets) {
        TfrFont& font = static_cast<TfrMemoView*>(v)->Font;
        if (chosen.Name != reference.Name) font.Name = chosen.Name;
        if (chosen.Size != reference.Size) font.Size = chosen.Size;
        if (chosen.FontColor != reference.FontColor) font.FontColor = chosen.FontColor;
        if (chosen.Style != reference.Style) font.Style = chosen.Style;
        if (chosen.Charset != reference.Charset) font.Charset = chosen.Charset;
    }
    if (chosen.Charset != reference.Charset) designerSession().LastUsed.FontCharset = chosen.Charset;
    changed();
    return true;
}

// ---------------------------------------------------------------- inspector and editors

std::optional<std::string> DesignerDocument::setProperty(std::string_view name, const Value& value)
{
    std::vector<TfrView*> targets;
    for (TfrView* v : selection()) {
        v->EnsureProperties();
        if (v->FindProperty(name) && !restricted(*v, restrict::DontModify)) targets.push_back(v);
    }
    if (targets.empty()) return std::nullopt;
    if (upperName(name) == "NAME") {
        const std::string wanted = value.toText();
        if (wanted.empty()) return std::string("An object needs a name");
        if (const TfrView* other = report_.FindObject(wanted); other && other != targets.front())
            return fmt::format("An object named \"{}\" already exists", text::gbkToUtf8(wanted));
    }
    UndoStep before = modifiedStep(constViews(targets));
    try {
        for (TfrView* v : targets) {
            v->SetProperty(name, value);
            v->ClearProperties();
        }
    } catch (const std::exception& failure) {
        std::vector<std::int32_t> affected;
        revertStep(page(), std::move(before), affected);
        changed();
        return std::string(failure.what());
    }
    recordStep(std::move(before));
    changed();
    return std::nullopt;
}

std::optional<std::string> DesignerDocument::setPageProperty(std::string_view name, const Value& value)
{
    TfrPage& p = page();
    UndoStep before = pageSettingsStep(p);
    try {
        p.SetProperty(name, value);
        if (p.Type == pagetype::Report) p.ApplyPaper(p.RequestedPaper());
        p.ClearProperties();
    } catch (const std::exception& failure) {
        std::vector<std::int32_t> affected;
        revertStep(p, std::move(before), affected);
        changed();
        return std::string(failure.what());
    }
    recordStep(std::move(before));
    changed(true);
    return std::nullopt;
}

bool DesignerDocument::setMemo(TfrView& view, const StringList& lines)
{
    if (view.Memo == lines) return false;
    recordModified({&view});
    view.Memo = lines;
    changed();
    return true;
}

bool DesignerDocument::setMemoAndScript(TfrView& view, const StringList& memo, const StringList& script)
{
    if (view.Memo == memo && view.ScriptLines == script) return false;
    recordModified({&view});
    view.Memo = memo;
    view.ScriptLines = script;
    changed();
    return true;
}

bool DesignerDocument::setDisplayFormat(TfrView& view, std::uint32_t format, const std::string& formatText)
{
    if (view.DisplayFormat == format && view.DisplayFormatText == formatText) return false;
    recordModified({&view});
    view.DisplayFormat = format;
    view.DisplayFormatText = formatText;
    changed();
    return true;
}

bool DesignerDocument::setHighlight(TfrMemoView& view, const TfrHighlight& highlight, const std::string& condition)
{
    if (view.Highlight == highlight && view.HighlightCondition == condition) return false;
    recordModified({&view});
    view.Highlight = highlight;
    view.HighlightCondition = condition;
    changed();
    return true;
}

bool DesignerDocument::setStretched(bool on)
{
    std::vector<TfrView*> targets;
    for (TfrView* v : selection())
        if (!restricted(*v, restrict::DontModify) && v->ObjectKind != kind::SubReport) targets.push_back(v);
    if (targets.empty()) return false;
    recordModified(constViews(targets));
    for (TfrView* v : targets) setBits(v->Flags, flag::Stretched, on);
    changed();
    return true;
}

bool DesignerDocument::setScript(TfrView* view, const StringList& lines)
{
    if (!view) {
        if (page().ScriptLines == lines) return false;
        recordStep(pageSettingsStep(page()));
        page().ScriptLines = lines;
        changed();
        return true;
    }
    if (view->ScriptLines == lines) return false;
    recordModified({view});
    view->ScriptLines = lines;
    changed();
    return true;
}

bool DesignerDocument::setPicture(TfrPictureView& view, const TfrPicture& picture)
{
    recordModified({&view});
    view.Picture = picture;
    changed();
    return true;
}

bool DesignerDocument::setRestrictions(TfrView& view, std::uint8_t restrictions)
{
    if (view.Restrictions == restrictions) return false;
    recordModified({&view});
    view.Restrictions = restrictions;
    changed();
    return true;
}

// ---------------------------------------------------------------- inserting

std::pair<int, int> DesignerDocument::defaultTextSize() const
{
    int width = 96, height = 20;
    if (grid_.Size == 18) {
        width = 108;
        height = 18;
    }
    const int size = designerSession().LastUsed.FontSize;
    if (size == 12 || size == 13) height = 20;
    else if (size >= 14 && size <= 16) height = 24;
    return {width, height};
}

TfrView* DesignerDocument::insertObject(int kindCode, const ViewRect& rect, int bandKind)
{
    engine().CurrentReport = &report_;
    for (const auto& v : page().PageObjects) v->Selected = false;
    firstSelectedId_ = -1;

    std::unique_ptr<TfrView> created = CreateObject(kindCode);
    if (!created) return nullptr;
    TfrView& view = *created;
    view.PlaceAt(rect.Left, rect.Top, rect.Width, rect.Height);
    const LastUsedValues& last = designerSession().LastUsed;

    if (auto* band = dynamic_cast<TfrBandView*>(&view)) {
        band->SetBandKind(bandKind);
        band->NamePrefix = bandNamePrefix(bandKind);
        if (bandkind::isCross(bandKind) && view.Width > page().Paper.metrics.PaperWidth - 10) view.Width = 40;
    }
    if (auto* sub = dynamic_cast<TfrSubReportView*>(&view)) sub->SubPageIndex = report_.Pages.Add();

    if (view.ObjectKind == kind::Line) {
        view.FrameWidth = last.LineFrameWidth;
        view.FrameColor = last.FrameColor;
    } else if (view.ObjectKind != kind::PlugIn) {
        view.FrameWidth = last.FrameWidth;
        view.FrameColor = last.FrameColor;
        view.FillColor = last.FillColor;
    }
    if (auto* memo = dynamic_cast<TfrMemoView*>(&view)) {
        memo->FrameTyp = last.FrameLines;
        memo->Font.Name = last.FontName;
        memo->Font.Size = last.FontSize;
        memo->Font.FontColor = last.FontColor;
        memo->Font.Style = last.FontStyle;
        memo->Font.Charset = last.FontCharset;
        memo->Alignment = last.Alignment;
    }
    view.CreateUniqueName();
    view.Selected = true;
    firstSelectedId_ = view.Id;
    TfrView& added = page().Add(std::move(created));
    restorePageOrder(page());
    recordStep(insertedStep({added.Id}));
    changed(true);
    return &added;
}

} // namespace pemvora::report
