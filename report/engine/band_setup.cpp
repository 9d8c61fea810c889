// Making the run-time bands of a template page and taking them down again:
// distributing the objects among the bands, linking headers, footers, groups
// and child bands, binding whole-field objects and registering aggregates.

#include "report/engine/band_engine.h"

#include "platform/text/gbk.h"
#include "report/data/datasource.h"
#include "report/data/dictionary.h"
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

TfrBandView* asBandView(TfrView* view) { return view->ObjectKind == kind::Band ? dynamic_cast<TfrBandView*>(view) : nullptr; }

bool topWithin(const TfrView& view, const TfrBand& band)
{
    return view.Top >= band.Top && view.Top <= band.Top + band.Height;
}

// The bands of a chain, from its first.
std::vector<TfrBand*> chainOf(TfrBand* first)
{
    std::vector<TfrBand*> bands;
    for (TfrBand* b = first; b; b = b->NextBand) bands.push_back(b);
    return bands;
}

// The position of the last `c` of GBK text that is a character of its own
// (not the second byte of a Chinese character); npos when there is none.
std::size_t lastChar(std::string_view s, char c)
{
    std::size_t found = std::string_view::npos;
    for (std::size_t i = 0; i < s.size(); i = text::nextChar(s, i))
        if (s[i] == c) found = i;
    return found;
}

std::string baseName(const std::string& path)
{
    const std::size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

} // namespace

std::string ReportNameFor(const TfrReport& report, const RunControl& control)
{
    return control.ReportName.empty() ? baseName(report.TemplateFileName) : control.ReportName;
}

std::string CalculationErrorText(const std::string& reportName, const TfrView* currentObject,
                                 const std::string& message)
{
    std::string text = "An error occured during calculating";
    if (currentObject)
        for (const std::string& line : currentObject->Memo) text += "\r" + line;
    text += "\r\rReport: " + reportName + "\r";
    if (currentObject) text += "Object: " + currentObject->Name + "\r";
    text += "\r" + message;
    return text;
}

BandEngine::BandEngine(TfrReport& report, ReportScripts& scripts, TfrEMFPages& pages, RunControl control)
    : report_(report), scripts_(scripts), pages_(pages), control_(std::move(control)),
      previousRun_(engine().Run), previousProcedures_(engine().Procedures)
{
    reportName_ = ReportNameFor(report_, control_);
    engine().Run = this;
    engine().Procedures = this;
}

BandEngine::~BandEngine()
{
    for (const auto& run : runs_) FinishRun(*run);
    // The objects go back to the places they had in the template.
    for (const SavedPlace& p : savedPlaces_) {
        p.view->Left = p.left;
        p.view->Top = p.top;
        p.view->Width = p.width;
        p.view->Height = p.height;
    }
    EngineContext& e = engine();
    if (e.Run == this) e.Run = previousRun_;
    if (e.Procedures == this) e.Procedures = previousProcedures_;
    e.CurrentBand = nullptr;
    e.NotifyList.clear();
}

PageRun& BandEngine::RunOf(TfrPage& page)
{
    if (current_ && &current_->Page == &page) return *current_;
    for (const auto& run : runs_)
        if (&run->Page == &page) return *run;
    runs_.push_back(std::make_unique<PageRun>(page));
    return *runs_.back();
}

TfrBand& BandEngine::newBand(PageRun& run, int kind)
{
    run.OwnedBands.push_back(std::make_unique<TfrBand>(kind, run.Page, report_));
    return *run.OwnedBands.back();
}

void BandEngine::PrepareForRun(PageRun& run)
{
    if (run.BandsReady) {
        // The final pass of a two-pass run goes over the bands of the first.
        for (const auto& view : run.Page.PageObjects)
            if (auto* memo = dynamic_cast<TfrMemoView*>(view.get())) memo->LastPrintedText.clear();
        for (TfrBand* first : run.Bands) first->First();
        // CURRENT# and COLUMN# count the final pass from its start too.
        run.CurrentRecordNo = 1;
        run.ColumnNoValue = 1;
        return;
    }
    for (int k = 0; k < bandkind::Count; ++k) run.Bands[static_cast<std::size_t>(k)] = &newBand(run, k);
    BuildRuntimeBands(run);
    run.CurrentRecordNo = 1;
    run.ColumnNoValue = 1;
    run.BandsReady = true;
}

