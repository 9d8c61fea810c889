// Exporting prepared pages through an export filter into a file that is
// replaced only by a whole export.

#include "report/engine/prepared_pages.h"
#include "report/engine/run_control.h"
#include "report/engine/run_messages.h"

#include "platform/text/gbk.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/model/view.h"

#include <QSaveFile>

#include <fmt/format.h>

namespace pemvora::report {

void ExportPage(TfrReport& report, int index)
{
    TfrEMFPages& pages = PreparedPages(report);
    TfrPreparedPage& page = pages.Page(index);
    const bool wasInUse = page.PageObjects != nullptr;
    pages.LoadPageObjects(index);
    struct Release {
        TfrEMFPages& pages;
        int index;
        bool keep;
        ~Release()
        {
            if (!keep) pages.ReleasePageObjects(index);
        }
    } release{pages, index, wasInUse};
    for (const auto& view : page.PageObjects->PageObjects) view->ExportContent();
}

bool ExportPreparedPages(TfrReport& report, TfrExportFilter& filter, const std::string& fileName,
                         const std::vector<int>& pageOrder)
{
    EngineContext& e = engine();
    e.Running = 1;
    report.ActiveExportFilter = &filter;
    filter.FileName = fileName;
    struct EndOfExport {
        TfrReport& report;
        TfrExportFilter& filter;
        ~EndOfExport()
        {
            report.ActiveExportFilter = nullptr;
            filter.Stream = nullptr;
        }
    } endOfExport{report, filter};

    bool go = true;
    if (filter.OnBeforeExport) filter.OnBeforeExport(filter.FileName, go);
    if (!go || filter.ConfirmExport() != kModalOk) return false;

    QSaveFile file(text::toQString(filter.FileName));
    if (!file.open(QIODevice::WriteOnly))
        throw ExportError("Cannot write \"" + filter.FileName + "\": " + file.errorString().toStdString());
    filter.Stream = &file;
    e.CurrentReport = e.RootReport = &report;
    TfrEMFPages& pages = PreparedPages(report);
    std::vector<int> order = pageOrder;
    if (order.empty())
        for (int i = 0; i < pages.Count(); ++i) order.push_back(i);
    for (const int i : order)
        if (i < 0 || i >= pages.Count()) throw ExportError("The pages to export are not in the report");
    e.TotalPages = int(order.size());
    report.Terminated = false;

    std::unique_ptr<ProgressWindow> window = report.ShowProgress && e.Presenters.Progress ? e.Presenters.Progress()
                                                                                          : nullptr;
    const std::string prefix = runtext::ProcessingPage;
    std::exception_ptr failure;
    const auto exportLoop = [&] {
        try {
            filter.StartExport();
            for (std::size_t n = 0; n < order.size(); ++n) {
                const int i = order[n];
                TfrPreparedPage& page = pages.Page(i);
                filter.StartExportPage({i, page.Paper, page.UseMargins, page.Margins});
                ExportPage(report, i);
                if (window) {
                    window->SetLabel1(fmt::format("{}  {} {} {}", prefix, n + 1, runtext::From, e.TotalPages));
                    window->ProcessEvents();
                }
                filter.FinishExportPage();
                // Cancel leaves the file as it was: a half export is no export.
                if (report.Terminated) return;
            }
            filter.FinishExport();
        } catch (...) {
            failure = std::current_exception();
        }
    };
    if (window) {
        window->SetCaption(RunCaption(report, runtext::PreparingReport));
        window->SetLabel1(prefix + "  1");
        window->SetLabel2({});
        window->ShowModalWithTask(report, exportLoop);
    } else {
        exportLoop();
    }
    if (failure) std::rethrow_exception(failure);   // QSaveFile drops the temporary file
    if (report.Terminated) return false;
    if (!file.commit())
        throw ExportError("Cannot write \"" + filter.FileName + "\": " + file.errorString().toStdString());
    if (filter.OnAfterExport) filter.OnAfterExport(filter.FileName);
    return true;
}

} // namespace pemvora::report
