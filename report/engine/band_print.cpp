// Printing one band: its script and forced breaks, its height, the check
// whether it fits, placing it at CurY, and writing its objects into the
// prepared page; with the accumulators of its aggregates.

#include "report/engine/band_engine.h"

#include "report/engine/prepared_pages.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/script/aggregates.h"
#include "report/script/scriptrun.h"

#include <fmt/format.h>

#include <algorithm>

namespace pemvora::report {

namespace {

bool isFixed(int kind)
{
    return kind == bandkind::PageFooter || kind == bandkind::Overlay || kind == bandkind::None;
}

// Bands a page or column break prints by itself; they make no page "used".
bool isPageFurniture(int kind)
{
    using namespace bandkind;
    return kind == PageHeader || kind == PageFooter || kind == Overlay || kind == ColumnHeader ||
           kind == ColumnFooter || kind == None;
}

// The object as one whose height can grow, or nullptr. Every printed object
// asks, so the built-in kinds answer without a run-time type lookup.
TfrStretcheable* stretchableOf(TfrView& view)
{
    switch (view.ObjectKind) {
    case kind::Memo:
    case kind::Line: return static_cast<TfrStretcheable*>(&view);
    case kind::PlugIn: return dynamic_cast<TfrStretcheable*>(&view);
    default: return nullptr;
    }
}

// The stretched objects of a band take the band's height for one print and
// get their own back afterwards, however the print ends.
class StretchedObjects {
public:
    StretchedObjects(TfrBand& band, int height)
    {
        for (TfrView* v : band.Objects) {
            if (!v->IsStretched() || v->Height <= 0 || !stretchableOf(*v)) continue;
            saved_.push_back({v, v->Height});
            v->Height = height - v->Top;
        }
    }
    ~StretchedObjects()
    {
        for (const auto& [view, height] : saved_) view->Height = height;
    }
    StretchedObjects(const StretchedObjects&) = delete;
    StretchedObjects& operator=(const StretchedObjects&) = delete;

private:
    std::vector<std::pair<TfrView*, int>> saved_;
};

} // namespace

bool BandEngine::PrintBand(PageRun& run, TfrBand* band)
{
    if (!band) return false;
    EngineContext& e = engine();
    using namespace bandkind;
    const int kind = band->Typ;
    bool result = false;
    struct RestorePageBreak {
        TfrBand& band;
        bool pageBreak;
        ~RestorePageBreak() { band.PageBreak = pageBreak; }
    } restorePageBreak{*band, band->PageBreak};

    e.CurrentView = band->View;
    e.CurrentBand = band;
    band->ComputedHeight = -1;
    band->ForceNewPageCount = 0;
    band->ForceNewColumnCount = 0;
    if (report_.OnBeginBand) report_.OnBeginBand(*band);

    // A row of a multi-column band was in progress: the next band goes below it.
    if (TfrBand* last = run.LastPrintedBand; last && last != band && last->Exists() && last->ColumnNo > 1) {
        run.ColumnOffsetX = last->SavedColumnOffset;
        run.CurY += std::max(last->Height, last->ComputedHeight);
        last->ColumnNo = 1;
    }

    band->KeepAssignedCurY = false;
    if (!band->SkipScriptOnce && band->View) scripts_.RunScript(*band->View);
    band->SkipScriptOnce = false;
    const int y0 = run.CurY;
    if (report_.Terminated) return false;

    for (int i = 0; i < band->ForceNewPageCount; ++i) {
        run.ColumnIndex = run.Columns - 1;
        NewColumn(run, band);
    }
    for (int i = 0; i < band->ForceNewColumnCount; ++i) NewColumn(run, band);
    if (band->KeepAssignedCurY) run.CurY = y0;

    if (band->Visible) {
        if (kind == ColumnHeader) run.ColumnTopY = run.CurY;
        if (kind == PageFooter) band->Top = run.BandAreaBottom;
        if (band->Exists()) {
            band->ComputedHeight = std::max(band->ComputedHeight, band->Height);
            if (kind != PageFooter && kind != Overlay && kind != ColumnFooter && kind != None) {
                const int h = ComputeHeight(run, *band);
                const int columnFooter = run.Band(ColumnFooter).Height;
                if (run.CurY + h + columnFooter > run.BandAreaBottom && !band->PageBreak) {
                    const bool tallerThanPage = h > run.BandAreaBottom - TopEdge(run) && run.CurY == TopEdge(run);
                    // Nothing but headers on this page yet: another page would look the same.
                    if (tallerThanPage || placedSinceBreak_ == 0 || breakDepth_ > 0) {
                        refuseBandThatNeverFits(run, *band, h, !run.IsSubReportPage && breakDepth_ == 0 &&
                                                                   kind != PageHeader && kind != ColumnHeader);
                    } else {
                        result = true;
                        if (run.IsSubReportPage) return true;
                        CheckBreak(run, *band, 0, 10000, false);
                    }
                }
            }
        }
        band->SubReportsDone = true;
        if (band->IsDataBand() && band->HasDataSource() && band->NextBand && !band->NextBand->HasDataSource()) {
            // The bands after it without a source of their own print with it, as one.
            for (TfrBand* b = band; b && (b == band || !b->HasDataSource()); b = b->NextBand)
                if (b->Visible) PlaceBand(run, *b);
        } else {
            PlaceBand(run, *band);
            if (band->Child()) PrintBand(run, band->Child());
            if (!band->IsDataBand() && kind != GroupHeader && band->NewPageAfter) NewPage(run);
        }
        if (!band->SubReportsDone) result = true;
    } else {
        if (band->Child() && band->PrintChildIfInvisible) PrintBand(run, band->Child());
        if (band->IsDataBand()) Accumulate(*band);
    }

    if (!band->SuppressReset && (kind != PageFooter || e.PageNo == pages_.Count() - 1)) ResetAggregates(*band);
    if (report_.OnEndBand) report_.OnEndBand(*band);
    return result;
}

void BandEngine::refuseBandThatNeverFits(PageRun& run, TfrBand& band, int height, bool canSplit)
{
    const int area = run.BandAreaBottom - TopEdge(run) - run.Band(bandkind::ColumnFooter).Height;
    if (area <= 0)
        throw RunError(fmt::format("The page \"{}\" has no room for bands: its band area is {} pixels high",
                                   run.Page.Name, area));
    if (!canSplit)
        throw RunError(fmt::format("The band \"{}\" ({} pixels high) does not fit on a page: {} pixels are free "
                                   "below the page's headers",
                                   band.Name, height, std::max(0, run.BandAreaBottom - run.CurY)));
    band.PageBreak = true;   // printed over several pages
}

void BandEngine::PlaceBand(PageRun& run, TfrBand& band)
{
    if (!band.Exists()) return;
    const int kind = band.Typ;
    const bool fixed = isFixed(kind);
    const int savedTop = band.Top;
    if (!fixed) band.Top = run.CurY;

    if (band.Stretched) {
        int h = band.ComputedHeight;
        bool sub = false;
        {
            StretchedObjects stretched(band, h);
            band.SplitHeight = h;
            if (!band.PageBreak) {
                CheckBreak(run, band, band.Top, h, false);
                band.Top = run.CurY;
            }
            if (band.PageBreak) {
                SplitAcrossPages(run, band);
                h = 0;
            } else {
                sub = PrintObjects(run, band);
                if (band.HasCrossObjects) PrintCross(run, band);
            }
        }
        if (!sub) run.CurY += h;
    } else {
        if (!fixed && !band.PageBreak) {
            CheckBreak(run, band, band.Top, band.Height, false);
            band.Top = run.CurY;
        }
        if (band.PageBreak) {
            band.SplitHeight = band.ComputedHeight;
            SplitAcrossPages(run, band);
        } else {
            const bool sub = PrintObjects(run, band);
            if (band.HasCrossObjects) PrintCross(run, band);
            if (!fixed && !sub) run.CurY += band.Height;
        }
    }
    if (breakDepth_ == 0 && !isPageFurniture(kind)) ++placedSinceBreak_;

    if (run.LastPrintedBand != &band) band.ColumnNo = 1;
    run.LastPrintedBand = &band;

    if (band.IsDataBand() && band.View && band.View->Columns > 1 && band.View->NewColumnAfter == 1) {
        if (band.ColumnNo == 1) band.SavedColumnOffset = run.ColumnOffsetX;
        band.ColumnNo += 1;
        if (band.ColumnNo > band.View->Columns) {
            run.ColumnOffsetX = band.SavedColumnOffset;
            band.ColumnNo = 1;   // the next row starts below
        } else {
            run.ColumnOffsetX =
                (band.View->ColumnWidth + band.View->ColumnGap) * (band.ColumnNo - 1) + band.SavedColumnOffset;
            run.CurY -= band.ComputedHeight;   // the next record prints beside this one
        }
    }

    band.Top = savedTop;
    if (band.IsDataBand()) Accumulate(band);
}

bool BandEngine::PrintObjects(PageRun& run, TfrBand& band)
{
    for (std::size_t i = 0; i < band.Objects.size(); ++i) {
        TfrView& view = *band.Objects[i];
        if (view.ObjectKind == kind::SubReport && view.Visible) return RunSubReports(run, band, i);
        PrintObject(run, band, view);
        if (Terminated()) break;
    }
    return false;
}

void BandEngine::PrintObject(PageRun& run, TfrBand& band, TfrView& view)
{
    EngineContext& e = engine();
    e.CurrentPage = &run.Page;
    e.CurrentBand = &band;
    if (view.RuntimeBand != &band) return;   // a cross object: printed per cross column
    TfrStretcheable* const stretchable = stretchableOf(view);
    try {
        if (!e.MeasuringPass || band.PageBreak) {
            struct Shift {
                TfrView& view;
                int left, top;
                ~Shift()
                {
                    view.Left = left;
                    view.Top = top;
                }
            } shift{view, view.Left, view.Top};
            view.Left += run.ColumnOffsetX - LeftEdge(run);
            view.Top += band.Top;
            const int phase = stretchable ? stretchable->PaintPhase : 0;
            e.CurrentView = &view;
            view.Print(pages_.Page(e.PageNo).Stream);
            if (view.ObjectKind == kind::Memo && phase != 2)
                for (TfrView* listener : e.NotifyList) listener->NotifyView(view);
        } else {
            // The first pass of two measures and runs scripts; it writes nothing.
            e.CurrentView = &view;
            if (!(view.ObjectKind == kind::Memo && stretchable && stretchable->PaintPhase != 0))
                scripts_.RunScript(view);
            if (stretchable) stretchable->PaintPhase = 0;
        }
    } catch (const std::exception& error) {
        if (stretchable) stretchable->PaintPhase = 0;
        Fail(error);
    }
}

int BandEngine::ComputeHeight(PageRun& run, TfrBand& band)
{
    if (band.IsDataBand() && band.HasDataSource() && band.NextBand && !band.NextBand->HasDataSource()) {
        int sum = 0;
        for (TfrBand* b = &band; b && (b == &band || !b->HasDataSource()); b = b->NextBand) {
            if (b != &band && !b->Visible) continue;
            const int h = MeasuredHeight(run, *b);
            if (b != &band) b->ComputedHeight = h;
            sum += h;
        }
        band.ComputedHeight = std::max(band.ComputedHeight, sum);
        return band.ComputedHeight;
    }
    const int h = band.Stretched ? MeasuredHeight(run, band) : band.Height;
    band.ComputedHeight = std::max(band.ComputedHeight, h);
    return h;
}

int BandEngine::MeasuredHeight(PageRun& run, TfrBand& band)
{
    EngineContext& e = engine();
    TfrBandRuntime* const current = e.CurrentBand;
    e.CurrentBand = &band;
    int h = band.Height;
    for (TfrView* v : band.Objects) {
        if (v->RuntimeBand != &band) continue;
        TfrStretcheable* const stretchable = stretchableOf(*v);
        if (!stretchable) continue;
        const int height = v->Height;
        e.CurrentView = v;
        h = std::max(h, v->Top + stretchable->CalcHeight());
        v->Height = height;
    }
    if (band.HasCrossObjects && band.Typ != bandkind::PageFooter) h = std::max(h, MeasureCross(run, band));
    e.CurrentBand = current;
    return h;
}

bool BandEngine::CheckBreak(PageRun& run, TfrBand& band, int top, int height, bool noAction)
{
    if (band.Typ == bandkind::ColumnFooter) return false;
    if (top + height + run.Band(bandkind::ColumnFooter).Height <= run.BandAreaBottom) return false;
    if (!noAction) NewColumn(run, &band);
    return true;
}

void BandEngine::ResetAggregates(TfrBand& band)
{
    if (band.Typ == bandkind::GroupHeader) {
        for (TfrBand* g = &band; g; g = g->NextGroup) g->LastGroupValue = g->ConditionValue();
        return;
    }
    ::pemvora::report::ResetAggregates(band);
}

void BandEngine::Accumulate(TfrBand& band)
{
    if (band.Values.Count() == 0) {
        ++band.AggregateCount;
        return;
    }
    AccumulateAggregates(report_, band);
}

// ---------------------------------------------------------------- where later features join in

void BandEngine::SplitAcrossPages(PageRun& run, TfrBand& band)
{
    // Objects aligned to the band's bottom sit at the bottom of its final height.
    struct SavedRect {
        TfrView* view;
        int top, height;
    };
    std::vector<SavedRect> saved;
    for (TfrView* v : band.Objects) {
        saved.push_back({v, v->Top, v->Height});
        if (v->BandAlign == bandalign::Bottom) v->Top = band.ComputedHeight - v->Height;
    }
    struct Restore {
        std::vector<SavedRect>& saved;
        ~Restore()
        {
            for (const SavedRect& s : saved) {
                s.view->Top = s.top;
                s.view->Height = s.height;
            }
        }
    } restore{saved};

    if (CheckBreak(run, band, band.Top, band.SplitHeight, true))
        throw NotSupportedYet(fmt::format("The band \"{}\" ({} pixels high) does not fit into the {} pixels left on "
                                          "the page; printing a band over several pages is not supported yet",
                                          band.Name, band.SplitHeight,
                                          std::max(0, run.BandAreaBottom - run.Band(bandkind::ColumnFooter).Height - band.Top)));
    PrintObjects(run, band);
    run.CurY += band.SplitHeight;
}

bool BandEngine::RunSubReports(PageRun&, TfrBand& band, std::size_t firstSubReport)
{
    throw NotSupportedYet(fmt::format("The band \"{}\" holds the sub-report \"{}\"; printing sub-reports is not "
                                      "supported yet",
                                      band.Name, band.Objects[firstSubReport]->Name));
}

void BandEngine::PrintCross(PageRun&, TfrBand& band)
{
    throw NotSupportedYet(fmt::format("The band \"{}\" has objects in cross bands; printing cross columns is not "
                                      "supported yet",
                                      band.Name));
}

int BandEngine::MeasureCross(PageRun& run, TfrBand& band)
{
    PrintCross(run, band);
    return 0;
}

} // namespace pemvora::report
