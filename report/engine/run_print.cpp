// Printing prepared pages: the page list, copies and collation, a print job
// per run of pages on the same paper, and the printer's failures.

#include "report/engine/prepared_pages.h"
#include "report/engine/run_control.h"
#include "report/engine/run_messages.h"

#include "platform/text/gbk.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/printer/printing_context.h"

#include <fmt/format.h>

#include <algorithm>

namespace pemvora::report {

namespace {

// Copies beyond this are taken as this many (a mistyped count must not send
// an endless job to a printer).
constexpr int kMaxCopies = 9999;

// What a print run ended in.
class PrintFailure : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The page numbers of the list that PrintPagesMode lets through.
std::vector<int> SelectedPages(std::string_view pageList, int pageCount, int printPagesMode)
{
    std::vector<int> selected = ParsePageList(pageList, pageCount);
    std::erase_if(selected, [&](int n) {
        return (printPagesMode == printpages::Odd && n % 2 == 0) || (printPagesMode == printpages::Even && n % 2 == 1);
    });
    return selected;
}

// The sheets of a run in output order: page indexes (0-based).
std::vector<int> OutputOrder(const std::vector<int>& pageNumbers, int copies, bool collate, bool engineRepeatsPages)
{
    std::vector<int> order;
    if (collate) {
        for (int c = 0; c < copies; ++c)
            for (const int p : pageNumbers) order.push_back(p - 1);
    } else {
        const int repeat = engineRepeatsPages ? copies : 1;
        for (const int p : pageNumbers)
            for (int c = 0; c < repeat; ++c) order.push_back(p - 1);
    }
    return order;
}

std::string SelectedPrinterName(const TfrPrinter& printer)
{
    if (printer.PrinterIndex < 0 || printer.PrinterIndex >= int(printer.PrinterNames.size())) return {};
    return printer.PrinterNames[std::size_t(printer.PrinterIndex)];
}

// Attaches the wrapper to the platform printer again (the list may have
// changed), keeping the printer that was selected when it is still there.
void ReattachPrinter(TfrPrinter& printer, PrinterBackend& backend)
{
    const std::string selected = SelectedPrinterName(printer);
    printer.AttachPrinter(&backend);
    const auto it = std::find(printer.PrinterNames.begin(), printer.PrinterNames.end(), selected);
    if (it != printer.PrinterNames.end()) printer.SelectPrinter(int(it - printer.PrinterNames.begin()));
}

class PrintRun {
public:
    PrintRun(TfrReport& report, TfrEMFPages& pages, ProgressWindow* window)
        : report_(report), pages_(pages), window_(window), printer_(printing().printer()),
          backend_(printing().backend())
    {
    }

    // Prints `order`; a failure of the printer raises PrintFailure with the
    // printer named, after the job was aborted.
    void Run(const std::vector<int>& order, int deviceCopies, bool collate)
    {
        title_ = text::toQString(report_.Title.empty() ? std::string(runtext::Untitled) : report_.Title);
        deviceCopies_ = deviceCopies;
        collate_ = collate;
        printerName_ = SelectedPrinterName(printer_);
        try {
            for (const int index : order) {
                PrintOnePage(index);
                if (report_.Terminated) {
                    if (jobOpen_) backend_.abortJob();
                    jobOpen_ = false;
                    return;
                }
            }
            if (jobOpen_) backend_.endJob();
            jobOpen_ = false;
        } catch (const PrinterError& error) {
            if (jobOpen_) backend_.abortJob();
            jobOpen_ = false;
            throw PrintFailure(fmt::format("Printing on \"{}\" failed: {}", printerName_, error.what()));
        }
    }

private:
    void ApplyPaperOf(TfrPreparedPage& page)
    {
        const PagePaper& p = page.Paper;
        printer_.SetPaper(p.size, p.width, p.height, p.orientation, p.bin, true);
    }

    void BeginJob()
    {
        if (!backend_.beginJob(title_, deviceCopies_, collate_))
            throw PrinterError("the printer does not take print jobs");
        jobOpen_ = true;
    }

    void PrintOnePage(int index)
    {
        TfrPreparedPage& page = pages_.Page(index);
        const PagePaper& p = page.Paper;
        // A new paper ends the job: each job runs on one paper.
        if (!jobOpen_ || !printer_.SameSettings(p.size, p.width, p.height, p.orientation, p.bin)) {
            if (jobOpen_) backend_.endJob();
            jobOpen_ = false;
            ApplyPaperOf(page);
            BeginJob();
        }
        Canvas& canvas = backend_.beginPage();
        TfrPageMetrics m;
        printer_.FillPageMetrics(m);

        Rect target;
        if (page.UseMargins || m.PrintWidth <= 0 || m.PrintHeight <= 0) {
            // Design coordinate 0 at the physical edge of the paper.
            target = {-m.DevOffsetX, -m.DevOffsetY, m.DevPaperWidth - m.DevOffsetX, m.DevPaperHeight - m.DevOffsetY};
        } else {
            const PageMargins& g = page.Margins;
            const auto sx = [&](int v) { return roundEven(double(v) * m.DevPrintWidth / m.PrintWidth); };
            const auto sy = [&](int v) { return roundEven(double(v) * m.DevPrintHeight / m.PrintHeight); };
            target = {sx(g.Left), sy(g.Top), m.DevPrintWidth - sx(g.Right), m.DevPrintHeight - sy(g.Bottom)};
        }
        page.InUse = true;
        struct Release {
            TfrEMFPages& pages;
            int index;
            ~Release()
            {
                pages.Page(index).InUse = false;
                pages.ReleasePageObjects(index);
            }
        } release{pages_, index};
        pages_.Draw(index, canvas, target);
        if (window_) {
            window_->SetLabel1(std::string(runtext::PrintingPage) + "  " + std::to_string(index + 1));
            window_->ProcessEvents();
        } else if (report_.OnProgress) {
            report_.OnProgress(index + 1);
        }
    }

