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

PrinterBackendFactory& defaultFactory()
{
    static PrinterBackendFactory factory;
    return factory;
}

// nullptr stands for the virtual printer (the context's constructor makes it).
std::unique_ptr<PrinterBackend> makeDefaultBackend()
{
    return defaultFactory() ? defaultFactory()() : nullptr;
}
} // namespace

void setDefaultPrinterBackend(PrinterBackendFactory factory) { defaultFactory() = std::move(factory); }

PrintingContext& printing()
{
    if (!current()) current() = std::make_unique<PrintingContext>(makeDefaultBackend());
    return *current();
}

void resetPrinting(std::unique_ptr<PrinterBackend> backend)
{
    current().reset();
    current() = std::make_unique<PrintingContext>(backend ? std::move(backend) : makeDefaultBackend());
}

} // namespace pemvora::report
