// The page options: what the dialog shows, and applying them as one step
// after every value has been checked.

#include "report/designer/designer_document.h"

#include "platform/value/numbertext.h"
#include "report/printer/printing_context.h"

#include <fmt/format.h>

#include <cmath>

namespace pemvora::report {

namespace {

constexpr double kPixelsPerMm = 18.0 / 5.0;

int mmToPixels(double mm) { return static_cast<int>(roundHalfEven(mm * kPixelsPerMm)); }
double pixelsToMm(int pixels) { return pixels * 5.0 / 18.0; }

} // namespace

std::string formatMillimetres(double mm) { return fmt::format("{:.4g}", mm); }

PageOptionsRequest pageOptionsOf(const TfrPage& page, bool unlimitedHeight)
{
    PageOptionsRequest r;
    r.PrintToPrevPage = page.PrintToPrevPage;
    r.StretchToPrintArea = !page.MarginsInUse;
    r.UnlimitedHeight = unlimitedHeight;
    r.Orientation = page.Paper.orientation;
    r.PaperSize = page.Paper.size;
    r.WidthMm = page.Paper.width / 10.0;
    r.HeightMm = page.Paper.height / 10.0;
    r.Bin = page.Paper.bin;
    r.LeftMm = pixelsToMm(page.Margins.Left);
    r.TopMm = pixelsToMm(page.Margins.Top);
    r.RightMm = pixelsToMm(page.Margins.Right);
    r.BottomMm = pixelsToMm(page.Margins.Bottom);
    r.ColumnGapMm = pixelsToMm(page.ColumnGap);
    r.Columns = page.Columns;
    return r;
}

std::optional<std::string> DesignerDocument::setPageOptions(const PageOptionsRequest& r)
{
    TfrPage& p = page();
    for (double mm : {r.LeftMm, r.TopMm, r.RightMm, r.BottomMm, r.ColumnGapMm})
        if (!std::isfinite(mm) || mm < 0 || mm > kMaxPaperMm)
            return std::string("The margins and the column gap must be between 0 and 2000 mm");
    if (r.Columns < 1) return std::string("The number of columns must be 1 or more");
    if (r.Orientation != 0 && r.Orientation != 1) return std::string("Unknown orientation");

    PaperRequest paper;
    paper.Size = r.PaperSize;
    paper.Orientation = r.Orientation;
    paper.Bin = r.Bin;
    if (r.PaperSize == kCustomPaper) {
        for (double mm : {r.WidthMm, r.HeightMm})
            if (!std::isfinite(mm) || mm < kMinPaperMm || mm > kMaxPaperMm)
                return fmt::format("The paper's width and height must be between {} and {} mm", kMinPaperMm,
                                   kMaxPaperMm);
        paper.Width = static_cast<int>(roundHalfEven(r.WidthMm * 10));
        paper.Height = static_cast<int>(roundHalfEven(r.HeightMm * 10));
    } else if (const PaperInfo* row = findPaper(r.PaperSize)) {
        paper.Width = r.Orientation == 1 ? row->height : row->width;
        paper.Height = r.Orientation == 1 ? row->width : row->height;
    } else {
        paper.Width = p.Paper.width;
        paper.Height = p.Paper.height;
    }

    // What the printer makes of the paper, tried aside; the page is not touched yet.
    TfrPrinter& printer = printing().printer();
    PagePaper trial;
    ApplyPaper(printer, trial, paper.Size, paper.Width, paper.Height, paper.Orientation, paper.Bin);
    const PaperRequest current = p.RequestedPaper();
    const auto giveBackPrinter = [&] {
        PagePaper scratch;
        ApplyPaper(printer, scratch, current.Size, current.Width, current.Height, current.Orientation, current.Bin);
    };

    const PageMargins margins{mmToPixels(r.LeftMm), mmToPixels(r.TopMm), mmToPixels(r.RightMm),
                              mmToPixels(r.BottomMm)};
    const int gap = mmToPixels(r.ColumnGapMm);
    const TfrPageMetrics& m = trial.metrics;
    if (margins.Left + margins.Right >= m.PaperWidth || margins.Top + margins.Bottom >= m.PaperHeight) {
        giveBackPrinter();
        return fmt::format("The margins leave no room on a paper of {} x {} mm", formatMillimetres(trial.width / 10.0),
                           formatMillimetres(trial.height / 10.0));
    }
    int left = 0, right = m.PaperWidth;
    if (!r.StretchToPrintArea) {
        left = margins.Left != 0 ? margins.Left : m.OffsetX;
        right = margins.Right != 0 ? m.PaperWidth - margins.Right : m.OffsetX + m.PrintWidth;
    }
    const long long needed = static_cast<long long>(r.Columns) + static_cast<long long>(r.Columns - 1) * gap;
    if (right - left < needed) {
        giveBackPrinter();
        return fmt::format("{} columns with a gap of {} mm do not fit between the margins", r.Columns,
                           formatMillimetres(r.ColumnGapMm));
    }

    UndoStep before = pageSettingsStep(p);
    p.ApplyPaper(paper);
    p.Margins = margins;
    p.PrintToPrevPage = r.PrintToPrevPage;
    p.MarginsInUse = !r.StretchToPrintArea;
    p.Columns = r.Columns;
    p.ColumnGap = gap;
    p.ClearProperties();
    options_.UnlimitedHeight = r.UnlimitedHeight;
    recordStep(std::move(before));
    changed(true);
    return std::nullopt;
}

} // namespace pemvora::report
