// Printing one band: its script and forced breaks, its height, the check
// whether it fits, placing it at CurY, and writing its objects into the
// prepared page; with the accumulators of its aggregates.

#include "report/engine/band_engine.h"

#include "report/data/datasource.h"
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
                if (run.CurY + h + columnFooter > run.BandAreaBottom && !band->PageBreak && run.IsSubReportPage) {
                    // A sub-report goes on on the next page, unless it began at the top of one already.
                    if (run.CurY != run.RestartY || !run.RestartedOnNewPage) return true;
                    refuseBandThatNeverFits(run, *band, h, false);
                }
                if (run.CurY + h + columnFooter > run.BandAreaBottom && !band->PageBreak) {
                    const bool tallerThanPage = h > run.BandAreaBottom - TopEdge(run) && run.CurY == TopEdge(run);
                    // Nothing but headers on this page yet: another page would look the same.
                    if (!tallerThanPage && placedSinceBreak_ > 0 && breakDepth_ == 0) {
                        result = true;
                        if (run.IsSubReportPage) return true;
                        CheckBreak(run, *band, 0, 10000, false);
                    }
                    // A band that does not fit where a page or column begins never will.
                    if (run.CurY + h + columnFooter > run.BandAreaBottom)
                        refuseBandThatNeverFits(run, *band, h, !run.IsSubReportPage && breakDepth_ == 0 &&
                                                                   kind != PageHeader && kind != ColumnHeader);
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

// ---------------------------------------------------------------- bands over pages

void BandEngine::SplitAcrossPages(PageRun& run, TfrBand& band)
{
    EngineContext& e = engine();
    // Every object of the band, with where it was before the split: a split
    // moves objects up page by page and cuts stretchable ones where a page ends.
    struct Part {
        TfrView* view;
        TfrStretcheable* stretchable;
        int top, height;
        bool needsPrint = true;
        bool deferredPrint = false;   // its last part is printed once the band's final height is known
    };
    std::vector<Part> parts;
    for (TfrView* v : band.Objects) {
        if (v->RuntimeBand != &band || v->ObjectKind == kind::SubReport) continue;
        parts.push_back({v, stretchableOf(*v), v->Top, v->Height});
        if (v->BandAlign == bandalign::Bottom) v->Top = band.ComputedHeight - v->Height;
    }
    struct Restore {
        std::vector<Part>& parts;
        ~Restore()
        {
            for (const Part& p : parts) {
                p.view->Top = p.top;
                p.view->Height = p.height;
                if (p.stretchable) p.stretchable->PaintPhase = 0;
            }
        }
    } restore{parts};

    if (!CheckBreak(run, band, band.Top, band.SplitHeight, true)) {
        PrintObjects(run, band);
        run.CurY += band.SplitHeight;
        return;
    }

    // Objects below a cut one (and overlapping it sideways) move down by what
    // the cut left unused at the bottom of the page.
    const auto moveBelow = [&](const TfrView& cut, int extra) {
        for (Part& p : parts) {
            TfrView& v = *p.view;
            if (&v == &cut || v.Top < cut.Top + cut.Height) continue;
            if (v.Left >= cut.Left && v.Left <= cut.Left + cut.Width) v.Top += extra;
        }
    };
    // Prints the part of `p` that fits into `height` from its top, then adds
    // the unused rest of the page to its height.
    const auto printPart = [&](Part& p, int height) {
        TfrView& v = *p.view;
        const int fullHeight = v.Height;
        v.Height = height;
        const int extra = p.stretchable->RemainHeight();
        if (p.stretchable->MinHeight() < v.Height) {
            p.stretchable->PaintPhase = 2;
            PrintObject(run, band, v);
        }
        v.Height = fullHeight;
        moveBelow(v, extra);
        v.Height += extra;
    };

    int maxBottom = 0;
    for (bool firstRound = true;; firstRound = false) {
        const int avail = run.BandAreaBottom - run.Band(bandkind::ColumnFooter).Height - band.Top - 2;
        maxBottom = 0;
        bool progress = false;
        for (Part& p : parts) {
            if (!p.needsPrint) continue;
            TfrView& v = *p.view;
            const int extentBefore = v.Top + v.Height;
            if (v.Top >= 0 && v.Top < avail) {
                if (v.Top + v.Height < avail) {
                    PrintObject(run, band, v);
                    p.needsPrint = false;
                    maxBottom = std::max(maxBottom, v.Top + v.Height);
                } else if (p.stretchable) {
                    if (p.stretchable->PaintPhase == 0) {
                        // Not measured yet: its lines are made before the first part is cut off.
                        e.CurrentBand = &band;
                        e.CurrentView = &v;
                        const int height = v.Height;
                        try {
                            p.stretchable->CalcHeight();
                        } catch (const std::exception& error) {
                            v.Height = height;
                            Fail(error);
                            return;
                        }
                        v.Height = height;
                    }
                    printPart(p, avail - v.Top + 1);
                } else {
                    v.Top = avail;   // moves to the next page whole
                }
            } else if (v.Top < 0 && v.Top + v.Height >= 0 && p.stretchable) {
                // The rest of an object begun on an earlier page.
                if (v.Top + v.Height < avail) {
                    v.Height = v.Top + v.Height;
                    v.Top = 0;
                    maxBottom = std::max(maxBottom, v.Height);
                    p.stretchable->PaintPhase = 2;
                    p.needsPrint = false;
                    if (v.Flags & flag::Stretched) p.deferredPrint = true;
                    else PrintObject(run, band, v);
                } else {
                    const int top = v.Top;
                    const int height = v.Height;
                    v.Top = 0;
                    v.Height = avail;
                    const int extra = p.stretchable->RemainHeight();
                    p.stretchable->PaintPhase = 2;
                    PrintObject(run, band, v);
                    v.Top = top;
                    v.Height = height;
                    moveBelow(v, extra);
                    v.Height += extra;
                }
            }
            if (!p.needsPrint || v.Top + v.Height - avail < extentBefore) progress = true;
        }
        if (Terminated()) return;
        if (std::none_of(parts.begin(), parts.end(), [](const Part& p) { return p.needsPrint; })) break;
        // On a page of its own the band can do no better than here: a round
        // that moved nothing on would be repeated page after page.
        if (!firstRound && !progress) {
            const auto stuck = std::find_if(parts.begin(), parts.end(), [](const Part& p) { return p.needsPrint; });
            throw RunError(fmt::format("The band \"{}\" cannot be split over pages: the object \"{}\" ({} pixels "
                                       "high) cannot be cut to fit into the {} pixels of a page",
                                       band.Name, stuck->view->Name, stuck->view->Height, std::max(0, avail)));
        }
        for (Part& p : parts)
            if (p.needsPrint) p.view->Top -= avail;
        CheckBreak(run, band, band.Top, 10000, false);
        band.Top = run.CurY;
    }
    band.SplitHeight = maxBottom;

    for (Part& p : parts) {
        if (!p.deferredPrint) continue;
        p.view->Height = band.SplitHeight;
        PrintObject(run, band, *p.view);
    }
    run.CurY += band.SplitHeight;
}

// ---------------------------------------------------------------- where later features join in

bool BandEngine::RunSubReports(PageRun& run, TfrBand& band, std::size_t firstSubReport)
{
    EngineContext& e = engine();
    const int bandBottom = std::max(0, run.CurY + band.Height);
    const int p = e.PageNo;

    // Every sub-report records what its data loops would print.
    run.SubReports.clear();
    for (std::size_t i = firstSubReport; i < band.Objects.size(); ++i) {
        auto* view = dynamic_cast<TfrSubReportView*>(band.Objects[i]);
        if (!view || !view->Visible || view->SubPageIndex < 0 || view->SubPageIndex >= report_.Pages.Count()) continue;
        PageRun& sub = RunOf(report_.Pages[view->SubPageIndex]);
        // A page that is already printing (a sub-report of itself) is left out.
        bool busy = false;
        for (const PageRun* r = &run; r && !busy; r = r->Parent) busy = r == &sub;
        if (busy || !sub.BandsReady || std::find(run.SubReports.begin(), run.SubReports.end(), &sub) != run.SubReports.end())
            continue;
        setCurrentPage(sub);
        sub.Parent = &run;
        sub.RecordMode = 1;
        sub.RecordedSteps.clear();
        {
            // The data loop this band is printed from waits with its pending bands.
            std::vector<TfrBand*> pending, flushing;
            pending.swap(pending_);
            flushing.swap(flushing_);
            const int deepest = deepestLevel_;
            struct Resume {
                BandEngine& engine;
                std::vector<TfrBand*>& pending;
                std::vector<TfrBand*>& flushing;
                int deepest;
                ~Resume()
                {
                    engine.pending_.swap(pending);
                    engine.flushing_.swap(flushing);
                    engine.deepestLevel_ = deepest;
                }
            } resume{*this, pending, flushing, deepest};
            BuildPage(sub);
        }
        sub.CurY = sub.RestartY = view->Top + band.Top;
        sub.RestartedOnNewPage = false;
        sub.BandAreaBottom = run.BandAreaBottom;
        sub.ColumnOffsetX = run.ColumnOffsetX + view->Left;
        sub.Columns = 1;
        sub.ColumnIndex = 0;
        sub.ReplayPos = 0;
        sub.SuspendedBand = nullptr;
        sub.LastPrintedBand = nullptr;
        run.SubReports.push_back(&sub);
    }
    run.SubReportDone.assign(run.SubReports.size(), 0);
    run.SuspendedBand = nullptr;
    setCurrentPage(run);

    int bottom = run.CurY;
    if (!ContinueSubReports(run, band, bottom)) {
        run.SuspendedBand = &band;   // goes on when the page this one prints into goes on
        return true;
    }
    FinishSubReports(run, band, bottom);
    if (e.PageNo == p && run.CurY < bandBottom) run.CurY = bandBottom;
    return true;
}

bool BandEngine::ContinueSubReports(PageRun& run, TfrBand& band, int& bottom)
{
    for (;;) {
        band.SubReportsDone = true;
        bottom = run.CurY;
        for (std::size_t i = 0; i < run.SubReports.size() && !Terminated(); ++i) {
            if (run.SubReportDone[i]) continue;
            PageRun& sub = *run.SubReports[i];
            setCurrentPage(sub);
            const bool goesOn = ReplaySteps(sub);
            setCurrentPage(run);
            if (goesOn) {
                band.SubReportsDone = false;
            } else {
                run.SubReportDone[i] = 1;
                bottom = std::max(bottom, sub.CurY);
            }
        }
        if (band.SubReportsDone || Terminated()) return true;
        if (run.IsSubReportPage) return false;
        NewPage(run);
        for (std::size_t i = 0; i < run.SubReports.size(); ++i) {
            if (run.SubReportDone[i]) continue;
            PageRun& sub = *run.SubReports[i];
            sub.CurY = sub.RestartY = run.CurY;
            sub.RestartedOnNewPage = true;
            sub.BandAreaBottom = run.BandAreaBottom;
            sub.LastPrintedBand = nullptr;
        }
    }
}

void BandEngine::FinishSubReports(PageRun& run, TfrBand& band, int bottom)
{
    for (PageRun* sub : run.SubReports) {
        sub->RecordedSteps.clear();
        sub->RecordMode = 0;
        sub->Parent = nullptr;
    }
    run.SubReports.clear();
    run.SubReportDone.clear();
    run.CurY += std::max(band.ComputedHeight, bottom - run.CurY);
    engine().CurrentPage = &run.Page;
}

bool BandEngine::ReplaySteps(PageRun& sub)
{
    while (sub.ReplayPos < sub.RecordedSteps.size()) {
        if (Terminated()) return false;
        const RecordedStep step = sub.RecordedSteps[sub.ReplayPos];
        TfrBand& b = *step.Band;
        switch (step.Step) {
        case RecordedStep::FirstRecord:
            b.First();
            b.LineNo = 1;
            break;
        case RecordedStep::NextRecord:
            b.Next();
            sub.CurrentRecordNo += 1;
            b.LineThroughNo += 1;
            b.LineNo += 1;
            break;
        case RecordedStep::ShowBand:
            if (TfrBand* suspended = sub.SuspendedBand) {
                // The band's own sub-reports go on where this page went on.
                for (std::size_t i = 0; i < sub.SubReports.size(); ++i) {
                    if (sub.SubReportDone[i]) continue;
                    PageRun& inner = *sub.SubReports[i];
                    inner.CurY = inner.RestartY = sub.CurY;
                    inner.RestartedOnNewPage = sub.RestartedOnNewPage;
                    inner.BandAreaBottom = sub.BandAreaBottom;
                    inner.LastPrintedBand = nullptr;
                }
                int bottom = sub.CurY;
                if (!ContinueSubReports(sub, *suspended, bottom)) return true;
                sub.SuspendedBand = nullptr;
                FinishSubReports(sub, *suspended, bottom);
                suspended->SkipScriptOnce = false;   // it was not printed again
                break;
            }
            if (PrintBand(sub, &b)) {
                // Printed again on the next page: its script has run for this print.
                b.SkipScriptOnce = true;
                return true;
            }
            break;
        }
        sub.ReplayPos += 1;
    }
    return false;
}

// ---------------------------------------------------------------- cross columns

void BandEngine::PrintCross(PageRun& run, TfrBand& band)
{
    using namespace bandkind;
    if (band.Typ == PageFooter) return;
    EngineContext& e = engine();
    const int p = e.PageNo;
    struct EndOfColumns {
        EngineContext& e;
        int pageNo;
        ~EndOfColumns()
        {
            e.PageNo = pageNo;
            e.CrossShiftX = 0;
        }
    } endOfColumns{e, p};
    e.CrossShiftX = 0;
    run.ColumnNoValue = 1;
    int x = 0;
    if (report_.OnBeginColumn) report_.OnBeginColumn(band);

    TfrBand& header = run.Band(CrossHeader);
    // A column that does not fit the page's width continues on the next
    // prepared page, at the same height.
    const auto wrap = [&](int width) {
        if (x + width <= RightEdge(run)) return;
        e.CrossShiftX += x - LeftEdge(run);
        x = LeftEdge(run);
        e.PageNo += 1;
        if (e.PageNo >= pages_.Count()) {
            // The page the row band is on stays the page being filled.
            const int y = run.CurY;
            TfrBand* const lastPrinted = run.LastPrintedBand;
            const int placed = placedSinceBreak_;
            const std::int64_t records = recordsOnPage_;
            TfrBandRuntime* const current = e.CurrentBand;
            TfrView* const view = e.CurrentView;
            AddPreparedPage(run);
            ShowBand(run, &run.Band(Overlay));
            TfrBand& pageHeader = run.Band(PageHeader);
            if (p > 0 || (pageHeader.Flags & flag::OnFirstPage)) {
                run.CurY = TopEdge(run);
                ShowBand(run, &pageHeader);
            }
            run.CurY = y;
            run.LastPrintedBand = lastPrinted;
            placedSinceBreak_ = placed;
            recordsOnPage_ = records;
            e.CurrentBand = current;
            e.CurrentView = view;
            Progress(e.PageNo + 1);
        }
        if (header.View && (header.Flags & flag::RepeatHeader)) {
            PrintCrossCell(run, header, band, LeftEdge(run));
            x = LeftEdge(run) + header.Width;
        }
    };

    if (header.View) {
        scripts_.RunScript(*header.View);
        PrintCrossCell(run, header, band, header.Left);
        x = header.Left + header.Width;
    }

    TfrBand& data = run.Band(CrossData);
    if (data.View && !Terminated()) {
        if (x == 0) x = data.Left;
        TfrDataset* source = data.DataSet ? data.DataSet : band.CrossDataSet;
        // A master footer comes after its records: it gets as many columns as the rows had.
        std::unique_ptr<TfrUserDataset> counted;
        if (band.Typ == MasterFooter && source && source->Eof()) {
            counted = std::make_unique<TfrUserDataset>();
            counted->RangeEnd = reCount;
            counted->RangeEndCount = data.CrossRecordMax;
            source = counted.get();
        }
        const int designWidth = data.Width;
        struct RestoreWidth {
            TfrBand& band;
            int width;
            ~RestoreWidth() { band.Width = width; }
        } restoreWidth{data, designWidth};
        int records = 0;
        if (source) {
            source->First();
            while (!source->Eof() && !Terminated()) {
                if (records >= control_.RecordLimit)
                    throw RunError(fmt::format("The cross columns of band \"{}\" went on for more than {} records and "
                                               "were stopped; a data source that never ends?",
                                               band.Name, control_.RecordLimit));
                e.CurrentView = data.View;
                int width = designWidth;
                if (report_.OnPrintColumn) report_.OnPrintColumn(run.ColumnNoValue, width);
                data.Width = width;
                scripts_.RunScript(*data.View);
                wrap(data.Width);
                PrintCrossCell(run, data, band, x);
                Accumulate(data);
                if (band.IsDataBand()) Accumulate(band);
                x += data.Width;
                run.ColumnNoValue += 1;
                ++records;
                source->Next();
            }
        }
        data.CrossRecordMax = std::max(data.CrossRecordMax, records);
    }

    TfrBand& footer = run.Band(CrossFooter);
    if (footer.View && !Terminated()) {
        if (x == 0) x = footer.Left;
        scripts_.RunScript(*footer.View);
        wrap(footer.Width);
        PrintCrossCell(run, footer, band, x);
        ResetAggregates(footer);
    }
}

void BandEngine::PrintCrossCell(PageRun& run, TfrBand& crossBand, TfrBand& rowBand, int x)
{
    (void)run;
    EngineContext& e = engine();
    e.CurrentBand = &crossBand;
    crossBand.LineNo = rowBand.LineNo;
    crossBand.LineThroughNo = rowBand.LineThroughNo;
    if (crossBand.Typ == bandkind::CrossData) crossBand.AggregateBand = &rowBand;
    for (TfrView* v : crossBand.Objects) {
        if (std::find(rowBand.Objects.begin(), rowBand.Objects.end(), v) == rowBand.Objects.end()) continue;
        TfrStretcheable* const stretchable = stretchableOf(*v);
        try {
            e.CurrentView = v;
            if (e.MeasuringPass) {
                scripts_.RunScript(*v);
            } else {
                struct Shift {
                    TfrView& view;
                    int left, top;
                    ~Shift()
                    {
                        view.Left = left;
                        view.Top = top;
                    }
                } shift{*v, v->Left, v->Top};
                v->Left += x;
                v->Top += rowBand.Top;
                v->Print(pages_.Page(e.PageNo).Stream);
            }
            if (stretchable) stretchable->PaintPhase = 0;
        } catch (const std::exception& error) {
            if (stretchable) stretchable->PaintPhase = 0;
            Fail(error);
            return;
        }
    }
}

int BandEngine::MeasureCross(PageRun& run, TfrBand& band)
{
    EngineContext& e = engine();
    TfrBand& data = run.Band(bandkind::CrossData);
    TfrDataset* const source = data.DataSet ? data.DataSet : band.CrossDataSet;
    run.ColumnNoValue = 1;
    if (report_.OnBeginColumn) report_.OnBeginColumn(band);
    if (!data.View || !source) return 0;
    int largest = 0;
    source->First();
    for (std::int64_t records = 0; !source->Eof() && !Terminated(); ++records) {
        if (records >= control_.RecordLimit)
            throw RunError(fmt::format("The cross columns of band \"{}\" went on for more than {} records and were "
                                       "stopped; a data source that never ends?",
                                       band.Name, control_.RecordLimit));
        int width = data.Width;
        if (report_.OnPrintColumn) report_.OnPrintColumn(run.ColumnNoValue, width);
        int h = band.Height;
        for (TfrView* v : band.Objects) {
            TfrStretcheable* const stretchable = stretchableOf(*v);
            if (!stretchable) continue;
            e.CurrentBand = v->RuntimeBand == &band ? &band : v->RuntimeBand;
            e.CurrentView = v;
            const int height = v->Height;
            h = std::max(h, v->Top + stretchable->CalcHeight());
            v->Height = height;
            stretchable->PaintPhase = 0;
        }
        band.ComputedHeight = h;
        largest = std::max(largest, h);
        run.ColumnNoValue += 1;
        source->Next();
    }
    e.CurrentBand = &band;
    band.ComputedHeight = std::max(band.ComputedHeight, largest);
    return largest;
}

} // namespace pemvora::report
