#pragma once
// TfrPrinter: the report engine's single view of the printer. It lists the
// installed printers plus a built-in "Virtual printer" (always the last entry),
// holds the selected printer's paper sizes and bins and the current paper, and
// turns the paper into page geometry (TfrPageMetrics).
//
// On the virtual printer the paper sizes come from the built-in table and the
// unprintable border is 5 mm, so reports lay out and preview without a device.
// A device that cannot be read is replaced by the virtual printer, quietly.
//
// Engine text: the printer, paper and bin names are held as GBK, like all
// engine text (names GBK cannot hold show "?" for those characters).

#include "report/printer/paper.h"
#include "report/printer/printer_backend.h"

#include <functional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

inline constexpr std::string_view kVirtualPrinterName = "Virtual printer";

class TfrPrinter {
public:
    TfrPrinter();
    TfrPrinter(const TfrPrinter&) = delete;
    TfrPrinter& operator=(const TfrPrinter&) = delete;

    // -- the selected device
    std::string Device, Driver, Port;
    PrinterBackend* Printer = nullptr;   // the platform printer (not owned)

    // -- the selected printer's papers and bins (growable lists)
    std::vector<std::string> PaperNames;
    std::vector<int> PaperIds;
    int PaperCount = 0;
    std::vector<std::string> BinNames;   // "Default" first
    std::vector<int> BinIds;             // -1 first
    int BinCount = 0;

    // -- the printers
    std::vector<std::string> PrinterNames;   // the platform's, then "Virtual printer"
    int PrinterIndex = 0;
    int VirtualPrinterIndex = 0;

    // -- the current paper
    int Orientation = 0;          // 0 portrait, 1 landscape
    int PaperSize = kA4;          // code; kCustomPaper custom; kUnknownPaper forces the next SetPaper
    int PaperWidth = 0;           // 0.1 mm, in the current orientation
    int PaperHeight = 0;
    int Bin = kDefaultBin;

    bool isVirtual() const { return PrinterIndex == VirtualPrinterIndex; }

    // Start-up: attach to the platform printer; a device without a readable
    // settings record leaves the virtual printer selected and PaperSize unknown.
    // Never throws.
    void Startup(PrinterBackend* platform);

    void AttachPrinter(PrinterBackend* platform);
    // Selects an entry of PrinterNames; throws PrinterError for an index out of range.
    void SelectPrinter(int index);
    void ReadDeviceSettings();
    // Writes the current paper to the device (or the virtual printer's table);
    // throws PrinterError when the device refuses it.
    void ApplySettings();
    // Changes the current paper; nothing while the device prints, nothing when
    // `force` is off and SameSettings holds. Throws as ApplySettings.
    void SetPaper(int size, int width, int height, int orientation, int bin, bool force);
    bool SameSettings(int size, int width, int height, int orientation, int bin) const;
    // Throws PrinterError when the device cannot be measured.
    void FillPageMetrics(TfrPageMetrics& m) const;
    bool ShowPropertiesDialog();
    int PaperIndexOf(int id) const;   // PaperCount - 1 when absent
    int BinIndexOf(int id) const;     // 0 when absent
    void LoadPaperNames();

private:
    void ApplyVirtualSettings();
    void ApplyDeviceSettings();
};

// The page's paper as a template page or a prepared page holds it.
struct PagePaper {
    int size = kA4;
    int width = 0;             // 0.1 mm, in the page's orientation
    int height = 0;
    int orientation = 0;       // 0 portrait, 1 landscape
    int bin = kDefaultBin;
    TfrPageMetrics metrics;
};

// A page's paper through the printer: the printer takes the paper (falling back
// to a custom size of the page's own width and height with the default bin
// when it refuses), and the page takes over what the printer then holds.
void ApplyPaper(TfrPrinter& printer, PagePaper& page, int size, int width, int height, int orientation, int bin);

// The report's printer choice, as a report holds it.
struct ReportPrinter {
    std::string PrinterName;     // GBK
    bool PrintToDefault = false; // true: keep the current printer whatever the report names
};

// Selects the printer a report names, unless PrintToDefault; a name that is not
// installed leaves the current printer, without message. PrinterName becomes `name`.
void SelectPrinterByName(TfrPrinter& printer, ReportPrinter& report, std::string_view name);

// Switches the report to another printer and re-applies every page's paper.
// On failure shows "Printer selected is not valid" (caption "Error") through
// `showError`, goes back to oldIndex and returns false.
bool SwitchPrinter(TfrPrinter& printer, ReportPrinter& report, std::span<PagePaper*> pages, int oldIndex,
                   int newIndex, const std::function<void(const std::string& text, const std::string& caption)>& showError);

} // namespace pemvora::report