    TfrReport& report_;
    TfrEMFPages& pages_;
    ProgressWindow* window_;
    TfrPrinter& printer_;
    PrinterBackend& backend_;
    QString title_;
    int deviceCopies_ = 1;
    bool collate_ = false;
    bool jobOpen_ = false;
    std::string printerName_;
};

} // namespace

bool PrintPreparedReport(TfrReport& report, const std::string& pageList, int copies, bool collate, int printPagesMode)
{
    EngineContext& e = engine();
    e.CurrentReport = e.RootReport = &report;
    e.Running = 1;
    report.Terminated = false;
    TfrEMFPages& pages = PreparedPages(report);

    std::vector<int> selected;
    try {
        selected = SelectedPages(pageList, pages.Count(), printPagesMode);
    } catch (const PageListError& error) {
        ShowRunMessage(error.what(), runtext::Print, ui::Icon::Error);
        return false;
    }
    if (selected.empty()) {
        ShowRunMessage(pages.Count() == 0 ? "There are no prepared pages to print"
                                          : "The pages chosen are not in the report: nothing was printed",
                       runtext::Print, ui::Icon::Information);
        return false;
    }
    copies = std::clamp(copies, 1, kMaxCopies);

    TfrPrinter& printer = printing().printer();
    PrinterBackend& backend = printing().backend();
    std::unique_ptr<ProgressWindow> window = ProgressWindowFor(report, {});
    std::string failure;
    const auto doPrint = [&] {
        try {
            ReattachPrinter(printer, backend);
            if (report.OnPrintReport) report.OnPrintReport();
            // Collated copies are always the engine's; uncollated ones the
            // device's where it can make them.
            const bool engineRepeats = !backend.makesCopies();
            const int deviceCopies = collate || engineRepeats ? 1 : copies;
            PrintRun run(report, pages, window.get());
            run.Run(OutputOrder(selected, copies, collate, engineRepeats), deviceCopies, collate);
        } catch (const PrintFailure& error) {
            failure = error.what();
        } catch (const PrinterError& error) {
            failure = fmt::format("Printing on \"{}\" failed: {}", SelectedPrinterName(printer), error.what());
        } catch (const PreparedReportError& error) {
            backend.abortJob();
            failure = error.what();
        }
    };

    if (window) {
        window->SetCaption(RunCaption(report, runtext::PreparingReport));
        window->SetLabel1(runtext::PrintingPage);
        window->SetLabel2({});
        window->ShowModalWithTask(report, doPrint);
    } else {
        // A hover handler has nothing to say while the pages go to the printer.
        auto mouseOver = std::move(report.OnMouseOverObject);
        report.OnMouseOverObject = nullptr;
        doPrint();
        report.OnMouseOverObject = std::move(mouseOver);
    }
    if (!failure.empty()) {
        ShowRunMessage(failure, runtext::Error, ui::Icon::Error);
        return false;
    }
    return !report.Terminated;
}

std::vector<int> PrintSequence(std::string_view pageList, int pageCount, int copies, bool collate, int printPagesMode)
{
    return OutputOrder(SelectedPages(pageList, pageCount, printPagesMode), std::clamp(copies, 1, kMaxCopies), collate,
                       true);
}

bool PrintFromPreview(TfrReport& report, int currentPage, PrintDialog& dialog)
{
    TfrPrinter& printer = printing().printer();
    const int oldIndex = printer.PrinterIndex;
    PrintChoice choice;
    choice.Copies = report.DefaultCopies;
    choice.Collate = report.DefaultCollate;
    if (report.ShowPrintDialog) {
        const std::optional<PrintChoice> chosen = dialog.Run(report, currentPage);
        if (!chosen) return false;
        choice = *chosen;
    }
    if (report.RebuildPrinter && printer.PrinterIndex != oldIndex && report.CanRebuild) {
        const bool switched = report.SwitchPrinter(
            oldIndex, printer.PrinterIndex, [](const std::string& text, const std::string& caption) {
                ShowRunMessage(text, caption, ui::Icon::Error);
            });
        if (!switched) return false;
        PrepareReport(report);
    }
    return PrintPreparedReport(report, choice.Pages, choice.Copies, choice.Collate, choice.PrintPagesMode);
}

} // namespace pemvora::report
