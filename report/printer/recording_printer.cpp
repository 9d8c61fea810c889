#include "report/printer/recording_printer.h"

#include "report/printer/paper.h"

#include <algorithm>
#include <cmath>

namespace pemvora::report {

namespace {

int tenthsToPixels(int tenths, int dpi) { return int(std::lround(tenths / 254.0 * dpi)); }

} // namespace

RecordingPrinterBackend::RecordingPrinterBackend(std::vector<FakePrinter> printers, int current)
    : printers_(std::move(printers)), current_(printers_.empty() ? -1 : current)
{
    DeviceSettings initial;
    initial.fields = DeviceSettings::kPaperSize | DeviceSettings::kOrientation | DeviceSettings::kCopies |
                     DeviceSettings::kDefaultSource;
    initial.paperSize = kA4;
    records_.assign(printers_.size(), initial);
}

std::vector<QString> RecordingPrinterBackend::printerNames() const
{
    std::vector<QString> names;
    for (const FakePrinter& p : printers_) names.push_back(p.name);
    return names;
}

void RecordingPrinterBackend::setCurrentIndex(int index)
{
    if (index >= 0 && index < int(printers_.size())) current_ = index;
}

DeviceIdentity RecordingPrinterBackend::identity() const
{
    if (current_ < 0) return {};
    return {device().name, QStringLiteral("recording"), QStringLiteral("memory")};
}

std::optional<DeviceSettings> RecordingPrinterBackend::settings() const
{
    if (current_ < 0 || !device().readable) return std::nullopt;
    return records_[std::size_t(current_)];
}

void RecordingPrinterBackend::setSettings(const DeviceSettings& s)
{
    if (current_ < 0) throw PrinterError("no printer");
    const FakePrinter& d = device();
    const bool custom = s.has(DeviceSettings::kPaperLength) && s.has(DeviceSettings::kPaperWidth);
    if (custom) {
        if (!d.customSizes || s.paperLength <= 0 || s.paperWidth <= 0)
            throw PrinterError("the printer takes no custom paper size");
    } else {
        const bool known = d.paperIds.empty()
                               ? findPaper(s.paperSize) != nullptr && s.paperSize != kCustomPaper
                               : std::find(d.paperIds.begin(), d.paperIds.end(), s.paperSize) != d.paperIds.end();
        if (!known) throw PrinterError("the printer does not take that paper");
    }
    applied_.push_back(s);
    records_[std::size_t(current_)] = s;
}

DeviceCaps RecordingPrinterBackend::caps() const
{
    if (current_ < 0) return {};
    const FakePrinter& d = device();
    const DeviceSettings& s = records_[std::size_t(current_)];
    int w = 0, h = 0;
    if (s.has(DeviceSettings::kPaperLength) && s.has(DeviceSettings::kPaperWidth)) {
        w = s.paperWidth;
        h = s.paperLength;
    } else if (const PaperInfo* p = findPaper(s.paperSize)) {
        w = p->width;
        h = p->height;
    }
    if (s.orientation == 2) std::swap(w, h);
    DeviceCaps c;
    c.logPixelsX = c.logPixelsY = d.dpi;
    c.physicalWidth = tenthsToPixels(w, d.dpi);
    c.physicalHeight = tenthsToPixels(h, d.dpi);
    c.physicalOffsetX = d.offsetX;
    c.physicalOffsetY = d.offsetY;
    c.pageWidth = c.physicalWidth - 2 * d.offsetX;
    c.pageHeight = c.physicalHeight - 2 * d.offsetY;
    return c;
}

std::vector<DevicePaper> RecordingPrinterBackend::papers() const
{
    std::vector<DevicePaper> out;
    if (current_ < 0) return out;
    for (const PaperInfo& p : paperTable()) {
        const auto& ids = device().paperIds;
        const bool listed = ids.empty() ? p.id != kCustomPaper || device().customSizes
                                        : std::find(ids.begin(), ids.end(), p.id) != ids.end();
        if (listed) out.push_back({p.id, QString::fromUtf8(p.name.data(), qsizetype(p.name.size()))});
    }
    return out;
}

std::vector<DeviceBin> RecordingPrinterBackend::bins() const
{
    return current_ < 0 ? std::vector<DeviceBin>{} : device().bins;
}

bool RecordingPrinterBackend::beginJob(const QString& title, int copies, bool collate)
{
    if (current_ < 0 || printing_) return false;
    Job job;
    job.printer = device().name;
    job.title = title;
    job.copies = copies;
    job.collate = collate;
    jobs_.push_back(std::move(job));
    printing_ = true;
    return true;
}

Canvas& RecordingPrinterBackend::beginPage()
{
    if (!printing_) throw PrinterError("no print job");
    if (device().failAfterPages >= 0 && int(jobs_.back().pages.size()) >= device().failAfterPages)
        throw PrinterError("the printer does not answer");
    Page page{records_[std::size_t(current_)], caps(), std::make_unique<RecordingCanvas>(device().dpi, true)};
    jobs_.back().pages.push_back(std::move(page));
    return *jobs_.back().pages.back().canvas;
}

void RecordingPrinterBackend::endJob()
{
    if (!printing_) return;
    jobs_.back().ended = true;
    printing_ = false;
}

void RecordingPrinterBackend::abortJob()
{
    if (!printing_) return;
    jobs_.back().aborted = true;
    printing_ = false;
}

} // namespace pemvora::report
