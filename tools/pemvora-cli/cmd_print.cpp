// pemvora-cli print FILE [--pdf OUT.pdf | --printer NAME] [--pages RANGE]
// [--copies N] [--collate] [NAME=VALUE ...] [--data NAME=FILE.csv ...]:
// prepares a template (or reads a prepared report, .frp) and prints it
// without a window: into a PDF file through the PDF export filter, or on a
// printer (the current one unless --printer names another). While a long run
// goes, a progress line on stderr counts the pages when stderr is a terminal.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/csv_sources.h"
#include "tools/pemvora-cli/expression_args.h"
#include "tools/pemvora-cli/template_session.h"

#include "report/engine/pdf_export_qt.h"
#include "report/engine/prepared_pages.h"
#include "report/engine/run_control.h"
#include "report/printer/printing_context.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;

struct PrintOptions {
    std::string file;
    std::string pdf;
    std::string printer;
    std::string pages;
    int copies = 1;
    bool collate = false;
    std::vector<std::string> assignments;
    std::vector<std::string> data;
};

// "Page N" rewritten in place on a terminal; nothing anywhere else.
class ProgressLine {
public:
    ProgressLine() : enabled_(::isatty(STDERR_FILENO) == 1) {}
    ~ProgressLine() { finish(); }
    void show(const char* what, int page)
    {
        if (!enabled_) return;
        std::fprintf(stderr, "\r%s %d ", what, page);
        std::fflush(stderr);
        shown_ = true;
    }
    void finish()
    {
        if (shown_) std::fputs("\n", stderr);
        shown_ = false;
    }

private:
    bool enabled_;
    bool shown_ = false;
};

bool isPreparedReport(const std::string& file)
{
    std::string ext = file.size() >= 4 ? file.substr(file.size() - 4) : std::string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return ext == ".frp";
}

// The engine's messages of a print run fail the command with the first one.
void failOnMessages(const CollectingUi& collected, const char* otherwise)
{
    if (!collected.messages.empty()) throw CommandFailure(forTerminal(collected.messages.front()));
    throw CommandFailure(otherwise);
}

// The engine's messages are collected while it lives.
struct CollectMessages {
    explicit CollectMessages(CollectingUi& ui) { ui::installServices(&ui); }
    ~CollectMessages() { ui::installServices(nullptr); }
};

void selectPrinter(const std::string& name)
{
    TfrPrinter& printer = printing().printer();
    const std::string wanted = engineText(name);
    const auto it = std::find(printer.PrinterNames.begin(), printer.PrinterNames.end(), wanted);
    if (it == printer.PrinterNames.end()) throw CommandFailure("No printer is named \"" + name + "\"");
    printer.SelectPrinter(int(it - printer.PrinterNames.begin()));
}

void run(const PrintOptions& o)
{
    ensureGuiSession();
    resetEngine();
    CsvSources csv;
    for (const std::string& d : o.data) csv.add(d);
    TfrReport report;
    report.Owner = &csv.owner;
    engine().CurrentReport = &report;
    ProgressLine progress;

    CollectingUi collecting;
    if (isPreparedReport(o.file)) {
        if (!o.assignments.empty() || !o.data.empty())
            throw CLI::ValidationError("FILE", "a prepared report (.frp) takes no variables and no data");
        try {
            LoadPreparedReport(report, gbkFileName(o.file));
        } catch (const std::exception& e) {
            throw CommandFailure(text::gbkToUtf8(e.what()));
        }
    } else {
        loadTemplate(report, o.file, std::nullopt);
        setVariables(o.assignments);
        RunControl control;
        control.Progress = [&](int n) { progress.show("Page", n); };
        bool prepared = false;
        {
            CollectMessages collect(collecting);
            prepared = PrepareReport(report, control);
        }
        progress.finish();
        if (!collecting.messages.empty()) throw CommandFailure(forTerminal(collecting.messages.front()));
        if (!prepared) throw CommandFailure("The report was stopped before its end");
    }
    const int pageCount = PreparedPages(report).Count();
    if (pageCount == 0) throw CommandFailure("The report has no pages to print");
    std::vector<int> order;
    try {
        order = PrintSequence(o.pages, pageCount, o.copies, o.collate);
    } catch (const PageListError& e) {
        throw CLI::ValidationError("--pages", e.what());
    }

    if (!o.pdf.empty()) {
        if (order.empty()) throw CommandFailure("The pages chosen are not in the report: nothing was printed");
        TfrPdfExportFilter pdf;
        pdf.Title = report.Title;
        report.ShowProgress = false;
        try {
            ExportPreparedPages(report, pdf, gbkFileName(o.pdf), order);
        } catch (const std::exception& e) {
            throw CommandFailure(text::gbkToUtf8(e.what()));
        }
        return;
    }

    if (!o.printer.empty()) selectPrinter(o.printer);
    report.OnProgress = [&](int n) { progress.show("Printing page", n); };
    bool printed = false;
    {
        CollectMessages collect(collecting);
        printed = PrintPreparedReport(report, o.pages, o.copies, o.collate);
    }
    progress.finish();
    if (!printed) failOnMessages(collecting, "Printing was stopped");
}

Registration print{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("print", "Prepare a report (or take a .frp) and print it, or write it as PDF");
    auto o = std::make_shared<PrintOptions>();
    cmd->add_option("FILE", o->file, "the template (.frf) or a prepared report (.frp)")->required();
    auto* pdf = cmd->add_option("--pdf", o->pdf, "write the pages into this PDF file instead of printing");
    auto* printer = cmd->add_option("--printer", o->printer, "the printer to print on (see printers)");
    pdf->excludes(printer);
    printer->excludes(pdf);
    cmd->add_option("--pages", o->pages, "the pages to print, as 1,3,5-12 (all when not given)");
    cmd->add_option("--copies", o->copies, "the number of copies")->check(CLI::Range(1, 9999));
    cmd->add_flag("--collate", o->collate, "print the copies as whole sets (1,2,3,1,2,3)");
    cmd->add_option("NAME=VALUE", o->assignments, "variables: numbers are stored as numbers, the rest as text");
    cmd->add_option("--data", o->data, "NAME=FILE.csv: a CSV file (UTF-8, column names first) as data source NAME")
        ->allow_extra_args(false);
    cmd->callback([o] { run(*o); });
}};

} // namespace
} // namespace pemvora::cli
