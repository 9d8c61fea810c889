// A pass over the report: template pages into prepared pages, the data loops
// with their headers, footers and groups, page and column breaks, and the
// names of the running report that expressions read.

#include "report/engine/band_engine.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "report/canvas/canvas.h"
#include "report/data/datasource.h"
#include "report/engine/prepared_pages.h"
#include "report/model/memo.h"
#include "report/model/objects.h"
#include "report/model/report.h"
#include "report/script/scriptrun.h"
#include "report/script/valueops.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

namespace pemvora::report {

namespace {

constexpr int kDataKinds[] = {bandkind::MasterData, bandkind::DetailData, bandkind::SubdetailData};

// A group's condition changed: values that cannot be compared count as changed.
bool differs(const Value& a, const Value& b)
{
    try {
        return !ops::equals(a, b, defaultLocale());
    } catch (const std::exception&) {
        return true;
    }
}

// The band's text objects forget the text they printed last (for Suppress).
void clearLastPrinted(TfrBand& band)
{
    for (TfrView* v : band.Objects)
        if (v->ObjectKind == kind::Memo)
            if (auto* memo = dynamic_cast<TfrMemoView*>(v)) memo->LastPrintedText.clear();
}

void fireEndPage(int pageNo)
{
    EngineContext& e = engine();
    TfrReport* current = e.CurrentReport;
    TfrReport* root = e.RootReport;
    if (current && current->OnEndPage) current->OnEndPage(pageNo);
    if (root && root != current && root->OnEndPage) root->OnEndPage(pageNo);
}

} // namespace

// ---------------------------------------------------------------- the pass

void BandEngine::RunPass()
{
    EngineContext& e = engine();
    e.Running = 1;
    e.CurrentReport = &report_;
    if (!e.RootReport) e.RootReport = &report_;
    report_.Dictionary.EmptyCache();
    evaluatorFor(report_);
    e.ErrorFlag = false;

    TfrDataset* const multiple = report_.ReportType == TfrReportType::rtMultiple ? report_.Dataset : nullptr;
    if (multiple) {
        multiple->Prepare();
        multiple->First();
    }
    struct ReleaseMultiple {
        TfrDataset* source;
        ~ReleaseMultiple()
        {
            if (source) source->Release();
        }
    } releaseMultiple{multiple};

    TfrPages& pages = report_.Pages;
    if (passes_ == 0) {
        e.NotifyList.clear();
        for (int j = 0; j < pages.Count(); ++j) RunOf(pages[j]).IsSubReportPage = false;
        e.StopRequested = false;
        // Dialog pages hold no controls in this system: their scripts run.
        for (int j = 0; j < pages.Count() && !e.StopRequested; ++j) {
            if (pages[j].Type != pagetype::Dialog) continue;
            setCurrentPage(RunOf(pages[j]));
            scripts_.RunPageScript(pages[j]);
        }
    }
    ++passes_;
    if (e.StopRequested) return;

    for (int j = 0; j < pages.Count(); ++j)
        if (pages[j].Type == pagetype::Report) PrepareForRun(RunOf(pages[j]));
    if (passes_ == 1)
        for (int j = 0; j < pages.Count(); ++j)
            if (pages[j].Type == pagetype::Report) PrepareAggregates(RunOf(pages[j]));

    do {
        Progress(e.PageNo + 1);
        for (int j = 0; j < pages.Count(); ++j) {
            TfrPage& page = pages[j];
            PageRun& run = RunOf(page);
            setCurrentPage(run);
            run.Index = j + 1;
            if (!page.Visible) scripts_.RunPageScript(page);
            if (!run.IsSubReportPage && page.Type != pagetype::Dialog && page.Visible) {
                run.RecordMode = 0;
                BuildPage(run);
                e.AppendToPrevious = false;
                if (j + 1 < pages.Count() && pages[j + 1].PrintToPrevPage) {
                    e.PageNo -= 1;
                    e.AppendToPrevious = true;
                } else {
                    e.PageNo = pages_.Count();
                    Progress(e.PageNo);
                }
            }
            if (Terminated()) break;
        }
        Progress(e.PageNo);
        if (!multiple) break;
        multiple->Next();
    } while (!Terminated() && !multiple->Eof());
}

bool BandEngine::Terminated() const
{
    const TfrReport* root = engine().RootReport;
    return report_.Terminated || (root && root->Terminated);
}

void BandEngine::Progress(int pageNo)
{
    if (control_.Progress) control_.Progress(pageNo);
    else if (report_.OnProgress) report_.OnProgress(pageNo);
}

void BandEngine::Fail(const std::exception& error)
{
    EngineContext& e = engine();
    if (!e.ErrorFlag) e.ErrorText = CalculationErrorText(reportName_, e.CurrentView, error.what());
    e.ErrorFlag = true;
    report_.Terminated = true;
    if (e.RootReport) e.RootReport->Terminated = true;
}

void BandEngine::setCurrentPage(PageRun& run)
{
    engine().CurrentPage = &run.Page;
    current_ = &run;
}

// ---------------------------------------------------------------- a page

void BandEngine::BuildPage(PageRun& run)
{
    EngineContext& e = engine();
    TfrPage& page = run.Page;
    using namespace bandkind;

    if (!report_.PrintIfEmpty) {
        bool empty = true;
        try {
            TfrBand& master = run.Band(MasterData);
            if (master.View && master.HasDataSource()) {
                master.First();
                empty = master.Eof();
            }
        } catch (const std::exception&) {
            empty = true;
        }
        if (empty) {
            if (e.AppendToPrevious) e.PageNo += 1;
            return;
        }
    }
    run.SuppressRepeat = false;

    if (run.RecordMode == 0) {
        scripts_.RunPageScript(page);
        if (e.AppendToPrevious && e.SavedCurY == e.SavedBottom) {
            // The previous page ended full: this one starts a page of its own.
            e.AppendToPrevious = false;
            e.FooterDone = false;
            e.PageNo = pages_.Count();
        }
        run.BandAreaBottom = e.AppendToPrevious && e.FooterDone ? e.SavedBottom : BottomEdge(run);
        run.ColumnIndex = 0;
        run.ColumnOffsetX = LeftEdge(run);
        const bool appended = e.AppendToPrevious;
        if (!appended) {
            AddPreparedPage(run);
            run.CurY = TopEdge(run);
            ShowBand(run, &run.Band(Overlay));
            ShowBand(run, &run.Band(None));
        } else {
            run.CurY = e.SavedCurY;
        }
        const int pageNo = e.PageNo;
        if (!report_.OnManualBuild) ShowBand(run, &run.Band(ReportTitle));
        if (e.PageNo == pageNo) {
            TfrBand& header = run.Band(PageHeader);
            if (!appended && header.View && (header.Flags & flag::OnFirstPage)) ShowBand(run, &header);
            ShowBand(run, &run.Band(ColumnHeader));
        }
    }

    if (!report_.OnManualBuild) {
        pending_.clear();
        deepestLevel_ = 0;
        for (int level = 1; level <= 3; ++level)
            if (run.Band(kDataKinds[level - 1]).View) deepestLevel_ = level;
        RunDataLevel(run, 1);
    }

    if (run.RecordMode == 0) {
        if (report_.OnManualBuild) {
            report_.OnManualBuild(page);
        } else {
            run.SuppressRepeat = true;
            ShowBand(run, &run.Band(ColumnFooter));
            TfrBand& columnFooter = run.Band(ColumnFooter);
            const int footerHeight = columnFooter.Height;
            columnFooter.Height = 0;
            struct RestoreHeight {
                TfrBand& band;
                int height;
                ~RestoreHeight() { band.Height = height; }
            } restore{columnFooter, footerHeight};
            ShowBand(run, &run.Band(ReportSummary));
            run.SuppressRepeat = false;
        }
        e.SavedCurY = run.CurY;
        e.SavedBottom = run.BandAreaBottom;
        if (run.ColumnIndex > 0) e.SavedCurY = BottomEdge(run);   // a page that ended in a later column is full
        run.ColumnIndex = 0;
        run.ColumnOffsetX = LeftEdge(run);
        const int p = e.PageNo;
        e.FooterDone = false;
        if (!report_.OnManualBuild) {
            TfrBand& footer = run.Band(PageFooter);
            if ((e.PageNo == 0 && (footer.Flags & flag::OnFirstPage)) || (footer.Flags & flag::OnLastPage)) {
                const std::uint16_t flags = footer.Flags;
                footer.Flags |= flag::OnFirstPage;
                e.FooterDone = footer.Exists();
                if (e.FooterDone) PrintPageFooters(run);
                footer.Flags = flags;
            }
        }
        fireEndPage(e.PageNo);
        e.PageNo = p + 1;
    }
    run.LastPrintedBand = nullptr;
}

void BandEngine::ShowBand(PageRun& run, TfrBand* band)
{
    if (!band) return;
    if (run.RecordMode == 1) run.RecordedSteps.push_back({band, RecordedStep::ShowBand});
    else PrintBand(run, band);
}

void BandEngine::AddPreparedPage(PageRun& run)
{
    if (pages_.Count() >= control_.PageLimit)
        throw RunError(fmt::format("The report has reached {} pages and was stopped; "
                                   "a data source that never ends?",
                                   control_.PageLimit));
    pages_.Add(run.Page);
    recordsOnPage_ = 0;
    placedSinceBreak_ = 0;
}

// ---------------------------------------------------------------- data loops

void BandEngine::push(TfrBand* band)
{
    if (band) pending_.push_back(band);
}

void BandEngine::dropLast()
{
    if (!pending_.empty()) pending_.pop_back();
}

void BandEngine::flush(PageRun& run)
{
    flushing_.clear();
    flushing_.swap(pending_);
    for (TfrBand* band : flushing_)
        if (band->Exists()) ShowBand(run, band);
    flushing_.clear();
}

void BandEngine::countRecord(TfrBand& band)
{
    if (++recordsOnPage_ > control_.RecordLimit)
        throw RunError(fmt::format("The data of band \"{}\" went on for more than {} records without filling a "
                                   "page and was stopped; a data source that never ends?",
                                   band.Name, control_.RecordLimit));
}

void BandEngine::RunDataLevel(PageRun& run, int level)
{
    for (TfrBand* b = &run.Band(kDataKinds[level - 1]); b; b = b->NextBand) {
        if (!b->HasDataSource()) continue;   // printed with the band before it
        b->First();
        if (run.RecordMode == 1) {
            run.RecordedSteps.push_back({b, RecordedStep::FirstRecord});
        } else {
            b->LineNo = 1;
            clearLastPrinted(*b);
            b->LineThroughNo = 1;
        }
        for (TfrBand* g = b->FirstGroup; g; g = g->NextGroup) {
            g->LineNo = 0;
            clearLastPrinted(*g);
            g->LineThroughNo = 0;
        }
        if (b->Eof()) continue;

        for (TfrBand* g = b->FirstGroup; g; g = g->NextGroup) {
            g->LineNo += 1;
            g->LineThroughNo += 1;
            push(g);
        }
        push(b->HeaderBand);
        if (b->FooterBand) ResetAggregates(*b->FooterBand);

        while (!b->Eof() && !Terminated()) {
            countRecord(*b);
            bool printed = true;
            push(b);
            if (b->PrintIfSubsetEmpty) flush(run);
            if (level < deepestLevel_) {
                RunDataLevel(run, level + 1);
                if (!pending_.empty()) {
                    if (b->PrintIfSubsetEmpty) {
                        flush(run);
                    } else {
                        dropLast();
                        printed = false;
                    }
                }
            } else {
                flush(run);
            }
            b->Next();

            for (TfrBand* g = b->FirstGroup; g; g = g->NextGroup) {
                const bool atEnd = b->Eof();
                if (!atEnd && !g->LastGroupValue.isEmpty() && !differs(g->ConditionValue(), g->LastGroupValue))
                    continue;
                // The footers see the group's last record.
                bool broke = true;
                if (!atEnd) {
                    try {
                        b->Prior();
                    } catch (const std::exception&) {
                        broke = false;
                    }
                }
                for (TfrBand* h = b->LastGroup; h && h != g; h = h->PrevGroup) {
                    push(h->FooterBand);
                    h->LineNo = 0;
                    if (h->FooterBand) h->FooterBand->LineNo = 0;
                }
                push(g->FooterBand);
                flush(run);
                if (b->Eof()) break;
                if (broke) b->Next();
                if (g->NewPageAfter && g->Visible) NewPage(run);
                for (TfrBand* h = g; h; h = h->NextGroup) {
                    h->LineNo += 1;
                    h->LineThroughNo += 1;
                    push(h);
                }
                b->LineNo = 0;
                break;
            }

            if (run.RecordMode == 1) {
                run.RecordedSteps.push_back({b, RecordedStep::NextRecord});
            } else if (printed) {
                run.CurrentRecordNo += 1;
                b->LineThroughNo += 1;
                b->LineNo += 1;
                if (!b->Eof() && b->NewPageAfter && b->Visible) NewPage(run);
            }
        }
        if (pending_.empty()) ShowBand(run, b->FooterBand);
        else dropLast();   // no row printed: the footer is not printed either
    }
}

// ---------------------------------------------------------------- breaks

void BandEngine::NewPage(PageRun& run)
{
    EngineContext& e = engine();
    Progress(e.PageNo + 1);
    ++breakDepth_;
    struct EndOfBreak {
        int& depth;
        ~EndOfBreak() { --depth; }
    } endOfBreak{breakDepth_};
    using namespace bandkind;
    if (!run.SuppressRepeat) ShowBand(run, &run.Band(ColumnFooter));
    PrintPageFooters(run);
    run.BandAreaBottom = BottomEdge(run);
    AddPreparedPage(run);
    e.AppendToPrevious = false;
    ShowBand(run, &run.Band(Overlay));
    run.CurY = TopEdge(run);
    ShowBand(run, &run.Band(PageHeader));   // on every page after the first, whatever OnFirstPage says
    ShowBand(run, &run.Band(ColumnHeader));
}

void BandEngine::NewColumn(PageRun& run, TfrBand* band)
{
    using namespace bandkind;
    ++breakDepth_;
    struct EndOfBreak {
        int& depth;
        ~EndOfBreak() { --depth; }
    } endOfBreak{breakDepth_};
    if (run.ColumnIndex < run.Columns - 1) {
        ShowBand(run, &run.Band(ColumnFooter));
        run.ColumnIndex += 1;
        run.ColumnOffsetX += run.ColumnWidth + run.Page.ColumnGap;
        run.CurY = run.ColumnTopY;
        ShowBand(run, &run.Band(ColumnHeader));
    } else {
        NewPage(run);
    }
    for (TfrBand* g = &run.Band(GroupHeader); g && g != band; g = g->NextBand) {
        if (!g->View || !(g->Flags & flag::RepeatHeader) || run.SuppressRepeat) continue;
        g->SuppressReset = true;
        struct EndOfRepeat {
            TfrBand& g;
            ~EndOfRepeat() { g.SuppressReset = false; }
        } endOfRepeat{*g};
        ShowBand(run, g);
    }
    if (band && band->IsDataBand() && band->HeaderBand && (band->HeaderBand->Flags & flag::RepeatHeader))
        ShowBand(run, band->HeaderBand);
}

void BandEngine::PrintPageFooters(PageRun& run)
{
    EngineContext& e = engine();
    run.ColumnIndex = 0;
    run.ColumnOffsetX = LeftEdge(run);
    TfrBand& footer = run.Band(bandkind::PageFooter);
    if (!(e.PageNo == 0 && !(footer.Flags & flag::OnFirstPage))) {
        while (e.PageNo < pages_.Count()) {
            if (!(e.AppendToPrevious && e.FooterDone)) {
                fireEndPage(e.PageNo);
                ShowBand(run, &footer);
            }
            e.PageNo += 1;
        }
    }
    e.PageNo = pages_.Count();
}

// ---------------------------------------------------------------- edges

int BandEngine::TopEdge(const PageRun& run) const { return run.Page.TopEdge(); }
int BandEngine::LeftEdge(const PageRun& run) const { return run.Page.LeftEdge(); }
int BandEngine::RightEdge(const PageRun& run) const { return run.Page.RightEdge(); }

int BandEngine::BottomEdge(const PageRun& run) const
{
    int bottom = run.Page.BottomEdge();
    if (engine().Running != 0 && run.Bands[bandkind::PageFooter] && run.Band(bandkind::PageFooter).View)
        bottom -= run.Band(bandkind::PageFooter).Height;
    return bottom;
}

// ---------------------------------------------------------------- names of the run

TfrBand* BandEngine::currentBand() const { return dynamic_cast<TfrBand*>(engine().CurrentBand); }

int BandEngine::LineNo()
{
    TfrBand* band = currentBand();
    if (!band) return 0;
    if (band->IsDataBand() && !band->HasDataSource()) band = &RunOf(band->Page).Band(band->Typ);
    return band->LineNo;
}

int BandEngine::LineThroughNo()
{
    TfrBand* band = currentBand();
    if (!band) return 0;
    if (band->IsDataBand() && !band->HasDataSource()) band = &RunOf(band->Page).Band(band->Typ);
    return band->LineThroughNo;
}

namespace {
PageRun* runOfCurrentPage(BandEngine& engineRun)
{
    TfrPage* page = engine().CurrentPage;
    return page ? &engineRun.RunOf(*page) : nullptr;
}
} // namespace

int BandEngine::ColumnNo()
{
    PageRun* run = runOfCurrentPage(*this);
    return run ? run->ColumnNoValue : 0;
}

int BandEngine::CurrentRecordNo()
{
    PageRun* run = runOfCurrentPage(*this);
    return run ? run->CurrentRecordNo : 0;
}

int BandEngine::CurY()
{
    PageRun* run = runOfCurrentPage(*this);
    return run ? run->CurY : 0;
}

int BandEngine::BandAreaBottom()
{
    PageRun* run = runOfCurrentPage(*this);
    return run ? run->BandAreaBottom : 0;
}

int BandEngine::RightEdge()
{
    PageRun* run = runOfCurrentPage(*this);
    return run ? RightEdge(*run) : 0;
}

void BandEngine::SetCurY(int y)
{
    PageRun* run = runOfCurrentPage(*this);
    if (!run) return;
    run->CurY = y;
    if (TfrBand* band = currentBand(); band && (band->ForceNewPageCount > 0 || band->ForceNewColumnCount > 0))
        band->KeepAssignedCurY = true;
}

void BandEngine::SetModalResult(int)
{
    // Dialog pages show no forms in this system: there is nothing to close.
}

void BandEngine::ShowProgress(const std::string& text)
{
    if (control_.ProgressText) control_.ProgressText(text);
}

int BandEngine::TextWidth(TfrView& view)
{
    auto* memo = dynamic_cast<TfrMemoView*>(&view);
    // A text that asks for its own width while it is measured has its box's width.
    if (!memo || measuringWidth_) return view.Width;
    measuringWidth_ = true;
    struct EndOfMeasure {
        bool& flag;
        ~EndOfMeasure() { flag = false; }
    } endOfMeasure{measuringWidth_};
    memo->ExpandText();
    Canvas& canvas = scratchCanvas();
    canvas.setFont(memo->DeviceFont(canvas));
    canvas.setCharSpacing(memo->CharSpacing);
    int widest = 0;
    for (std::string line : memo->WorkLines) {
        std::erase(line, kEndOfParagraph);
        widest = std::max(widest, canvas.textWidth(line));
    }
    canvas.setCharSpacing(0);
    return static_cast<int>(std::lround(widest + memo->FrameWidth + 2 * memo->GapX + 1));
}

TfrDataset* BandEngine::DefaultDataSource()
{
    TfrBand* band = currentBand();
    if (!band || band->Page.Type != pagetype::Report) return nullptr;
    using namespace bandkind;
    int dataKind = -1;
    switch (band->Typ) {
    case ReportTitle:
    case ReportSummary:
    case PageHeader:
    case PageFooter:
    case MasterHeader:
    case MasterData:
    case MasterFooter:
    case GroupHeader:
    case GroupFooter: dataKind = MasterData; break;
    case DetailData:
    case DetailFooter: dataKind = DetailData; break;
    case SubdetailData:
    case SubdetailFooter: dataKind = SubdetailData; break;
    case CrossData:
    case CrossFooter: dataKind = CrossData; break;
    default: return nullptr;
    }
    PageRun& run = RunOf(band->Page);
    return run.Bands[static_cast<std::size_t>(dataKind)] ? run.Band(dataKind).DataSet : nullptr;
}

void BandEngine::ShowBandByName(const std::string& name)
{
    PageRun* run = runOfCurrentPage(*this);
    if (!run || !run->BandsReady) return;
    EngineContext& e = engine();
    TfrBandRuntime* const band = e.CurrentBand;
    TfrView* const view = e.CurrentView;
    for (int k = 0; k < bandkind::Count; ++k)
        for (TfrBand* b = &run->Band(k); b; b = b->NextBand)
            if (b->View && text::equalsNoCase(b->View->Name, name)) {
                PrintBand(*run, b);
                e.CurrentBand = band;
                e.CurrentView = view;
                return;
            }
}

} // namespace pemvora::report
