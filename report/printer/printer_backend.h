#pragma once
// PrinterBackend: what the printer wrapper (TfrPrinter) needs of the platform's
// printing, in one small interface. Implementations:
//   * VirtualPrinterBackend: no installed printer (everything runs on the
//     wrapper's built-in "Virtual printer");
//   * the system printers through Qt and CUPS (makeSystemPrinterBackend) and
//     PdfPrinterBackend, one printer that writes PDF files: both over QPrinter,
//     in their own library (qt_printer.h) that only programs link;
//   * RecordingPrinterBackend: programmable devices that log settings and jobs, for tests.
//
// The backend always has one selected printer (when it has any). Its settings
// record holds the fields the report engine sets (paper size code, custom
// paper length and width, orientation, copies, default source), each with a
// flag telling whether the record carries it.

#include "report/canvas/canvas.h"

#include <QString>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pemvora::report {

// A printer that cannot be read or that refuses settings.
class PrinterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

struct DeviceSettings {
    enum Field : unsigned {
        kPaperSize = 1, kPaperLength = 2, kPaperWidth = 4, kOrientation = 8, kCopies = 16, kDefaultSource = 32,
    };
    unsigned fields = 0;     // which of the values below the record carries
    int paperSize = 0;       // paper size code (kCustomPaper for a custom size)
    int paperLength = 0;     // custom size, 0.1 mm, before orientation
    int paperWidth = 0;
    int orientation = 1;     // 1 portrait, 2 landscape
    int copies = 1;
    int defaultSource = -1;  // bin code
    bool has(Field f) const { return (fields & f) != 0; }
    friend bool operator==(const DeviceSettings&, const DeviceSettings&) = default;
};

// Device capabilities for the current settings, in printer pixels.
struct DeviceCaps {
    int physicalWidth = 0;    // the whole sheet, in the current orientation
    int physicalHeight = 0;
    int physicalOffsetX = 0;  // unprintable left / top border
    int physicalOffsetY = 0;
    int logPixelsX = 0;       // resolution
    int logPixelsY = 0;
    int pageWidth = 0;        // printable area
    int pageHeight = 0;
};

struct DevicePaper {
    int id;
    QString name;
};

struct DeviceBin {
    int id;
    QString name;
};

struct DeviceIdentity {
    QString device;   // the printer's name
    QString driver;
    QString port;
};

class PrinterBackend {
public:
    virtual ~PrinterBackend() = default;

    // -- the installed printers and the selected one
    virtual std::vector<QString> printerNames() const = 0;
    virtual int currentIndex() const = 0;   // -1 without printers
    virtual void setCurrentIndex(int index) = 0;

    // -- the selected printer
    virtual DeviceIdentity identity() const = 0;
    // Its settings record; nullopt when it cannot be read.
    virtual std::optional<DeviceSettings> settings() const = 0;
    // Hands a changed record back; throws PrinterError when the device refuses it.
    virtual void setSettings(const DeviceSettings& settings) = 0;
    virtual DeviceCaps caps() const = 0;
    virtual std::vector<DevicePaper> papers() const = 0;
    virtual std::vector<DeviceBin> bins() const = 0;
    // The platform's printer properties dialog over the record; true when accepted.
    virtual bool showPropertiesDialog() { return false; }

    // -- print jobs on the selected printer. Each page takes the settings in
    // force when it begins (the paper may change between pages).
    virtual bool isPrinting() const = 0;
    // Whether the device makes the copies a job asks for itself; where it
    // cannot (a file), the engine repeats the pages instead.
    virtual bool makesCopies() const { return true; }
    // Starts a job; false when the printer cannot print (the virtual printer).
    virtual bool beginJob(const QString& title, int copies, bool collate) = 0;
    // The canvas of a new page, valid until the next beginPage/endJob.
    virtual Canvas& beginPage() = 0;
    virtual void endJob() = 0;
    virtual void abortJob() = 0;
};

// No installed printer: the wrapper runs on its virtual printer; jobs are refused.
class VirtualPrinterBackend : public PrinterBackend {
public:
    std::vector<QString> printerNames() const override { return {}; }
    int currentIndex() const override { return -1; }
    void setCurrentIndex(int) override {}
    DeviceIdentity identity() const override { return {}; }
    std::optional<DeviceSettings> settings() const override { return std::nullopt; }
    void setSettings(const DeviceSettings&) override { throw PrinterError("no printer is installed"); }
    DeviceCaps caps() const override { return {}; }
    std::vector<DevicePaper> papers() const override { return {}; }
    std::vector<DeviceBin> bins() const override { return {}; }
    bool isPrinting() const override { return false; }
    bool beginJob(const QString&, int, bool) override { return false; }
    Canvas& beginPage() override { throw PrinterError("no printer is installed"); }
    void endJob() override {}
    void abortJob() override {}
};

} // namespace pemvora::report
