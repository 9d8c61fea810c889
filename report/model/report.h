#pragma once
// TfrReport: the report component. It owns its template pages (and later its
// prepared pages and dictionary), carries the published settings and events,
// and resolves "object.property" names for expressions and scripts.

#include "platform/value/datetime.h"
#include "platform/value/value.h"
#include "report/model/page.h"
#include "report/data/dictionary.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace pemvora::report {

class TfrDataset;
class TfrPreview;
class BinaryReader;
class BinaryWriter;
class TfrBandRuntime;
class TfrEMFPages;

// Raised by CreateObject for a plug-in class name that is not registered.
class EClassNotFound : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Creates an object of a kind code: 0..4 the built-in kinds, 10 a registered
// plug-in class (the name compared exactly). 5..9 and above 10 create nothing
// and take no Id. An unknown plug-in name is recorded in the engine's
// missing-class list and raises EClassNotFound.
std::unique_ptr<TfrView> CreateObject(int kindCode, std::string_view className = {});

// Registers a plug-in class (at most kMaxPlugInClasses); false when full.
bool RegisterPlugInClass(std::string className, std::function<std::unique_ptr<TfrView>()> create);

// A template file that cannot be created, written or opened.
class TemplateFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Where a template is read from: a password is asked only for files.
enum class TemplateOrigin { File, Memory };

enum class TfrPreviewZoom { pzDefault, pzPageWidth, pzOnePage, pzTwoPages };
enum class TfrReportType { rtSimple, rtMultiple };
namespace previewbutton {
inline constexpr unsigned pbZoom = 1u << 0;
inline constexpr unsigned pbLoad = 1u << 1;
inline constexpr unsigned pbSave = 1u << 2;
inline constexpr unsigned pbPrint = 1u << 3;
inline constexpr unsigned pbFind = 1u << 4;
inline constexpr unsigned pbHelp = 1u << 5;
inline constexpr unsigned pbExit = 1u << 6;
inline constexpr unsigned pbPageSetup = 1u << 7;
} // namespace previewbutton

// The "Document" page of the report options.
struct ReportInformation {
    std::string Name, Author, Comment;
    std::string VersionMajor, VersionMinor, VersionRelease, VersionBuild;
    friend bool operator==(const ReportInformation&, const ReportInformation&) = default;
};

// Where an "object.property" name leads.
struct PropertyTarget {
    TfrObject* Object = nullptr;
    std::string Property;
};

class TfrReport {
public:
    TfrReport();
    ~TfrReport();
    TfrReport(const TfrReport&) = delete;
    TfrReport& operator=(const TfrReport&) = delete;

    // Frees all pages, clears TwoPass, the report information, the protection
    // and the password; created and modified become now.
    void Clear();

    // --- the template file (template_file.cpp) ---
    // Writes the template as version 25 (modified := now). A template that
    // cannot be stored whole (a text too long for its length field, more than
    // 256 pages) raises TemplateSaveError and `out` is left as it was.
    void SaveToStream(BinaryWriter& out);
    std::string SaveToBytes();
    // Writes to a temporary file renamed over `fileName` at the end, so a failed
    // save leaves the old file; raises TemplateSaveError or TemplateFileError.
    void SaveToFile(const std::string& fileName);
    // Reads a template of version 21 to 25 (older streams as 21). Failures end
    // in a message through the UI services ("Unsupported FRF format", the
    // missing classes) and set LoadFailed; a protected template from a file
    // asks for its password.
    void LoadFromStream(BinaryReader& in, TemplateOrigin origin = TemplateOrigin::File);
    void LoadFromBytes(std::string_view bytes, TemplateOrigin origin = TemplateOrigin::File);
    // False when the file does not exist (nothing changes); otherwise reads it
    // and sets TemplateFileName (not after a refused password). A file that
    // exists but cannot be opened raises TemplateFileError.
    bool LoadFromFile(const std::string& fileName);

    // First object of any page whose name equals `name` ignoring case.
    TfrView* FindObject(std::string_view name) const;

    // Object addressing for expressions and scripts: "Memo1.Left",
    // "PAGE2.Visible", or a bare property name of the current object.
    // nullopt when the name leads nowhere (also a page number beyond the
    // count); a page number that is not a number raises ConversionError.
    std::optional<PropertyTarget> ResolveProperty(std::string_view name);
    // Null when the name leads nowhere.
    Value GetObjectProperty(std::string_view name);
    // Ignored when the name leads nowhere.
    void SetObjectProperty(std::string_view name, const Value& value);

