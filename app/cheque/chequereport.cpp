#include "app/cheque/chequereport.h"

#include "platform/text/gbk.h"
#include "report/engine/prepare.h"
#include "report/engine/prepared_pages.h"
#include "report/model/engine_context.h"
#include "report/printer/printing_context.h"

#include <cmath>
#include <filesystem>

namespace pemvora::app {

ChequeReport::ChequeReport(data::TData& data, ui::UiServices& ui, PreparedHandler showPrepared)
    : ui_(ui), showPrepared_(std::move(showPrepared)), chequeQuery_(data.ZPJE, "ZPJE")
{
    frDBDataSet1_.SetDataSet(&chequeQuery_);
    form_.add(&frDBDataSet1_);
    bbdy_.Owner = &form_;
    bbdy_.Dataset = &frDBDataSet1_;
    bbdy_.InitialZoom = report::TfrPreviewZoom::pzDefault;
    bbdy_.ModifyPrepared = false;
    bbdy_.PreviewButtons = report::previewbutton::pbZoom | report::previewbutton::pbLoad
        | report::previewbutton::pbSave | report::previewbutton::pbPrint | report::previewbutton::pbFind
        | report::previewbutton::pbHelp | report::previewbutton::pbExit;
    bbdy_.ShowPrintDialog = false;
    bbdy_.RebuildPrinter = false;
}

ChequeReport::~ChequeReport()
{
    report::EngineContext& e = report::engine();
    if (e.CurrentReport == &bbdy_) e.CurrentReport = nullptr;
}

void ChequeReport::SetVariable(const std::string& name, const std::string& value)
{
    report::engine().Variables.SetVariable(text::utf8ToGbk(name), Value(text::utf8ToGbk(value)));
}

ReportRunner::Load ChequeReport::LoadFromFile(const std::string& fileName)
{
    std::string gbkName;
    // A name GBK cannot hold cannot name a template of ours either.
    if (!text::tryUtf8ToGbk(fileName, gbkName) || !std::filesystem::is_regular_file(fileName)) return Load::Missing;
    report::engine().CurrentReport = &bbdy_;
    try {
        if (!bbdy_.LoadFromFile(gbkName)) return Load::Missing;
    } catch (const std::exception& e) {
        ui_.error(text::gbkToUtf8(e.what()));
        return Load::Failed;
    }
    // The loader has shown why (a damaged file, a refused password).
    return bbdy_.LoadFailed ? Load::Failed : Load::Loaded;
}

void ChequeReport::ShowReport()
{
    report::engine().CurrentReport = &bbdy_;
    const report::PrepareResult result = report::PrepareReportPages(bbdy_);
    if (result.Failed) {
        ui_.message(text::gbkToUtf8(result.ErrorText), "Error", ui::Icon::Error, ui::Buttons::Ok);
        return;
    }
    if (!result.Completed || result.Pages == 0) return;
    if (showPrepared_) showPrepared_(bbdy_);
}

void printPreparedPages(report::TfrReport& rep)
{
    using namespace report;
    TfrEMFPages& pages = PreparedPages(rep);
    PrintingContext& context = printing();
    TfrPrinter& printer = context.printer();
    PrinterBackend& device = context.backend();
    const QString title = rep.Title.empty() ? QStringLiteral("Untitled") : text::toQString(rep.Title);

    struct JobGuard {
        PrinterBackend& device;
        bool open = false;
        ~JobGuard()
        {
            if (open) device.abortJob();
        }
    } job{device};

    for (int i = 0; i < pages.Count(); ++i) {
        TfrPreparedPage& page = pages.Page(i);
        PagePaper& paper = page.Paper;
        // A change of paper ends the job: the next pages go out as a job of their own.
        if (!job.open || !printer.SameSettings(paper.size, paper.width, paper.height, paper.orientation, paper.bin)) {
            if (job.open) {
                device.endJob();
                job.open = false;
            }
            printer.SetPaper(paper.size, paper.width, paper.height, paper.orientation, paper.bin, true);
            if (!device.beginJob(title, 1, true))
                throw PrinterError("The selected printer cannot print: " + text::gbkToUtf8(printer.Device));
            job.open = true;
        }
        printer.FillPageMetrics(paper.metrics);
        Canvas& canvas = device.beginPage();
        const TfrPageMetrics& m = paper.metrics;
        Rect target;
        if (page.UseMargins) {
            // Design coordinate 0 at the paper's edge, not at the printable area's.
            target = {-m.DevOffsetX, -m.DevOffsetY, m.DevPaperWidth - m.DevOffsetX, m.DevPaperHeight - m.DevOffsetY};
        } else {
            const auto scaled = [](int v, int device, int design) {
                return design == 0 ? 0 : static_cast<int>(std::lround(static_cast<double>(v) * device / design));
            };
            const PageMargins& g = page.Margins;
            target = {scaled(g.Left, m.DevPrintWidth, m.PrintWidth), scaled(g.Top, m.DevPrintHeight, m.PrintHeight),
                      m.DevPrintWidth - scaled(g.Right, m.DevPrintWidth, m.PrintWidth),
                      m.DevPrintHeight - scaled(g.Bottom, m.DevPrintHeight, m.PrintHeight)};
        }
        page.InUse = true;
        pages.Draw(i, canvas, target);
        page.InUse = false;
        pages.Draw(i, canvas, Rect{});   // frees the page's objects
    }
    if (job.open) {
        device.endJob();
        job.open = false;
    }
}

} // namespace pemvora::app
