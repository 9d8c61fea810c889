#pragma once
// RecordingPrinterBackend: printers that exist only in memory, for tests. Each
// behaves like a device with a settings record, a resolution, unprintable
// borders, the paper sizes it accepts and its bins; every record handed back
// and every print job (pages, the settings each page was printed with, copies,
// collation, what was drawn) is logged.

#include "report/printer/printer_backend.h"
#include "report/canvas/recording_canvas.h"

#include <memory>
#include <vector>

namespace pemvora::report {

struct FakePrinter {
    QString name;
    int dpi = 600;
    int offsetX = 0;              // unprintable left and right border, printer pixels
    int offsetY = 0;              // unprintable top and bottom border
    std::vector<int> paperIds;    // accepted paper codes; empty: every row of the paper table
    bool customSizes = true;      // accepts paper code 256 with a length and width
    std::vector<DeviceBin> bins;
    bool readable = true;         // false: the settings record cannot be read
    bool makesCopies = true;      // false: a job's copies are left to the engine
    int failAfterPages = -1;      // >= 0: the page after this many pages of a job fails (the device went away)
};

class RecordingPrinterBackend : public PrinterBackend {
public:
    struct Page {
        DeviceSettings settings;
        DeviceCaps caps;
        std::unique_ptr<RecordingCanvas> canvas;
    };
    struct Job {
        QString printer;
        QString title;
        int copies = 1;
        bool collate = false;
        std::vector<Page> pages;
        bool ended = false;
        bool aborted = false;
    };

    explicit RecordingPrinterBackend(std::vector<FakePrinter> printers, int current = 0);

    std::vector<QString> printerNames() const override;
    int currentIndex() const override { return current_; }
    void setCurrentIndex(int index) override;
    DeviceIdentity identity() const override;
    std::optional<DeviceSettings> settings() const override;
    void setSettings(const DeviceSettings& settings) override;
    DeviceCaps caps() const override;
    std::vector<DevicePaper> papers() const override;
    std::vector<DeviceBin> bins() const override;
    bool isPrinting() const override { return printing_; }
    bool makesCopies() const override { return current_ >= 0 && device().makesCopies; }
    bool beginJob(const QString& title, int copies, bool collate) override;
    Canvas& beginPage() override;
    void endJob() override;
    void abortJob() override;

    // The log.
    const std::vector<DeviceSettings>& appliedSettings() const { return applied_; }
    const std::vector<Job>& jobs() const { return jobs_; }
    // The current record of printer i (to set up a test).
    DeviceSettings& record(int i) { return records_.at(std::size_t(i)); }

private:
    const FakePrinter& device() const { return printers_.at(std::size_t(current_)); }

    std::vector<FakePrinter> printers_;
    std::vector<DeviceSettings> records_;
    int current_;
    std::vector<DeviceSettings> applied_;
    std::vector<Job> jobs_;
    bool printing_ = false;
};

} // namespace pemvora::report
