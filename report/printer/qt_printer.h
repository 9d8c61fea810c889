#pragma once
// Printer backends over QPrinter: the system printers (Qt's CUPS support) and
// a PDF-file printer. Both keep one QPrinter for the selected printer and turn
// the settings record into Qt's page layout and back:
//   paper code <-> QPageSize's Windows paper code, custom length x width in
//   0.1 mm <-> a millimetre QPageSize, orientation 1/2 <-> portrait/landscape,
//   bin code <-> QPrinter::PaperSource (the Windows DMBIN numbering).
// Device pixels are the QPrinter's at its resolution; the printer canvas draws
// with the origin at the top-left corner of the printable area.

#include "report/canvas/painter_canvas.h"
#include "report/printer/printer_backend.h"

#include <QPainter>
#include <QPrinter>

#include <memory>

namespace pemvora::report {

class QPrinterBackendBase : public PrinterBackend {
public:
    ~QPrinterBackendBase() override;

    DeviceIdentity identity() const override;
    std::optional<DeviceSettings> settings() const override;
    void setSettings(const DeviceSettings& settings) override;
    DeviceCaps caps() const override;
    bool isPrinting() const override { return painter_.isActive(); }
    bool beginJob(const QString& title, int copies, bool collate) override;
    Canvas& beginPage() override;
    void endJob() override;
    void abortJob() override;

    QPrinter* qprinter() { return printer_.get(); }

protected:
    // Whether the selected printer takes this page size (before it is set).
    virtual bool accepts(const QPageSize& size) const = 0;
    virtual QString driverName() const = 0;
    std::unique_ptr<QPrinter> printer_;

private:
    QPainter painter_;
    std::unique_ptr<PainterCanvas> canvas_;
    bool pageOpen_ = false;
};

// The installed printers. Constructed only when Qt lists at least one.
class SystemPrinterBackend : public QPrinterBackendBase {
public:
    SystemPrinterBackend();
    std::vector<QString> printerNames() const override { return names_; }
    int currentIndex() const override { return current_; }
    void setCurrentIndex(int index) override;
    std::vector<DevicePaper> papers() const override;
    std::vector<DeviceBin> bins() const override;
    bool showPropertiesDialog() override;

protected:
    bool accepts(const QPageSize& size) const override;
    QString driverName() const override { return QStringLiteral("CUPS"); }

private:
    std::vector<QString> names_;
    int current_ = -1;
};

// One printer, "PDF file", writing each job to a PDF file at a fixed
// resolution with no unprintable border. Takes every paper of the paper table
// and custom sizes.
class PdfPrinterBackend : public QPrinterBackendBase {
public:
    static constexpr int kResolution = 600;
    explicit PdfPrinterBackend(const QString& outputFile);
    void setOutputFile(const QString& outputFile);

    std::vector<QString> printerNames() const override { return {QStringLiteral("PDF file")}; }
    int currentIndex() const override { return 0; }
    void setCurrentIndex(int) override {}
    std::vector<DevicePaper> papers() const override;
    std::vector<DeviceBin> bins() const override { return {}; }
    // A file holds each page once.
    bool makesCopies() const override { return false; }

protected:
    bool accepts(const QPageSize& size) const override;
    QString driverName() const override { return QStringLiteral("PDF"); }
};

// The installed printers through Qt and CUPS; a VirtualPrinterBackend when
// there is none (or no CUPS service), without any message, when the
// environment says PEMVORA_PRINTERS=none, and when the program has no
// QGuiApplication (printing needs one).
std::unique_ptr<PrinterBackend> makeSystemPrinterBackend();

// Makes the system printers the backend printing() starts over (programs that
// print call it once at start-up).
void installSystemPrinters();

} // namespace pemvora::report