    // Selects the printer the template names (unless Printer.PrintToDefault);
    // a name that is not installed keeps the current printer.
    void SelectPrinterByName(std::string_view name);
    // Switches to another printer and applies every page's paper again; on
    // failure reports "Printer selected is not valid" through showError, goes
    // back to the old printer and returns false.
    bool SwitchPrinter(int oldIndex, int newIndex,
                       const std::function<void(const std::string& text, const std::string& caption)>& showError);

    TfrPages Pages{this};
    // The prepared pages of the last run; the report engine makes them on
    // first use (report/engine), and the preview may take them over.
    std::shared_ptr<TfrEMFPages> EMFPages;
    // Designer-defined variables, aliases and the field cache.
    TfrDataDictionary Dictionary;
    // The window the report sits on: its data components are found by plain name.
    ComponentContainer* Owner = nullptr;

    // --- published settings ---
    TfrDataset* Dataset = nullptr;
    int DefaultCopies = 1;
    bool DefaultCollate = true;
    bool GrayedButtons = false;
    TfrPreviewZoom InitialZoom = TfrPreviewZoom::pzDefault;
    bool MDIPreview = false;
    bool ModalPreview = true;
    bool ModifyPrepared = true;
    TfrPreview* Preview = nullptr;
    unsigned PreviewButtons = previewbutton::pbZoom | previewbutton::pbLoad | previewbutton::pbSave
        | previewbutton::pbPrint | previewbutton::pbFind | previewbutton::pbHelp | previewbutton::pbExit;
    bool PrintIfEmpty = true;
    TfrReportType ReportType = TfrReportType::rtSimple;
    bool ShowPrintDialog = true;
    bool ShowProgress = true;
    bool StoreInDFM = false;
    std::string Title;
    bool RebuildPrinter = false;
    bool UseDefaultDataSetName = false;

    // --- published events (unassigned events are skipped) ---
    std::function<void()> OnBeginDoc;
    std::function<void()> OnEndDoc;
    std::function<void(int pageNo)> OnBeginPage;
    std::function<void(int pageNo)> OnEndPage;
    std::function<void(TfrBandRuntime& band)> OnBeginBand;
    std::function<void(TfrBandRuntime& band)> OnEndBand;
    std::function<void(const std::string& parName, Value& parValue)> OnGetValue;
    std::function<void(StringList& workLines, TfrView& view)> OnBeforePrint;
    std::function<void(const std::string& name, const Value& p1, const Value& p2, const Value& p3, Value& result)>
        OnUserFunction;
    std::function<void(int n)> OnProgress;
    std::function<void(TfrBandRuntime& band)> OnBeginColumn;
    std::function<void(int columnNo, int& width)> OnPrintColumn;
    std::function<void(TfrPage& page)> OnManualBuild;
    std::function<void(TfrView& view)> OnObjectClick;
    std::function<void(TfrView& view, int& cursor)> OnMouseOverObject;
    std::function<void()> OnPrintReport;
    std::function<void()> OnCustomizeObject;

    // --- internal fields ---
    // The run is to stop (STOPREPORT, the progress window's Cancel, an error);
    // the band engine checks it at its stopping points.
    bool Terminated = false;
    std::string TemplateFileName = "Untitled";
    ReportInformation Information;
    DateTime Created;
    DateTime Modified;
    bool PasswordProtected = false;
    std::string ReportPassword;
    std::uint8_t GeneratorVersion = 88;
    bool TwoPass = false;
    // PrinterName (the printer the template names) and PrintToDefault (keep the
    // current printer when loading).
    ReportPrinter Printer;
    // While set, SaveToStream writes the XML export (xml_export.h) instead.
    bool XmlExport = false;
    // The last read did not give the whole template (damaged, unsupported,
    // missing classes, refused password): saving it would lose the file's content.
    bool LoadFailed = false;
    // The last read ended at a wrong or cancelled password.
    bool PasswordRefused = false;
    // The format version the last read found (21 to 25; 21 for a stream without
    // a version byte); 0 before any read and after an empty or unsupported one.
    int LoadedVersion = 0;
    // The prepared pages can be prepared again from the template (not when
    // they came from a prepared-report file).
    bool CanRebuild = false;
};

} // namespace pemvora::report
