// pemvora-cli print-cheque NUMBER [--db FILE] [--mode 普通|特殊] [--pdf OUT.pdf | --printer NAME]:
// prints a stored cheque as the cheque window's "打印" prints it when that
// cheque is shown: the same controller chooses the template (from the current
// folder) and sets the variables from what the window would show (bank,
// account, purpose and payee by name, the capitals), and the same report
// component runs it. Where the window's preview would open, the pages go at
// once to a PDF file, to the named printer or to the current printer, as the
// preview's print button sends them. Whatever the window would have said (no
// template bank, a missing template, an amount beyond the form, a printer
// that refuses the job) goes to stderr, and the command fails.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"
#include "tools/pemvora-cli/template_session.h"

#include "app/cheque/chequecontroller.h"
#include "app/cheque/chequereport.h"
#include "app/data/tdata.h"
#include "report/engine/run_control.h"
#include "report/model/engine_context.h"
#include "report/printer/printing_context.h"
#include "report/printer/qt_printer.h"

#include <fmt/format.h>

#include <iostream>
#include <memory>
#include <string>

namespace pemvora::cli {
namespace {

using namespace pemvora::report;

struct PrintChequeOptions {
    std::string number;
    std::string db = data::kDatabaseFileName;
    std::string mode = "普通";
    std::string pdf;
    std::string printer;
};

// Makes the printer the pages go to the engine's current printer.
void choosePrinter(const PrintChequeOptions& o)
{
    if (!o.pdf.empty()) {
        resetPrinting(std::make_unique<PdfPrinterBackend>(QString::fromStdString(o.pdf)));
        return;
    }
    resetPrinting(nullptr);
    if (o.printer.empty()) return;
    TfrPrinter& printer = printing().printer();
    const std::string wanted = gbkFileName(o.printer);
    for (int i = 0; i < static_cast<int>(printer.PrinterNames.size()); ++i) {
        if (i != printer.VirtualPrinterIndex && text::equalsNoCase(printer.PrinterNames[std::size_t(i)], wanted)) {
            printer.SelectPrinter(i);
            return;
        }
    }
    throw CommandFailure("There is no printer named " + o.printer + " (pemvora-cli printers lists them)");
}

void printCheque(const PrintChequeOptions& o)
{
    ensureGuiSession();
    resetEngine();
    struct Cleanup {
        ~Cleanup()
        {
            ui::installServices(nullptr);
            engine().Presenters.Preview = nullptr;
            resetEngine();
            resetPrinting(nullptr);
        }
    } cleanup;
    choosePrinter(o);

    // The window's messages, and the template loader's, are this command's errors.
    CollectingUi messages;
    ui::installServices(&messages);
    std::unique_ptr<data::TData> data;
    try {
        data = std::make_unique<data::TData>(o.db);
    } catch (const std::exception& e) {
        throw CommandFailure(e.what());
    }
    app::ChequeController form(messages);
    form.attachData(*data);
    bool printed = false;
    engine().Presenters.Preview = [&printed](TfrReport& report, const std::string&) {
        printed = PrintPreparedReport(report, "", report.DefaultCopies, report.DefaultCollate);
    };
    app::ChequeReport bbdy(*data, messages);
    form.setReportRunner(&bbdy);
    form.show();
    if (!form.showCheque(o.number)) {
        messages.messages.insert(messages.messages.begin(), "There is no cheque numbered " + o.number);
    } else {
        form.setPrintMode(o.mode == "特殊" ? 1 : 0);
        form.print();
    }
    if (!messages.messages.empty()) {
        std::string all;
        for (const std::string& m : messages.messages) all += (all.empty() ? "" : "\n") + forTerminal(m);
        throw CommandFailure(all);
    }
    if (!printed) throw CommandFailure("Nothing was printed");
    if (!o.pdf.empty())
        std::cout << fmt::format("printed cheque {} to {}\n", o.number, o.pdf);
    else
        std::cout << fmt::format("printed cheque {} on {}\n", o.number, text::gbkToUtf8(printing().printer().Device));
}

Registration printChequeCommand{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("print-cheque",
                                    "Print a stored cheque as the cheque window prints it, from the templates "
                                    "in the current folder");
    auto o = std::make_shared<PrintChequeOptions>();
    cmd->add_option("NUMBER", o->number, "the cheque number (支票号码)")->required();
    cmd->add_option("--db", o->db, "database file")->capture_default_str();
    cmd->add_option("--mode", o->mode, "print mode (打印模式)")
        ->check(CLI::IsMember({"普通", "特殊"}))
        ->capture_default_str();
    auto* pdf = cmd->add_option("--pdf", o->pdf, "write the cheque to this PDF file");
    auto* printer = cmd->add_option("--printer", o->printer, "print on this printer (default: the current one)");
    pdf->excludes(printer);
    cmd->callback([o] { printCheque(*o); });
}};

} // namespace
} // namespace pemvora::cli
