// The preview's state and behaviour, without a window.

#include "report/preview/preview_session.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/canvas/painter_canvas.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"

#include <QPainter>

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <filesystem>

namespace pemvora::report {

namespace {

int scaled(double v) { return static_cast<int>(roundHalfEven(v)); }

// "@n" with any integer n (a page link as the preview reads it: n <= 0 is the
// first page); nullopt for anything else.
std::optional<long long> pageLinkNumber(std::string_view url)
{
    if (url.size() < 2 || url.front() != '@') return std::nullopt;
    long long n = 0;
    const char* first = url.data() + 1;
    const char* last = url.data() + url.size();
    const auto [end, error] = std::from_chars(first, last, n);
    if (error != std::errc() || end != last) return std::nullopt;
    return n;
}

} // namespace

std::string withPreparedExtension(const std::string& fileName)
{
    std::filesystem::path path(fileName);
    path.replace_extension(".frp");
    return path.string();
}

PreviewSession::PreviewSession(TfrReport& report) : report_(report) {}

PreviewSession::~PreviewSession()
{
    if (pages_ && report_.EMFPages == pages_) pages_->Clear();
}

// ---------------------------------------------------------------- pages

void PreviewSession::TakePages()
{
    PreparedPages(report_);
    pages_ = report_.EMFPages;
    found_.reset();
}

void PreviewSession::GiveBackPages()
{
    pages_.reset();
    found_.reset();
}

int PreviewSession::PageCount() const { return pages_ ? pages_->Count() : 0; }

std::vector<Size> PreviewSession::Papers() const
{
    std::vector<Size> out;
    for (int i = 0; i < PageCount(); ++i) {
        const TfrPageMetrics& m = pages_->Page(i).Paper.metrics;
        out.push_back({m.PaperWidth, m.PaperHeight});
    }
    return out;
}

void PreviewSession::ReleaseAll()
{
    for (int i = 0; i < PageCount(); ++i) {
        pages_->Page(i).InUse = false;
        pages_->Page(i).PageObjects.reset();
    }
}

// ---------------------------------------------------------------- view

void PreviewSession::SetBoxSize(Size box)
{
    if (box == box_) return;
    box_ = box;
    LayoutPages();
}

void PreviewSession::ResetView(bool resetPosition)
{
    const EngineContext& e = engine();
    zoom_ = {e.PreviewZoom, static_cast<ZoomMode>(std::clamp(e.PreviewZoomMode, 0, 3))};
    if (resetPosition) {
        curPage_ = 1;
        scroll_ = {};
    }
    curPage_ = std::clamp(curPage_, 1, std::max(PageCount(), 1));
    LayoutPages();
    ReleaseAll();
    if (OnPageChanged) OnPageChanged(curPage_);
}

void PreviewSession::LayoutPages()
{
    layout_ = layoutPages(Papers(), box_, zoom_, curPage_ - 1);
    zoom_.factor = layout_.factor;
    for (int i = 0; i < PageCount(); ++i) pages_->Page(i).LayoutRect = layout_.pages[static_cast<std::size_t>(i)];
    scroll_.x = std::clamp(scroll_.x, 0, layout_.horizontalRange);
    scroll_.y = std::clamp(scroll_.y, 0, layout_.verticalRange);
    GoToPage(curPage_);
}

void PreviewSession::PickZoom(int tag)
{
    zoom_ = zoomForTag(tag, zoom_.factor);
    scroll_.x = 0;
    LayoutPages();
    EngineContext& e = engine();
    e.PreviewZoom = zoom_.factor;
    e.PreviewZoomMode = static_cast<int>(zoom_.mode);
}

void PreviewSession::SetVerticalPosition(int y)
{
    scroll_.y = std::clamp(y, 0, layout_.verticalRange);
    UpdateCurrentFromScroll();
}

void PreviewSession::SetHorizontalPosition(int x) { scroll_.x = std::clamp(x, 0, layout_.horizontalRange); }

void PreviewSession::ScrollBy(int dx, int dy)
{
    SetHorizontalPosition(scroll_.x + dx);
    SetVerticalPosition(scroll_.y + dy);
}

void PreviewSession::UpdateCurrentFromScroll()
{
    if (const std::optional<int> page = pageAtScroll(layout_.pages, scroll_.y)) SetCurrent(*page + 1);
}

void PreviewSession::SetCurrent(int page)
{
    if (page == curPage_) return;
    curPage_ = page;
    if (OnPageChanged) OnPageChanged(curPage_);
}

void PreviewSession::GoToPage(int page)
{
    if (!HasPages()) return;
    SetCurrent(std::clamp(page, 1, PageCount()));
    const Rect& r = layout_.pages[static_cast<std::size_t>(curPage_ - 1)];
    scroll_.y = std::clamp(r.top - kPageGap, 0, layout_.verticalRange);
}

Rect PreviewSession::ScreenRect(int index) const
{
    Rect r = layout_.pages.at(static_cast<std::size_t>(index));
    r.left -= scroll_.x;
    r.right -= scroll_.x;
    r.top -= scroll_.y;
    r.bottom -= scroll_.y;
    return r;
}

std::optional<int> PreviewSession::PageAt(Point boxPoint) const
{
    for (int i = 0; i < PageCount(); ++i)
        if (ScreenRect(i).contains(boxPoint)) return i;
    return std::nullopt;
}

// ---------------------------------------------------------------- mouse

PreviewSession::Pointed PreviewSession::Click(Point boxPoint)
{
    Pointed out;
    out.page = PageAt(boxPoint);
    if (!out.page) return out;
    const Rect r = ScreenRect(*out.page);
    const Point design{static_cast<int>((boxPoint.x - r.left) / zoom_.factor),
                       static_cast<int>((boxPoint.y - r.top) / zoom_.factor)};
    std::string url;
    int cursor = hitcursor::Default;
    try {
        out.taken = pages_->HitTest(*out.page, design, url, cursor, true, &out.status);
    } catch (const std::exception& e) {
        out.status = text::gbkToUtf8(e.what());
    }
    out.status = text::gbkToUtf8(out.status);
    if (out.taken) {
        if (const std::optional<long long> n = pageLinkNumber(url)) {
            const long long target = std::max(*n, 1LL);
            if (target <= PageCount()) GoToPage(static_cast<int>(target));
        }
        return out;
    }
    SetCurrent(*out.page + 1);
    return out;
}

PreviewSession::Pointed PreviewSession::Hover(Point boxPoint)
{
    Pointed out;
    out.cursor = hitcursor::Default;
    out.page = PageAt(boxPoint);
    if (!out.page) return out;
    const Rect r = ScreenRect(*out.page);
    const Point design{static_cast<int>((boxPoint.x - r.left) / zoom_.factor),
                       static_cast<int>((boxPoint.y - r.top) / zoom_.factor)};
    std::string url;
    try {
        out.taken = pages_->HitTest(*out.page, design, url, out.cursor, false);
    } catch (const std::exception&) {
        out.taken = false;
    }
    if (const std::optional<long long> n = pageLinkNumber(url)) out.status = fmt::format("Page {}", *n);
    else out.status = text::gbkToUtf8(url);
    return out;
}

// ---------------------------------------------------------------- painting

void PreviewSession::Paint(QPainter& painter, const Rect& viewport)
{
    PainterCanvas canvas(painter, 96, 96, viewport);
    canvas.setBrush({HasPages() ? kPageBoxBackground : resolveColor(systemColor(15)), BrushStyle::Solid});
    canvas.fillRect(viewport);
    for (int i = 0; i < PageCount(); ++i) {
        TfrPreparedPage& page = pages_->Page(i);
        const Rect r = ScreenRect(i);
        page.InUse = !r.isEmpty() && r.intersects(viewport);
        if (!page.InUse) {
            page.PageObjects.reset();
            continue;
        }
        canvas.setClipRect(std::nullopt);
        canvas.setPen({kBlack, 1, PenStyle::Solid});
        canvas.setBrush({kWhite, BrushStyle::Solid});
        canvas.rectangle(r);
        canvas.moveTo(r.left + 1, r.bottom);
        canvas.lineTo(r.right, r.bottom);
        canvas.lineTo(r.right, r.top + 1);
        canvas.setClipRect(Rect{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1});
        try {
            pages_->Draw(i, canvas, pageDrawRect(page, r, zoom_.factor));
        } catch (const std::exception&) {
            // A page whose records cannot be read shows as a blank sheet; the
            // file was checked whole when it was read, so this is a page the
            // program itself damaged and there is nothing better to show.
            page.PageObjects.reset();
        }
    }
    canvas.setClipRect(std::nullopt);
    // Drawing made each page's rebuilt objects the engine's current page, and
    // pages out of view have just freed theirs.
    engine().CurrentPage = nullptr;
    if (const std::optional<Rect> box = FoundBox(); box && box->intersects(viewport)) {
        painter.save();
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(QRect(box->left, box->top, box->width(), box->height()), Qt::white);
        painter.restore();
    }
}

std::vector<int> PreviewSession::PagesInUse() const
{
    std::vector<int> out;
    for (int i = 0; i < PageCount(); ++i)
        if (pages_->Page(i).InUse) out.push_back(i);
    return out;
}

// ---------------------------------------------------------------- find

bool PreviewSession::Find(const std::string& text, bool caseSensitive, bool fromFirstPage)
{
    search_.Start(text, caseSensitive, fromFirstPage, curPage_);
    return ShowNextHit();
}

bool PreviewSession::FindNext()
{
    search_.Resume(curPage_);
    return ShowNextHit();
}

bool PreviewSession::ShowNextHit()
{
    found_.reset();
    if (!pages_ || !search_.HasText()) return false;
    try {
        found_ = search_.Next(*pages_);
    } catch (const std::exception&) {
        found_.reset();
    }
    if (!found_) return false;
    ShowFound();
    return true;
}

void PreviewSession::ShowFound()
{
    SetCurrent(found_->page + 1);
    const Rect& placed = layout_.pages[static_cast<std::size_t>(found_->page)];
    const double z = zoom_.factor;
    const Rect box{placed.left + scaled(found_->box.left * z), placed.top + scaled(found_->box.top * z),
                   placed.left + scaled(found_->box.right * z), placed.top + scaled(found_->box.bottom * z)};
    scroll_.x = scrollToShow(scroll_.x, box_.width, layout_.horizontalRange, box.left, box.right);
    scroll_.y = scrollToShow(scroll_.y, box_.height, layout_.verticalRange, box.top, box.bottom);
}

std::optional<Rect> PreviewSession::FoundBox() const
{
    if (!found_ || found_->page >= PageCount()) return std::nullopt;
    const Rect r = ScreenRect(found_->page);
    const double z = zoom_.factor;
    return Rect{r.left + scaled(found_->box.left * z), r.top + scaled(found_->box.top * z),
                r.left + scaled(found_->box.right * z), r.top + scaled(found_->box.bottom * z)};
}

// ---------------------------------------------------------------- page editing

void PreviewSession::DeletePage()
{
    if (!CanDeletePage()) return;
    pages_->Delete(curPage_ - 1);
    found_.reset();
    ResetView(true);
}

bool PreviewSession::AddPage()
{
    if (!pages_ || report_.Pages.Count() == 0) return false;
    pages_->Insert(curPage_ - 1, report_.Pages[0]);
    found_.reset();
    ResetView(false);
    return true;
}

// ---------------------------------------------------------------- files

void PreviewSession::Open(const std::string& fileName)
{
    // The file is read whole before the pages change.
    RunOnReportPages([&] { LoadPreparedReport(report_, fileName); });
    ResetView(true);
}

std::string PreviewSession::Save(const std::string& fileName)
{
    const std::string name = withPreparedExtension(fileName);
    SavePreparedReport(report_, name);
    return name;
}

void PreviewSession::RunOnReportPages(const std::function<void()>& action)
{
    struct TakeAgain {
        PreviewSession& session;
        ~TakeAgain()
        {
            session.TakePages();
            session.ResetView(false);
        }
    } takeAgain{*this};
    action();
}

} // namespace pemvora::report
