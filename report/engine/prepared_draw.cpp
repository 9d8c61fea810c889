// Drawing prepared pages and finding the object under the pointer, with the
// rules for following hyperlink objects.

#include "report/engine/link_opener.h"
#include "report/engine/prepared_pages.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/printer/printing_context.h"

#include <fmt/format.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

namespace pemvora::report {

namespace {

// A device coordinate; objects from a file may lie anywhere, so the value is
// kept within what an int holds.
int devicePixel(double v)
{
    constexpr double kLimit = std::numeric_limits<int>::max() / 2;
    return static_cast<int>(roundHalfEven(std::clamp(v, -kLimit, kLimit)));
}

bool startsWithUrl(std::string_view name) { return name.substr(0, 3) == "URL"; }

} // namespace

// ---------------------------------------------------------------- links

std::optional<QUrl> followableLink(std::string_view tag)
{
    const std::string_view trimmed = text::trim(tag);
    for (const char c : trimmed)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) return std::nullopt;
    QString address;
    try {
        address = text::toQString(trimmed);
    } catch (const std::exception&) {
        return std::nullopt;
    }
    const QUrl url(address, QUrl::StrictMode);
    if (!url.isValid()) return std::nullopt;
    const QString scheme = url.scheme().toLower();
    if (scheme == QLatin1String("http") || scheme == QLatin1String("https")) {
        if (url.host().isEmpty()) return std::nullopt;
        return url;
    }
    if (scheme == QLatin1String("mailto") && !url.path().isEmpty()) return url;
    return std::nullopt;
}

std::optional<int> pageLink(std::string_view url)
{
    if (url.size() < 2 || url.front() != '@') return std::nullopt;
    int page = 0;
    const char* first = url.data() + 1;
    const char* last = url.data() + url.size();
    const auto [end, error] = std::from_chars(first, last, page);
    if (error != std::errc() || end != last || page < 1) return std::nullopt;
    return page;
}

// ---------------------------------------------------------------- drawing

void TfrEMFPages::Draw(int index, Canvas& canvas, const Rect& rect)
{
    TfrPreparedPage& page = Page(index);
    EngineContext& e = engine();
    const bool toPrinter = canvas.isPrinter() && printing().backend().isPrinting();
    e.Running = 1;
    if (!page.InUse) {
        // This is how pages that leave the view give their memory back.
        ReleasePageObjects(index);
        return;
    }
    LoadPageObjects(index);
    e.CurrentPage = page.PageObjects.get();

    const TfrPageMetrics& m = page.Paper.metrics;
    if (m.PaperWidth <= 0 || m.PaperHeight <= 0) return;
    const double kx = static_cast<double>(rect.width()) / m.PaperWidth;
    const double ky = static_cast<double>(rect.height()) / m.PaperHeight;
    for (const auto& view : page.PageObjects->PageObjects) {
        if (!toPrinter) {
            const Rect box{devicePixel(view->Left * kx + rect.left) - 10, devicePixel(view->Top * ky + rect.top) - 10,
                           devicePixel((static_cast<double>(view->Left) + view->Width) * kx + rect.left) + 10,
                           devicePixel((static_cast<double>(view->Top) + view->Height) * ky + rect.top) + 10};
            if (!canvas.isVisible(box)) continue;
        }
        view->DeviceScaleX = kx;
        view->DeviceScaleY = ky;
        view->DeviceOffsetX = rect.left;
        view->DeviceOffsetY = rect.top;
        view->ToPrinter = toPrinter;
        view->Paint(canvas);
    }
}

// ---------------------------------------------------------------- pointing

bool TfrEMFPages::HitTest(int index, Point point, std::string& url, int& cursor, bool isClick, std::string* status)
{
    TfrPreparedPage& page = Page(index);
    LoadPageObjects(index);
    const TfrPageMetrics& m = page.Paper.metrics;

    // Objects of a page stretched to the printable area are shown mapped into it.
    double sx = 1, sy = 1, ox = 0, oy = 0;
    if (!page.UseMargins && m.PaperWidth > 0 && m.PaperHeight > 0) {
        // In doubles: a file's margins may be any 32-bit values.
        sx = (static_cast<double>(m.PrintWidth) - page.Margins.Left - page.Margins.Right) / m.PaperWidth;
        sy = (static_cast<double>(m.PrintHeight) - page.Margins.Top - page.Margins.Bottom) / m.PaperHeight;
        ox = static_cast<double>(page.Margins.Left) + m.OffsetX;
        oy = static_cast<double>(page.Margins.Top) + m.OffsetY;
    }

    const auto& objects = page.PageObjects->PageObjects;
    for (auto it = objects.rbegin(); it != objects.rend(); ++it) {
        TfrView& view = **it;
        const double left = view.Left * sx + ox;
        const double top = view.Top * sy + oy;
        const double right = (static_cast<double>(view.Left) + view.Width) * sx + ox;
        const double bottom = (static_cast<double>(view.Top) + view.Height) * sy + oy;
        if (point.x < left || point.x >= right || point.y < top || point.y >= bottom) continue;

        bool taken = false;
        if (isClick) {
            if (report_ && report_->OnObjectClick) {
                report_->OnObjectClick(view);
                taken = true;
            }
            if (startsWithUrl(view.Name)) {
                taken = true;
                url.clear();
                if (!view.Tag.empty() && view.Tag.front() == '@') {
                    url = view.Tag;   // a page of the preview
                } else if (const std::optional<QUrl> address = followableLink(view.Tag)) {
                    LinkOpener* opener = engine().Links;
                    if ((!opener || !opener->open(*address)) && status)
                        *status = fmt::format("The link could not be opened: {}", text::gbkToUtf8(view.Tag));
                } else if (status) {
                    *status = fmt::format("The link was not followed: \"{}\" is not a web or mail address",
                                          text::gbkToUtf8(view.Tag));
                }
            }
        } else {
            if (report_ && report_->OnMouseOverObject) {
                report_->OnMouseOverObject(view, cursor);
                taken = true;
            }
            if (startsWithUrl(view.Name)) {
                cursor = hitcursor::HandPoint;
                url = view.Tag;
                taken = true;
            }
        }
        return taken;
    }
    return false;
}

} // namespace pemvora::report
