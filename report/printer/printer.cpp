#include "report/printer/printer.h"

#include "platform/text/gbk.h"

#include <algorithm>
#include <cmath>

namespace pemvora::report {

namespace {

// Engine text for a name from the platform; characters GBK cannot hold become "?".
std::string toEngineText(const QString& s)
{
    std::string out;
    if (text::tryUtf8ToGbk(s.toStdString(), out)) return out;
    out.clear();
    for (QChar ch : s) {
        std::string one;
        out += text::tryUtf8ToGbk(QString(ch).toStdString(), one) ? one : std::string("?");
    }
    return out;
}

int tenthsFromDevice(int pixels, int pixelsPerInch) { return roundEven(double(pixels) / pixelsPerInch * 254.0); }

} // namespace

TfrPrinter::TfrPrinter()
{
    BinNames = {"Default"};
    BinIds = {kDefaultBin};
    BinCount = 1;
    LoadPaperNames();
}

void TfrPrinter::Startup(PrinterBackend* platform)
{
    try {
        AttachPrinter(platform);
        const bool hasRecord = platform && !platform->printerNames().empty() && platform->settings().has_value();
        if (!hasRecord) {
            SelectPrinter(VirtualPrinterIndex);
            PaperSize = kUnknownPaper;
        }
    } catch (const std::exception&) {
        // A printer that cannot be reached at start-up is not an error: the
        // engine runs on the virtual printer.
    }
}

void TfrPrinter::LoadPaperNames()
{
    if (!PrinterNames.empty()) PrinterNames.back() = std::string(kVirtualPrinterName);
}

void TfrPrinter::AttachPrinter(PrinterBackend* platform)
{
    Printer = platform;
    PrinterNames.clear();
    PrinterIndex = 0;
    const std::vector<QString> names = platform ? platform->printerNames() : std::vector<QString>{};
    for (const QString& n : names) PrinterNames.push_back(toEngineText(n));
    if (!names.empty()) PrinterIndex = std::max(0, platform->currentIndex());
    PrinterNames.emplace_back(kVirtualPrinterName);
    VirtualPrinterIndex = int(PrinterNames.size()) - 1;
    if (names.empty())
        ApplySettings();
    else
        ReadDeviceSettings();
}

void TfrPrinter::SelectPrinter(int index)
{
    if (index == PrinterIndex) return;
    if (index < 0 || index >= int(PrinterNames.size())) throw PrinterError("no printer with that index");
    PrinterIndex = index;
    if (isVirtual()) {
        ApplySettings();
    } else if (Printer && !Printer->printerNames().empty()) {
        Printer->setCurrentIndex(index);
        ReadDeviceSettings();
    }
}

void TfrPrinter::ReadDeviceSettings()
{
    try {
        if (!Printer || Printer->printerNames().empty()) throw PrinterError("no printer");
        const DeviceIdentity id = Printer->identity();
        std::optional<DeviceSettings> record = Printer->settings();
        if (!record) record = Printer->settings();   // a device may need a second request
        if (!record) throw PrinterError("the printer's settings cannot be read");
        const DeviceCaps caps = Printer->caps();
        if (caps.logPixelsX <= 0 || caps.logPixelsY <= 0) throw PrinterError("the printer reports no resolution");

        Device = toEngineText(id.device);
        Driver = toEngineText(id.driver);
        Port = toEngineText(id.port);
        PaperSize = record->paperSize;
        PaperWidth = tenthsFromDevice(caps.physicalWidth, caps.logPixelsX);
        PaperHeight = tenthsFromDevice(caps.physicalHeight, caps.logPixelsY);
        PaperIds.clear();
        PaperNames.clear();
        for (const DevicePaper& p : Printer->papers()) {
            PaperIds.push_back(p.id);
            PaperNames.push_back(toEngineText(p.name));
        }
        PaperCount = int(PaperIds.size());
        Bin = record->has(DeviceSettings::kDefaultSource) ? record->defaultSource : kDefaultBin;
        BinIds = {kDefaultBin};
        BinNames = {"Default"};
        for (const DeviceBin& b : Printer->bins()) {
            BinIds.push_back(b.id);
            BinNames.push_back(toEngineText(b.name));
        }
        BinCount = int(BinIds.size());
        Orientation = (!record->has(DeviceSettings::kOrientation) || record->orientation == 1) ? 0 : 1;
    } catch (const std::exception&) {
        SelectPrinter(VirtualPrinterIndex);
    }
}

void TfrPrinter::ApplySettings()
{
    if (isVirtual())
        ApplyVirtualSettings();
    else
        ApplyDeviceSettings();
}

void TfrPrinter::ApplyVirtualSettings()
{
    PaperNames.clear();
    PaperIds.clear();
    for (const PaperInfo& p : paperTable()) {
        PaperNames.emplace_back(p.name);
        PaperIds.push_back(p.id);
    }
    PaperCount = int(PaperIds.size());
    if (PaperSize != kCustomPaper) {
        if (const PaperInfo* p = findPaper(PaperSize)) {
            PaperWidth = Orientation == 1 ? p->height : p->width;
            PaperHeight = Orientation == 1 ? p->width : p->height;
        }
    }
}

void TfrPrinter::ApplyDeviceSettings()
{
    if (!Printer) throw PrinterError("no printer");
    std::optional<DeviceSettings> record = Printer->settings();
    if (!record) throw PrinterError("the printer's settings cannot be read");
    constexpr unsigned customFields = DeviceSettings::kPaperLength | DeviceSettings::kPaperWidth;
    if (PaperSize == kCustomPaper) {
        record->fields |= customFields;
        // The record describes the sheet as it is fed (portrait); a landscape
        // page of W x H is a W-long, H-wide sheet turned.
        record->paperWidth = Orientation == 1 ? PaperHeight : PaperWidth;
        record->paperLength = Orientation == 1 ? PaperWidth : PaperHeight;
    } else {
        record->fields &= ~customFields;
    }
    if (record->has(DeviceSettings::kPaperSize)) record->paperSize = PaperSize;
    if (record->has(DeviceSettings::kOrientation)) record->orientation = Orientation == 1 ? 2 : 1;
    if (record->has(DeviceSettings::kCopies)) record->copies = 1;
    if (record->has(DeviceSettings::kDefaultSource) && !isDefaultBin(Bin)) record->defaultSource = Bin;
    Printer->setSettings(*record);
    ReadDeviceSettings();
}

bool TfrPrinter::SameSettings(int size, int width, int height, int orientation, int bin) const
{
    if (size == kCustomPaper && PaperSize == kCustomPaper)
        return std::abs(PaperWidth - width) <= 1 && std::abs(PaperHeight - height) <= 1 && orientation == Orientation;
    return size == PaperSize && orientation == Orientation && (bin == Bin || isDefaultBin(bin));
}

void TfrPrinter::SetPaper(int size, int width, int height, int orientation, int bin, bool force)
{
    if (Printer && !isVirtual() && Printer->isPrinting()) return;
    if (!force && SameSettings(size, width, height, orientation, bin)) return;
    PaperSize = size;
    PaperWidth = width;
    PaperHeight = height;
    Orientation = orientation;
    Bin = bin;
    ApplySettings();
}

void TfrPrinter::FillPageMetrics(TfrPageMetrics& m) const
{
    const double k = kDesignPixelsPerInch;
    if (isVirtual()) {
        m.PaperWidth = roundEven(PaperWidth * k / 254.0);
        m.PaperHeight = roundEven(PaperHeight * k / 254.0);
        m.OffsetX = m.OffsetY = roundEven(50 * k / 254.0);
        m.PrintWidth = m.PaperWidth - 2 * m.OffsetX;
        m.PrintHeight = m.PaperHeight - 2 * m.OffsetY;
        return;
    }
    if (!Printer) throw PrinterError("no printer");
    const DeviceCaps caps = Printer->caps();
    if (caps.logPixelsX <= 0 || caps.logPixelsY <= 0) throw PrinterError("the printer reports no resolution");
    const double kx = k / caps.logPixelsX, ky = k / caps.logPixelsY;
    m.DevPaperWidth = caps.physicalWidth;
    m.PaperWidth = roundEven(kx * m.DevPaperWidth);
    m.DevPaperHeight = caps.physicalHeight;
    m.PaperHeight = roundEven(ky * m.DevPaperHeight);
    m.DevOffsetX = caps.physicalOffsetX;
    m.OffsetX = roundEven(kx * m.DevOffsetX);
    m.DevOffsetY = caps.physicalOffsetY;
    m.OffsetY = roundEven(ky * m.DevOffsetY);
    m.DevPrintWidth = caps.pageWidth;
    m.PrintWidth = roundEven(kx * m.DevPrintWidth);
    m.DevPrintHeight = caps.pageHeight;
    m.PrintHeight = roundEven(ky * m.DevPrintHeight);
}

bool TfrPrinter::ShowPropertiesDialog()
{
    if (isVirtual() || !Printer) return false;
    return Printer->showPropertiesDialog();
}

int TfrPrinter::PaperIndexOf(int id) const
{
    const auto it = std::find(PaperIds.begin(), PaperIds.end(), id);
    return it != PaperIds.end() ? int(it - PaperIds.begin()) : PaperCount - 1;
}

int TfrPrinter::BinIndexOf(int id) const
{
    const auto it = std::find(BinIds.begin(), BinIds.end(), id);
    return it != BinIds.end() ? int(it - BinIds.begin()) : 0;
}

// ---------------------------------------------------------------- pages and reports

void ApplyPaper(TfrPrinter& printer, PagePaper& page, int size, int width, int height, int orientation, int bin)
{
    try {
        printer.SetPaper(size, width, height, orientation, bin, false);
        printer.FillPageMetrics(page.metrics);
    } catch (const PrinterError&) {
        printer.SetPaper(kCustomPaper, width, height, orientation, kDefaultBin, false);
        printer.FillPageMetrics(page.metrics);
    }
    page.size = printer.PaperSize;
    page.width = printer.PaperWidth;
    page.height = printer.PaperHeight;
    page.orientation = printer.Orientation;
    page.bin = isDefaultBin(bin) ? kDefaultBin : printer.Bin;
}

void SelectPrinterByName(TfrPrinter& printer, ReportPrinter& report, std::string_view name)
{
    if (!report.PrintToDefault) {
        for (int i = 0; i < int(printer.PrinterNames.size()); ++i) {
            if (text::equalsNoCase(printer.PrinterNames[std::size_t(i)], name)) {
                printer.SelectPrinter(i);
                break;
            }
        }
    }
    report.PrinterName = std::string(name);
}

bool SwitchPrinter(TfrPrinter& printer, ReportPrinter& report, std::span<PagePaper*> pages, int oldIndex,
                   int newIndex, const std::function<void(const std::string&, const std::string&)>& showError)
{
    auto reapply = [&] {
        for (PagePaper* page : pages)
            ApplyPaper(printer, *page, page->size, page->width, page->height, page->orientation, page->bin);
    };
    try {
        printer.SelectPrinter(newIndex);
        report.PrinterName = printer.PrinterNames[std::size_t(printer.PrinterIndex)];
        printer.PaperSize = kUnknownPaper;
        reapply();
        return true;
    } catch (const std::exception&) {
        if (showError) showError("Printer selected is not valid", "Error");
        try {
            printer.SelectPrinter(oldIndex);
            report.PrinterName = printer.PrinterNames[std::size_t(printer.PrinterIndex)];
            reapply();
        } catch (const std::exception&) {
            // The old printer has gone as well: the pages keep what they had.
        }
        return false;
    }
}

} // namespace pemvora::report
