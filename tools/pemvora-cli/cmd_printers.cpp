// pemvora-cli printers: the printers the report engine offers, one per line,
// the selected one followed by " *". Without any installed printer (or without
// a CUPS service) that is the virtual printer alone.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"

#include "platform/text/gbk.h"
#include "report/printer/printing_context.h"

#include <iostream>

namespace pemvora::cli {
namespace {

void run()
{
    ensureGuiSession();
    const report::TfrPrinter& printer = report::printing().printer();
    for (std::size_t i = 0; i < printer.PrinterNames.size(); ++i) {
        std::cout << text::gbkToUtf8(printer.PrinterNames[i]);
        if (int(i) == printer.PrinterIndex) std::cout << " *";
        std::cout << '\n';
    }
}

Registration reg{[](CLI::App& root) {
    CLI::App* cmd = root.add_subcommand("printers", "List the printers; the current one is marked with *");
    cmd->callback(run);
}};

} // namespace
} // namespace pemvora::cli
