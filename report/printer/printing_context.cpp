#include "report/printer/printing_context.h"

namespace pemvora::report {

PrintingContext::PrintingContext(std::unique_ptr<PrinterBackend> backend) : backend_(std::move(backend))
{
    if (!backend_) backend_ = std::make_unique<VirtualPrinterBackend>();
    printer_.Startup(backend_.get());
    defaultPaperSize_ = printer_.PaperSize;
}

namespace {
std::unique_ptr<PrintingContext>& current()
{
    static std::unique_ptr<PrintingContext> context;
    return context;
}
} // namespace

PrintingContext& printing()
{
    if (!current()) current() = std::make_unique<PrintingContext>(makeSystemPrinterBackend());
    return *current();
}

void resetPrinting(std::unique_ptr<PrinterBackend> backend)
{
    current().reset();
    current() = std::make_unique<PrintingContext>(backend ? std::move(backend) : makeSystemPrinterBackend());
}

} // namespace pemvora::report
