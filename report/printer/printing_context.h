#pragma once
// The engine's printing state: the platform printer backend and the one
// TfrPrinter over it, created at start-up, plus the paper size found then.
// One object, so that tests can put in a backend of their own and start afresh.

#include "report/printer/printer.h"

#include <functional>
#include <memory>

namespace pemvora::report {

class PrintingContext {
public:
    // Runs the printer start-up over `backend` (never throws).
    explicit PrintingContext(std::unique_ptr<PrinterBackend> backend);

    TfrPrinter& printer() { return printer_; }
    PrinterBackend& backend() { return *backend_; }
    // The paper size code found at start-up; kUnknownPaper when the printer gave none.
    int defaultPaperSize() const { return defaultPaperSize_; }
    // The paper size of a new page: the start-up paper, or A4 when there was none.
    int newPagePaperSize() const { return defaultPaperSize_ > 0 ? defaultPaperSize_ : kA4; }

private:
    std::unique_ptr<PrinterBackend> backend_;
    TfrPrinter printer_;
    int defaultPaperSize_ = kUnknownPaper;
};

// The process's printing state; made on first use over the default backend.
PrintingContext& printing();
// Starts the printing state afresh over `backend` (nullptr: the default backend).
void resetPrinting(std::unique_ptr<PrinterBackend> backend);

// What the default backend is made by. Programs that print install the system
// printers (installSystemPrinters in qt_printer.h); without a factory, or with
// an empty one, the engine lays out on the virtual printer alone.
using PrinterBackendFactory = std::function<std::unique_ptr<PrinterBackend>()>;
void setDefaultPrinterBackend(PrinterBackendFactory factory);

} // namespace pemvora::report