void BandEngine::BuildRuntimeBands(PageRun& run)
{
    EngineContext& e = engine();
    TfrPage& page = run.Page;
    std::vector<TfrView*> objects;
    for (const auto& view : page.PageObjects) objects.push_back(view.get());
    std::vector<char> needsPlacement(objects.size(), 0);

    for (std::size_t i = 0; i < objects.size(); ++i) {
        TfrView* v = objects[i];
        savedPlaces_.push_back({v, v->Left, v->Top, v->Width, v->Height});
        v->PreparedMode = true;
        if (v->Flags & flag::NotifyView) e.NotifyList.push_back(v);
        needsPlacement[i] = asBandView(v) == nullptr;
        v->RuntimeBand = nullptr;
        scripts_.Compile(*v);
        if (auto* sub = dynamic_cast<TfrSubReportView*>(v);
            sub && sub->SubPageIndex >= 0 && sub->SubPageIndex < report_.Pages.Count())
            RunOf(report_.Pages[sub->SubPageIndex]).IsSubReportPage = true;
    }

    // Cross bands: one band per kind; objects inside their width belong to them.
    bool anyCross = false;
    for (TfrView* v : objects) {
        TfrBandView* view = asBandView(v);
        if (!view || !bandkind::isCross(view->BandKind())) continue;
        TfrBand& band = run.Band(view->BandKind());
        band.TakeView(*view);
        band.OpenDataSource(view->DisplayFormatText);
        anyCross = true;
    }
    if (anyCross) {
        for (int k : {bandkind::CrossHeader, bandkind::CrossData, bandkind::CrossFooter}) {
            TfrBand& band = run.Band(k);
            if (!band.View) continue;
            for (std::size_t i = 0; i < objects.size(); ++i) {
                TfrView* v = objects[i];
                if (!needsPlacement[i] || v->RuntimeBand || v->Left < band.Left ||
                    v->Left + v->Width > band.Left + band.Width)
                    continue;
                v->Left -= band.Left;
                v->RuntimeBand = &band;
                band.Objects.push_back(v);
            }
        }
    }

    // Horizontal bands, kind by kind; an object whose top lies in two bands
    // goes to the band handled first.
    for (int k = 0; k <= bandkind::Child; ++k) {
        if (bandkind::isCross(k)) continue;
        std::vector<TfrBand*> chain;
        for (TfrView* v : objects) {
            TfrBandView* view = asBandView(v);
            if (!view || view->BandKind() != k) continue;
            TfrBand& band = chain.empty() ? run.Band(k) : newBand(run, k);
            band.TakeView(*view);
            band.OpenDataSource(view->DisplayFormatText);
            band.Stretched = (band.Flags & flag::Stretched) != 0;
            band.PrintIfSubsetEmpty = (band.Flags & flag::PrintIfSubsetEmpty) != 0;
            band.PrintChildIfInvisible = (band.Flags & flag::PrintChildIfInvisible) != 0;
            band.NewPageAfter = (band.Flags & flag::FormNewPage) != 0 && !run.IsSubReportPage;
            band.PageBreak = (band.Flags & flag::Breaked) != 0 && !run.IsSubReportPage;
            // Ordinary objects first, then the row parts of cross objects, sub-reports last.
            for (std::size_t i = 0; i < objects.size(); ++i) {
                TfrView* o = objects[i];
                if (!needsPlacement[i] || o->RuntimeBand || o->ObjectKind == kind::SubReport || !topWithin(*o, band)) continue;
                o->Top -= band.Top;
                o->RuntimeBand = &band;
                band.Objects.push_back(o);
                needsPlacement[i] = 0;
            }
            for (std::size_t i = 0; i < objects.size(); ++i) {
                TfrView* o = objects[i];
                if (!needsPlacement[i] || !o->RuntimeBand || !bandkind::isCross(o->RuntimeBand->Typ) || !topWithin(*o, band))
                    continue;
                o->Top -= band.Top;
                band.Objects.push_back(o);
                band.HasCrossObjects = true;
                needsPlacement[i] = 0;
            }
            for (std::size_t i = 0; i < objects.size(); ++i) {
                TfrView* o = objects[i];
                if (!needsPlacement[i] || o->RuntimeBand || o->ObjectKind != kind::SubReport || !topWithin(*o, band)) continue;
                o->Top -= band.Top;
                o->RuntimeBand = &band;
                band.Objects.push_back(o);
                needsPlacement[i] = 0;
            }
            chain.push_back(&band);
        }
        if (chain.empty()) continue;
        // Selection sort by top; the first of equal tops stays first.
        for (std::size_t i = 0; i < chain.size(); ++i) {
            std::size_t lowest = i;
            for (std::size_t j = i + 1; j < chain.size(); ++j)
                if (chain[j]->Top < chain[lowest]->Top) lowest = j;
            if (lowest != i && chain[lowest]->Top < chain[i]->Top) std::swap(chain[i], chain[lowest]);
        }
        for (std::size_t i = 0; i < chain.size(); ++i) {
            chain[i]->PrevBand = i > 0 ? chain[i - 1] : nullptr;
            chain[i]->NextBand = i + 1 < chain.size() ? chain[i + 1] : nullptr;
        }
        run.Bands[static_cast<std::size_t>(k)] = chain.front();
        chain.front()->LastBand = chain.back();
    }

    // What lies in no band is printed where it is, on the page's first prepared page.
    TfrBand& holder = run.Band(bandkind::None);
    holder.IsObjectHolder = true;
    holder.Top = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        if (!needsPlacement[i]) continue;
        objects[i]->RuntimeBand = &holder;
        holder.Objects.push_back(objects[i]);
    }

    // Headers attach to the data band below them, footers to the one above.
    constexpr int kLevels[3][3] = {{bandkind::MasterHeader, bandkind::MasterData, bandkind::MasterFooter},
                                   {bandkind::DetailHeader, bandkind::DetailData, bandkind::DetailFooter},
                                   {bandkind::SubdetailHeader, bandkind::SubdetailData, bandkind::SubdetailFooter}};
    for (const auto& level : kLevels) {
        const std::vector<TfrBand*> data = chainOf(&run.Band(level[1]));
        for (TfrBand* header : chainOf(&run.Band(level[0]))) {
            if (!header->View) continue;
            // A header that ends where its data band begins belongs to it too.
            const auto below = std::find_if(data.begin(), data.end(), [&](const TfrBand* d) {
                return d->View && d->Top >= header->Top + header->Height;
            });
            if (below != data.end() && !(*below)->HeaderBand) {
                (*below)->HeaderBand = header;
                header->DataBand = *below;
            }
        }
        for (TfrBand* footer : chainOf(&run.Band(level[2]))) {
            if (!footer->View) continue;
            TfrBand* above = nullptr;
            for (TfrBand* d : data)
                if (d->View && d->Top + d->Height <= footer->Top) above = d;
            if (above && !above->FooterBand) {
                above->FooterBand = footer;
                footer->DataBand = above;
            }
        }
    }

    // Group headers and footers pair from the inside out.
    {
        std::vector<TfrBand*> headers, footers;
        for (TfrBand* b : chainOf(&run.Band(bandkind::GroupHeader)))
            if (b->View) headers.push_back(b);
        for (TfrBand* b : chainOf(&run.Band(bandkind::GroupFooter)))
            if (b->View) footers.push_back(b);
        for (std::size_t i = 0; i < headers.size() && i < footers.size(); ++i)
            headers[headers.size() - 1 - i]->FooterBand = footers[i];
    }

    // Cross data sources named per band: "Band1=Source1;Band2=Source2".
    if (TfrBand& crossData = run.Band(bandkind::CrossData);
        crossData.View && crossData.View->DisplayFormatText.find(';') != std::string::npos) {
        const std::string& pairs = crossData.View->DisplayFormatText;
        std::size_t start = 0;
        while (start < pairs.size()) {
            std::size_t end = pairs.find(';', start);
            if (end == std::string::npos) end = pairs.size();
            const std::string pair = pairs.substr(start, end - start);
            start = end + 1;
            const std::size_t eq = pair.find('=');
            if (eq == std::string::npos) continue;
            const std::string bandName = std::string(text::trim(pair.substr(0, eq)));
            const std::string sourceName = std::string(text::trim(pair.substr(eq + 1)));
            for (int k = bandkind::MasterHeader; k <= bandkind::Child; ++k)
                for (TfrBand* b = &run.Band(k); b; b = b->NextBand) {
                    if (!b->View || !text::equalsNoCase(b->View->Name, bandName)) continue;
                    auto* source =
                        dynamic_cast<TfrDataset*>(FindDataComponent(report_.Owner, engine().Application, sourceName));
                    if (b->CrossDataSet) b->CrossDataSet->Release();
                    b->CrossDataSet = source;
                    if (source) source->Prepare();
                }
        }
    }

    // Child bands, by name; a chain of children that comes back to a band would never end.
    for (int k = 0; k < bandkind::Count; ++k)
        for (TfrBand* b = &run.Band(k); b; b = b->NextBand) {
            if (!b->View || b->View->ChildBand.empty()) continue;
            TfrView* child = page.FindObject(b->View->ChildBand);
            b->ChildBand = child && asBandView(child) ? child->RuntimeBand : nullptr;
        }
    for (int k = 0; k < bandkind::Count; ++k)
        for (TfrBand* b = &run.Band(k); b; b = b->NextBand) {
            int steps = 0;
            for (TfrBand* c = b->Child(); c; c = c->Child())
                if (c == b || ++steps > static_cast<int>(run.OwnedBands.size()))
                    throw RunError(fmt::format("The band \"{}\" is printed as a child of itself (ChildBand)", b->Name));
        }

    // Groups attach to the data band they name, or to the master data band.
    TfrBand& master = run.Band(bandkind::MasterData);
    if (master.View) {
        for (TfrBand* g = &run.Band(bandkind::GroupHeader); g && g->View; g = g->NextBand) {
            TfrBand* target = nullptr;
            if (g->View->Master.empty()) {
                target = &master;
            } else {
                for (int k : {bandkind::MasterData, bandkind::DetailData, bandkind::SubdetailData})
                    for (TfrBand* d = &run.Band(k); d && !target; d = d->NextBand)
                        if (d->View && text::equalsNoCase(d->View->Name, g->View->Master)) target = d;
            }
            if (!target) continue;
            g->PrevGroup = target->LastGroup;
            if (target->LastGroup) target->LastGroup->NextGroup = g;
            else target->FirstGroup = g;
            target->LastGroup = g;
        }
    }

    run.Columns = std::max(page.Columns, 1);
    run.ColumnWidth = (page.RightEdge() - page.LeftEdge() - (run.Columns - 1) * page.ColumnGap) / run.Columns;
}

