#include "report/printer/qt_printer.h"

#include "report/printer/paper.h"
#include "report/printer/printing_context.h"

#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPrinterInfo>

#include <cmath>
#include <cstdlib>
#include <string_view>

namespace pemvora::report {

namespace {

// QPrinter::PaperSource and the bin codes of the settings record (DMBIN_*).
struct SourceCode {
    QPrinter::PaperSource source;
    int bin;
    const char* name;
};
constexpr SourceCode kSources[] = {
    {QPrinter::OnlyOne, 1, "Upper"},           {QPrinter::Lower, 2, "Lower"},
    {QPrinter::Middle, 3, "Middle"},           {QPrinter::Manual, 4, "Manual"},
    {QPrinter::Envelope, 5, "Envelope"},       {QPrinter::EnvelopeManual, 6, "Envelope manual"},
    {QPrinter::Auto, 7, "Automatic"},          {QPrinter::Tractor, 8, "Tractor"},
    {QPrinter::SmallFormat, 9, "Small format"}, {QPrinter::LargeFormat, 10, "Large format"},
    {QPrinter::LargeCapacity, 11, "Large capacity"}, {QPrinter::Cassette, 14, "Cassette"},
    {QPrinter::FormSource, 15, "Form source"},
};

int binOf(QPrinter::PaperSource source)
{
    for (const SourceCode& s : kSources)
        if (s.source == source) return s.bin;
    return kDefaultBin;
}

std::optional<QPrinter::PaperSource> sourceOf(int bin)
{
    for (const SourceCode& s : kSources)
        if (s.bin == bin) return s.source;
    return std::nullopt;
}

int tenths(qreal millimetres) { return int(std::lround(millimetres * 10.0)); }

} // namespace

// ---------------------------------------------------------------- common part

QPrinterBackendBase::~QPrinterBackendBase()
{
    if (painter_.isActive()) painter_.end();
}

DeviceIdentity QPrinterBackendBase::identity() const
{
    if (!printer_) return {};
    return {printer_->printerName().isEmpty() ? printerNames().front() : printer_->printerName(), driverName(),
            printer_->outputFileName()};
}

std::optional<DeviceSettings> QPrinterBackendBase::settings() const
{
    if (!printer_ || !printer_->isValid()) return std::nullopt;
    const QPageLayout layout = printer_->pageLayout();
    if (!layout.isValid()) return std::nullopt;
    DeviceSettings s;
    s.fields = DeviceSettings::kPaperSize | DeviceSettings::kOrientation | DeviceSettings::kCopies |
               DeviceSettings::kDefaultSource;
    const QPageSize size = layout.pageSize();
    const int code = size.id() == QPageSize::Custom ? kCustomPaper : size.windowsId();
    s.paperSize = code > 0 ? code : kCustomPaper;
    if (s.paperSize == kCustomPaper) {
        const QSizeF mm = size.size(QPageSize::Millimeter);
        s.fields |= DeviceSettings::kPaperLength | DeviceSettings::kPaperWidth;
        s.paperWidth = tenths(mm.width());
        s.paperLength = tenths(mm.height());
    }
    s.orientation = layout.orientation() == QPageLayout::Landscape ? 2 : 1;
    s.copies = printer_->copyCount();
    s.defaultSource = binOf(printer_->paperSource());
    return s;
}

void QPrinterBackendBase::setSettings(const DeviceSettings& s)
{
    if (!printer_) throw PrinterError("no printer");
    QPageSize size;
    if (s.has(DeviceSettings::kPaperLength) && s.has(DeviceSettings::kPaperWidth)) {
        if (s.paperWidth <= 0 || s.paperLength <= 0) throw PrinterError("a custom paper needs a length and width");
        size = QPageSize(QSizeF(s.paperWidth / 10.0, s.paperLength / 10.0), QPageSize::Millimeter, QString(),
                         QPageSize::ExactMatch);
    } else {
        const QPageSize::PageSizeId id = QPageSize::id(s.paperSize);
        const PaperInfo* row = findPaper(s.paperSize);
        if (id != QPageSize::Custom && s.paperSize != kCustomPaper)
            size = QPageSize(id);
        else if (row && row->width > 0)   // a table paper Qt has no name for: its size
            size = QPageSize(QSizeF(row->width / 10.0, row->height / 10.0), QPageSize::Millimeter, QString(),
                             QPageSize::ExactMatch);
        else
            throw PrinterError("unknown paper size code " + std::to_string(s.paperSize));
    }
    if (!size.isValid() || !accepts(size)) throw PrinterError("the printer does not take that paper");
    const auto orientation = s.has(DeviceSettings::kOrientation) && s.orientation == 2 ? QPageLayout::Landscape
                                                                                         : QPageLayout::Portrait;
    if (!printer_->setPageSize(size) || !printer_->setPageOrientation(orientation))
        throw PrinterError("the printer refused the paper");
    if (s.has(DeviceSettings::kCopies) && s.copies > 0) printer_->setCopyCount(s.copies);
    if (s.has(DeviceSettings::kDefaultSource) && !isDefaultBin(s.defaultSource)) {
        if (auto source = sourceOf(s.defaultSource)) printer_->setPaperSource(*source);
    }
}

DeviceCaps QPrinterBackendBase::caps() const
{
    DeviceCaps c;
    if (!printer_) return c;
    const QRect paper = printer_->paperRect(QPrinter::DevicePixel).toRect();
    const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
    c.logPixelsX = c.logPixelsY = printer_->resolution();
    c.physicalWidth = paper.width();
    c.physicalHeight = paper.height();
    c.physicalOffsetX = page.left() - paper.left();
    c.physicalOffsetY = page.top() - paper.top();
    c.pageWidth = page.width();
    c.pageHeight = page.height();
    return c;
}

bool QPrinterBackendBase::beginJob(const QString& title, int copies, bool collate)
{
    if (!printer_ || painter_.isActive()) return false;
    printer_->setDocName(title);
    printer_->setCopyCount(std::max(1, copies));
    printer_->setCollateCopies(collate);
    if (!painter_.begin(printer_.get())) return false;
    pageOpen_ = false;
    return true;
}

Canvas& QPrinterBackendBase::beginPage()
{
    if (!painter_.isActive()) throw PrinterError("no print job");
    if (pageOpen_ && !printer_->newPage()) throw PrinterError("the printer cannot start a new page");
    pageOpen_ = true;
    const int dpi = printer_->resolution();
    const QRect page = printer_->pageRect(QPrinter::DevicePixel).toRect();
    canvas_ = std::make_unique<PainterCanvas>(painter_, dpi, dpi, Rect{0, 0, page.width(), page.height()}, true);
    return *canvas_;
}

void QPrinterBackendBase::endJob()
{
    canvas_.reset();
    if (painter_.isActive()) painter_.end();
}

void QPrinterBackendBase::abortJob()
{
    canvas_.reset();
    if (printer_) printer_->abort();
    if (painter_.isActive()) painter_.end();
}

// ---------------------------------------------------------------- system printers

SystemPrinterBackend::SystemPrinterBackend()
{
    const QStringList names = QPrinterInfo::availablePrinterNames();
    names_.assign(names.begin(), names.end());
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    int initial = 0;
    for (int i = 0; i < int(names_.size()); ++i)
        if (names_[std::size_t(i)] == defaultName) initial = i;
    if (!names_.empty()) setCurrentIndex(initial);
}

void SystemPrinterBackend::setCurrentIndex(int index)
{
    if (index < 0 || index >= int(names_.size()) || index == current_ || isPrinting()) return;
    printer_ = std::make_unique<QPrinter>(QPrinterInfo::printerInfo(names_[std::size_t(index)]),
                                          QPrinter::HighResolution);
    current_ = index;
}

std::vector<DevicePaper> SystemPrinterBackend::papers() const
{
    std::vector<DevicePaper> out;
    if (current_ < 0) return out;
    const QPrinterInfo info = QPrinterInfo::printerInfo(names_[std::size_t(current_)]);
    for (const QPageSize& size : info.supportedPageSizes()) {
        const int code = size.windowsId();
        if (code > 0 && code != kCustomPaper) out.push_back({code, size.name()});
    }
    if (info.supportsCustomPageSizes()) out.push_back({kCustomPaper, QStringLiteral("Custom")});
    return out;
}

std::vector<DeviceBin> SystemPrinterBackend::bins() const
{
    std::vector<DeviceBin> out;
#if defined(Q_OS_WIN)
    if (!printer_) return out;
    for (QPrinter::PaperSource source : printer_->supportedPaperSources()) {
        for (const SourceCode& s : kSources)
            if (s.source == source) out.push_back({s.bin, QString::fromLatin1(s.name)});
    }
#endif
    // Qt lists no paper sources for CUPS printers: they print from the default source.
    return out;
}

bool SystemPrinterBackend::accepts(const QPageSize& size) const
{
    if (current_ < 0) return false;
    const QPrinterInfo info = QPrinterInfo::printerInfo(names_[std::size_t(current_)]);
    if (size.id() == QPageSize::Custom) return info.supportsCustomPageSizes();
    const QList<QPageSize> sizes = info.supportedPageSizes();
    return sizes.isEmpty() || std::any_of(sizes.begin(), sizes.end(), [&](const QPageSize& s) { return s.id() == size.id(); });
}

bool SystemPrinterBackend::showPropertiesDialog()
{
    if (!printer_ || isPrinting()) return false;
    QPageSetupDialog dialog(printer_.get());
    return dialog.exec() == QDialog::Accepted;
}

std::unique_ptr<PrinterBackend> makeSystemPrinterBackend()
{
    if (const char* choice = std::getenv("PEMVORA_PRINTERS"); choice && std::string_view(choice) == "none")
        return std::make_unique<VirtualPrinterBackend>();
    // Printing needs Qt's GUI side; a program without it (a command-line tool,
    // a model test) lays out on the virtual printer.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) == nullptr)
        return std::make_unique<VirtualPrinterBackend>();
    // Without a CUPS service (or without printers) Qt lists nothing: the
    // engine then runs on its virtual printer, without telling anyone.
    if (QPrinterInfo::availablePrinterNames().isEmpty()) return std::make_unique<VirtualPrinterBackend>();
    return std::make_unique<SystemPrinterBackend>();
}

void installSystemPrinters() { setDefaultPrinterBackend(makeSystemPrinterBackend); }

// ---------------------------------------------------------------- PDF file

PdfPrinterBackend::PdfPrinterBackend(const QString& outputFile)
{
    printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer_->setOutputFormat(QPrinter::PdfFormat);
    printer_->setResolution(kResolution);
    printer_->setFullPage(false);
    printer_->setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    printer_->setOutputFileName(outputFile);
}

void PdfPrinterBackend::setOutputFile(const QString& outputFile)
{
    if (!isPrinting()) printer_->setOutputFileName(outputFile);
}

std::vector<DevicePaper> PdfPrinterBackend::papers() const
{
    std::vector<DevicePaper> out;
    for (const PaperInfo& p : paperTable())
        out.push_back({p.id, QString::fromUtf8(p.name.data(), qsizetype(p.name.size()))});
    return out;
}

bool PdfPrinterBackend::accepts(const QPageSize&) const { return true; }

} // namespace pemvora::report
