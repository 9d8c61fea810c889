// The preview's text search over the recorded drawing of each page.

#include "report/preview/preview_find.h"

#include "platform/text/gbk.h"
#include "platform/value/numbertext.h"
#include "report/canvas/recording_canvas.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"

#include <variant>

namespace pemvora::report {

namespace {

int scaled(double v) { return static_cast<int>(roundHalfEven(v)); }

} // namespace

Rect pageDrawRect(const TfrPreparedPage& page, const Rect& placed, double factor)
{
    if (page.UseMargins) return placed;
    const TfrPageMetrics& m = page.Paper.metrics;
    const PageMargins& g = page.Margins;
    const int left = scaled((m.OffsetX + g.Left) * factor);
    const int top = scaled((m.OffsetY + g.Top) * factor);
    const int width = scaled((m.PrintWidth - g.Left - g.Right) * factor);
    const int height = scaled((m.PrintHeight - g.Top - g.Bottom) * factor);
    return {placed.left + left, placed.top + top, placed.left + left + width, placed.top + top + height};
}

void TextSearch::Start(std::string text, bool caseSensitive, bool fromFirstPage, int currentPage)
{
    caseSensitive_ = caseSensitive;
    text_ = caseSensitive ? std::move(text) : text::toUpper(text);
    if (fromFirstPage) {
        lastFoundPage_ = 0;
        lastFoundObject_ = 0;
    } else {
        Resume(currentPage);
    }
}

void TextSearch::Resume(int currentPage)
{
    if (currentPage != lastFoundPage_ + 1) {
        lastFoundPage_ = currentPage - 1;
        lastFoundObject_ = 0;
    }
}

std::optional<FoundText> TextSearch::Next(TfrEMFPages& pages)
{
    if (text_.empty()) return std::nullopt;
    if (lastFoundPage_ < 0) lastFoundPage_ = 0;
    for (; lastFoundPage_ < pages.Count(); ++lastFoundPage_, lastFoundObject_ = 0) {
        TfrPreparedPage& page = pages.Page(lastFoundPage_);
        const bool wasInUse = page.InUse;
        const TfrPageMetrics& m = page.Paper.metrics;
        RecordingCanvas canvas;
        page.InUse = true;
        pages.Draw(lastFoundPage_, canvas, pageDrawRect(page, {0, 0, m.PaperWidth, m.PaperHeight}, 1.0));
        page.InUse = wasInUse;

        std::optional<FoundText> hit;
        int counter = 0;
        for (const Recorded& record : canvas.records()) {
            const int number = counter++;
            const auto* drawn = std::get_if<RecordedText>(&record);
            if (drawn == nullptr || number < lastFoundObject_) continue;
            const std::string hay = caseSensitive_ ? drawn->text : text::toUpper(drawn->text);
            if (text::find(hay, text_) == std::string::npos) continue;
            lastFoundObject_ = counter;
            hit = FoundText{lastFoundPage_, drawn->box, drawn->text};
            break;
        }
        // A page that is not shown gives its objects back at once (and is no
        // longer the engine's current page).
        if (!wasInUse) {
            pages.Draw(lastFoundPage_, canvas, Rect{});
            engine().CurrentPage = nullptr;
        }
        if (hit) return hit;
    }
    return std::nullopt;
}

} // namespace pemvora::report