void BandEngine::PrepareAggregates(PageRun& run)
{
    EngineContext& e = engine();
    setCurrentPage(run);

    // Objects that show one data field whole are bound to it (pictures and
    // memos from blob fields).
    for (const auto& owned : run.Page.PageObjects) {
        TfrView& v = *owned;
        v.BoundDataSource = nullptr;
        v.BoundField.clear();
        const std::string memo = joinLines(v.Memo);
        if (memo.size() <= 2 || memo.front() != '[') continue;
        if (v.ObjectKind == kind::Memo && (v.Flags & flag::TextOnly)) continue;
        const std::size_t close = lastChar(memo, ']');
        if (close == std::string::npos || close < 1) continue;
        std::string name = memo.substr(1, close - 1);
        e.CurrentBand = v.RuntimeBand;
        if (report_.Dictionary.IsVariable(name)) name = report_.Dictionary.VarList.GetVariable(name).toText();
        std::size_t end = 0;
        if (name.empty() || ReadExpressionName(name, end).size() != name.size()) continue;
        const std::vector<std::string> parts = SplitFieldReference(name);
        TfrDataset* source = nullptr;
        if (parts.size() == 1) {
            if (report_.UseDefaultDataSetName) source = report_.Dataset;
        } else {
            std::string path = parts[0];
            for (std::size_t i = 1; i + 1 < parts.size(); ++i) path += "." + parts[i];
            try {
                source = dynamic_cast<TfrDataset*>(FindDataComponent(report_.Owner, e.Application, path));
            } catch (const DataError&) {
                source = nullptr;   // "Page1.Memo1.Left" is no field
            }
        }
        if (source && !parts.back().empty()) {
            v.BoundDataSource = source;
            v.BoundField = parts.back();
        }
    }

    // The aggregate calls of the bands that show them register in their data band.
    const auto scan = [&](TfrBand& target, std::initializer_list<int> kinds) {
        for (int k : kinds)
            for (TfrBand* s = &run.Band(k); s; s = s->NextBand)
                for (TfrBand* b = s; b; b = b->Child()) {
                    if (!b->Exists()) break;
                    CollectAggregates(report_, target, *b, b->View, b->Objects);
                }
    };
    using namespace bandkind;
    for (int dataKind : {MasterData, DetailData, SubdetailData}) {
        TfrBand* target = &run.Band(dataKind);
        if (!target->View) continue;
        do {
            if (dataKind == MasterData) scan(*target, {PageFooter, ColumnFooter, MasterFooter, GroupFooter, ReportSummary});
            else if (dataKind == DetailData)
                scan(*target, {PageFooter, ColumnFooter, MasterFooter, DetailFooter, GroupFooter, ReportSummary});
            else
                scan(*target,
                     {PageFooter, ColumnFooter, MasterFooter, DetailFooter, SubdetailFooter, GroupFooter, ReportSummary});
            target = target->NextBand;
        } while (target && target->HasDataSource());
    }
    if (TfrBand& cross = run.Band(CrossData); cross.View) scan(cross, {CrossFooter});
    e.CurrentBand = nullptr;
}

void BandEngine::FinishRun(PageRun& run)
{
    for (const auto& view : run.Page.PageObjects) {
        view->RuntimeBand = nullptr;
        view->PreparedMode = false;
        view->BoundDataSource = nullptr;
        view->BoundField.clear();
    }
    run.OwnedBands.clear();
    run.Bands.fill(nullptr);
    run.BandsReady = false;
}

} // namespace pemvora::report
