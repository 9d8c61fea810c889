// Run control: preparing under the progress window, showing, designing and the
// page list. Printing is in run_print.cpp, exporting in run_export.cpp.

#include "report/engine/run_control.h"

#include "report/engine/prepared_pages.h"
#include "report/engine/run_messages.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/printer/printing_context.h"

#include "platform/text/gbk.h"

#include <fmt/format.h>

#include <charconv>
#include <optional>

namespace pemvora::report {

// ---------------------------------------------------------------- messages

void ShowRunMessage(const std::string& gbkText, const std::string& caption, ui::Icon icon)
{
    std::string text = text::gbkToUtf8(gbkText);
    for (char& c : text)
        if (c == '\r') c = '\n';
    ui::services().message(text, caption, icon, ui::Buttons::Ok);
}

// ---------------------------------------------------------------- page list

namespace {

std::optional<int> pageNumber(std::string_view part)
{
    int n = 0;
    const char* first = part.data();
    const char* last = part.data() + part.size();
    const auto [end, error] = std::from_chars(first, last, n);
    if (part.empty() || error != std::errc() || end != last) return std::nullopt;
    return n;
}

[[noreturn]] void notAPageNumber(std::string_view part)
{
    throw PageListError("'" + std::string(part) + "' is not a valid page number");
}

} // namespace

std::vector<int> ParsePageList(std::string_view text, int pageCount)
{
    std::string list;
    for (const char c : text)
        if (c != ' ' && c != '\t') list += c;
    std::vector<bool> chosen(static_cast<std::size_t>(std::max(pageCount, 0)) + 1, false);
    const auto add = [&](int from, int to) {
        // Clipped first: a range of a billion pages costs nothing.
        from = std::max(from, 1);
        to = std::min(to, pageCount);
        for (int p = from; p <= to; ++p) chosen[static_cast<std::size_t>(p)] = true;
    };
    if (list.empty()) {
        add(1, pageCount);
    } else {
        std::size_t start = 0;
        while (start <= list.size()) {
            const std::size_t comma = std::min(list.find(',', start), list.size());
            const std::string_view part = std::string_view(list).substr(start, comma - start);
            const bool lastPart = comma == list.size();
            const std::size_t dash = part.find('-');
            if (dash == std::string_view::npos) {
                const auto n = pageNumber(part);
                if (!n) notAPageNumber(part);
                add(*n, *n);
            } else {
                const auto from = pageNumber(part.substr(0, dash));
                if (!from) notAPageNumber(part);
                const std::string_view rest = part.substr(dash + 1);
                // An open range runs to the last page; only the last part may be open.
                const auto to = rest.empty() && lastPart ? std::optional<int>(pageCount) : pageNumber(rest);
                if (!to) notAPageNumber(part);
                add(*from, *to);
            }
            start = comma + 1;
        }
    }
    std::vector<int> pages;
    for (int p = 1; p <= pageCount; ++p)
        if (chosen[static_cast<std::size_t>(p)]) pages.push_back(p);
    return pages;
}

// ---------------------------------------------------------------- preparing

namespace {

// The template as it was before a run; put back afterwards, so that nothing a
// script changed survives the run. A template that cannot be stored whole is
// not restored (the run itself still goes on).
class TemplateSnapshot {
public:
    explicit TemplateSnapshot(TfrReport& report) : report_(report), modified_(report.Modified)
    {
        try {
            bytes_ = report.SaveToBytes();
        } catch (const std::exception&) {
            bytes_.reset();
        }
        report_.Modified = modified_;
    }
    void Restore()
    {
        if (!bytes_) return;
        EngineContext& e = engine();
        e.CurrentView = nullptr;
        e.CurrentPage = nullptr;
        e.CurrentBand = nullptr;
        const std::string fileName = report_.TemplateFileName;
        const bool loadFailed = report_.LoadFailed;
        report_.LoadFromBytes(*bytes_, TemplateOrigin::Memory);
        report_.TemplateFileName = fileName;
        report_.LoadFailed = loadFailed;
        report_.Modified = modified_;
    }

private:
    TfrReport& report_;
    DateTime modified_;
    std::optional<std::string> bytes_;
};

} // namespace

std::unique_ptr<ProgressWindow> ProgressWindowFor(const TfrReport& report, const RunControl& control)
{
    if (!report.ShowProgress || report.OnProgress || control.Progress) return nullptr;
    const auto& make = engine().Presenters.Progress;
    return make ? make() : nullptr;
}

std::string RunCaption(const TfrReport& report, const std::string& what)
{
    return report.Title.empty() ? what : what + " - " + report.Title;
}

bool PrepareReport(TfrReport& report, const RunControl& controlIn)
{
    EngineContext& e = engine();
    report.SelectPrinterByName(report.Printer.PrinterName);
    TemplateSnapshot snapshot(report);
    e.StopRequested = false;
    // A Cancel before the run began leaves no pages of an earlier run behind.
    PreparedPages(report).Clear();

    RunControl control = controlIn;
    std::unique_ptr<ProgressWindow> window = ProgressWindowFor(report, control);
    // Pages finished when Cancel was seen: the page in progress then is cut off.
    std::optional<int> finishedAtCancel;
    const std::string prefix1 = runtext::PerformingFirstPass;
    const std::string prefix2 = runtext::ProcessingPage;
    if (window) {
        window->SetCaption(RunCaption(report, runtext::PreparingReport));
        window->SetLabel1((report.TwoPass ? prefix1 : prefix2) + "  1");
        window->SetLabel2({});
        control.Progress = [&](int n) {
            if (report.TwoPass && !e.MeasuringPass)
                window->SetLabel1(fmt::format("{}  {} {} {}", prefix2, n, runtext::From, e.TotalPages));
            else
                window->SetLabel1(fmt::format("{}  {}", e.MeasuringPass ? prefix1 : prefix2, n));
            window->ProcessEvents();
            if (report.Terminated && !finishedAtCancel) finishedAtCancel = std::max(0, e.PageNo);
        };
    }

    if (report.OnBeginDoc) report.OnBeginDoc();
    PrepareResult result;
    bool notCancelled = true;
    if (window) {
        notCancelled = window->ShowModalWithTask(report, [&] { result = PrepareReportPages(report, control); });
    } else {
        result = PrepareReportPages(report, control);
    }
    if (report.OnEndDoc) report.OnEndDoc();

    snapshot.Restore();

    TfrEMFPages& pages = PreparedPages(report);
    if (finishedAtCancel && !result.Failed)
        while (pages.Count() > *finishedAtCancel) pages.Delete(pages.Count() - 1);
    bool ok = notCancelled && !finishedAtCancel;
    if (e.StopRequested) {
        ok = false;
        pages.Clear();
    } else if (result.Failed) {
        pages.Clear();
        ShowRunMessage(result.ErrorText, runtext::Error, ui::Icon::Error);
    }
    e.FinalPass = false;
    e.MeasuringPass = false;
    e.CurrentBand = nullptr;
    return ok;
}

// ---------------------------------------------------------------- showing

void ShowReport(TfrReport& report)
{
    PrepareReport(report);
    ShowPreparedReport(report);
}

void ShowPreparedReport(TfrReport& report)
{
    EngineContext& e = engine();
    e.CurrentReport = e.RootReport = &report;
    e.Running = 1;
    e.CurrentBand = nullptr;
    if (PreparedPages(report).Count() == 0) return;
    if (!e.Presenters.Preview)
        throw NoPresenterError("No preview is installed in this program to show the report in");
    e.Presenters.Preview(report, RunCaption(report, runtext::Preview));
}

int DesignReport(TfrReport& report)
{
    EngineContext& e = engine();
    report.SelectPrinterByName(report.Printer.PrinterName);
    if (report.Pages.Count() == 0) report.Pages.Add();
    e.CurrentReport = &report;
    if (!e.Presenters.Designer) return kModalCancel;
    return e.Presenters.Designer(report);
}

} // namespace pemvora::report
