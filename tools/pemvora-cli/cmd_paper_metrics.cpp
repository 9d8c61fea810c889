// pemvora-cli paper-metrics CODE [--size WIDTH HEIGHT] [--landscape]
// Applies a paper to the current printer as a report page does and prints the
// paper the printer then holds (code, width, height in 0.1 mm) and the page
// geometry in design pixels: PaperWidth PaperHeight OffsetX OffsetY PrintWidth PrintHeight.

#include "tools/pemvora-cli/command.h"
#include "tools/pemvora-cli/gui_session.h"

#include "report/printer/printing_context.h"

#include <fmt/core.h>

#include <iostream>
#include <vector>

namespace pemvora::cli {
namespace {

struct Options {
    int code = 0;
    std::vector<int> size;
    bool landscape = false;
};

void run(const Options& o)
{
    using namespace report;
    if (o.code == kCustomPaper) {
        if (o.size.size() != 2 || o.size[0] <= 0 || o.size[1] <= 0)
            throw CommandFailure("paper code 256 (custom) needs --size WIDTH HEIGHT, both above 0");
    } else if (findPaper(o.code) == nullptr) {
        throw CommandFailure(fmt::format("{} is not a paper size code", o.code));
    }
    ensureGuiSession();
    TfrPrinter& printer = printing().printer();
    PagePaper page;
    const int width = o.size.size() == 2 ? o.size[0] : 0;
    const int height = o.size.size() == 2 ? o.size[1] : 0;
    try {
        ApplyPaper(printer, page, o.code, width, height, o.landscape ? 1 : 0, kDefaultBin);
    } catch (const PrinterError& e) {
        throw CommandFailure(fmt::format("the printer does not take this paper: {}", e.what()));
    }
    const TfrPageMetrics& m = page.metrics;
    if (m.PrintWidth <= 0 || m.PrintHeight <= 0)
        throw CommandFailure(fmt::format("a paper of {} x {} tenths of a millimetre is no larger than the "
                                         "printer's unprintable margins: nothing could be printed on it",
                                         printer.PaperWidth, printer.PaperHeight));
    std::cout << fmt::format("{} {} {} {} {} {} {} {} {}\n", printer.PaperSize, printer.PaperWidth,
                             printer.PaperHeight, m.PaperWidth, m.PaperHeight, m.OffsetX, m.OffsetY, m.PrintWidth,
                             m.PrintHeight);
}

Registration reg{[](CLI::App& root) {
    static Options options;
    CLI::App* cmd = root.add_subcommand("paper-metrics", "Apply a paper to the current printer and show its metrics");
    cmd->add_option("code", options.code, "Paper size code (256: custom, with --size)")->required();
    cmd->add_option("--size", options.size, "Width and height in tenths of a millimetre")->expected(2);
    cmd->add_flag("--landscape", options.landscape, "Landscape orientation");
    cmd->callback([] { run(options); });
}};

} // namespace
} // namespace pemvora::cli
