#pragma once
// Run control: what a host drives on a report (TfrReport) once its template is
// loaded (TfrReport::LoadFromFile): prepare it into pages under a progress
// window with Cancel, show the pages in the preview, print them with a page
// list, copies and collation, write them through an export filter, open the
// designer.
//
// Contract with the libraries above the engine. The engine cannot reach the
// preview or the designer, so they install presenters into the engine context
// (engine().Presenters, see RunPresenters in engine_context.h) and a program
// links the libraries whose windows it wants:
//   * Presenters.Preview(report, caption): shows the report's prepared pages
//     (PreparedPages(report)) in the preview window (modal when
//     report.ModalPreview) or in report.Preview. The preview shares the
//     report's EMFPages and does not take them away from the report, so
//     printing and exporting from the preview find them there; closing the
//     window clears them. ShowPreparedReport without a preview presenter
//     raises NoPresenterError.
//   * Presenters.Designer(report): opens the designer on the report, modally,
//     and returns its modal result. Without one DesignReport returns
//     kModalCancel and shows nothing (a program without a designer).
//   * Presenters.Progress(): a progress window (ProgressWindow below). Without
//     one a run goes on without window and without Cancel, as with
//     ShowProgress off. The Qt window is in progress_window_widgets.h.
//
// Texts handed to presenters and windows are engine text (GBK); messages go
// through the UI services (UTF-8).

#include "report/engine/prepare.h"
#include "report/model/export_filter.h"

#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrReport;

inline constexpr int kModalOk = 1;
inline constexpr int kModalCancel = 2;

// PrintPagesMode: which page numbers of the page list are printed.
namespace printpages {
inline constexpr int All = 0;
inline constexpr int Odd = 1;
inline constexpr int Even = 2;
} // namespace printpages

// An export that could not write its file (GBK message).
class ExportError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// ShowPreparedReport was called in a program that installed no preview.
class NoPresenterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A page list that does not read ("1,x"); the message names the part.
class PageListError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The progress window (TfrProgressForm): a small modal dialog with two
// labels and Cancel. A run shows it with its work as the task; the task calls
// ProcessEvents at every progress report, which is where a Cancel click is
// seen: Cancel sets the report's Terminated flag (the band engine and the
// print loop stop at their next check) and the window closes with Cancel.
class ProgressWindow {
public:
    virtual ~ProgressWindow() = default;
    virtual void SetCaption(const std::string& caption) = 0;
    virtual void SetLabel1(const std::string& text) = 0;
    virtual void SetLabel2(const std::string& text) = 0;
    // Shows the window modally and runs `task` inside its event loop once it
    // is shown. Returns false when the window closed with Cancel.
    virtual bool ShowModalWithTask(TfrReport& report, const std::function<void()>& task) = 0;
    // Handles pending events (the Cancel button) while a task runs.
    virtual void ProcessEvents() = 0;
};

// The page numbers (1-based, ascending, each once) a page list selects from
// `pageCount` pages. Blanks are ignored; "" selects every page; "3-" runs to
// the last page; "1,3,5-12"; a range whose end is below its start adds
// nothing; numbers beyond the page count are left out. A part that is not a
// number raises PageListError.
std::vector<int> ParsePageList(std::string_view text, int pageCount);

// The page indexes (0-based) in the order the sheets come out when the copies
// are made by repeating pages (a file): the page list with PrintPagesMode
// applied, the sequence repeated for collated copies (1,2,3,1,2,3), every page
// repeated for uncollated ones (1,1,2,2,3,3). Raises PageListError.
std::vector<int> PrintSequence(std::string_view pageList, int pageCount, int copies, bool collate,
                               int printPagesMode = printpages::All);

// Prepares the report's pages (the progress window while ShowProgress is on
// and no OnProgress is assigned); an error of the run is shown as "Error"
// message and leaves no pages. The template is restored afterwards from a copy
// taken before the run, so nothing a script changed survives the run: its
// pages and objects are new ones then, and pointers to them taken before the
// run do not survive it either. False when Cancel was pressed (a cancelled
// single-pass run keeps its finished pages; a cancelled two-pass run keeps
// none) or a dialog page was cancelled.
bool PrepareReport(TfrReport& report, const RunControl& control = {});

// PrepareReport, then ShowPreparedReport whatever it returned.
void ShowReport(TfrReport& report);

// Hands the prepared pages to the preview presenter (nothing when there are
// none); raises NoPresenterError when no preview is installed.
void ShowPreparedReport(TfrReport& report);

// The print job of a run: pages, copies, collation and PrintPagesMode. Pages
// go to the printer the engine's printer wrapper has selected, at each page's
// own paper; a change of paper ends the job and begins a new one. Collated
// copies repeat the page sequence, uncollated ones ask the device for the
// copies, or repeat every page where the device cannot make copies. Returns
// whether every selected page went to the printer; Cancel, a list that selects
// nothing, a printer that refuses the job or fails in it end the run with a
// message (the printer named) and false.
bool PrintPreparedReport(TfrReport& report, const std::string& pages, int copies, bool collate,
                         int printPagesMode = printpages::All);

// Opens the designer on the report; its modal result, kModalCancel without a designer.
int DesignReport(TfrReport& report);

// Writes the prepared pages through `filter` into `fileName` (GBK). The
// before-export handler and ConfirmExport may refuse: nothing is written and
// the result is false. The pages go to a temporary file beside fileName that
// replaces it only at the end: a failed export (its error reaches the caller)
// leaves an existing file as it was. The after-export handler hears of a
// complete export.
// `pageOrder` (0-based indexes, see PrintSequence) exports those pages in that
// order instead of every page once.
bool ExportPreparedPages(TfrReport& report, TfrExportFilter& filter, const std::string& fileName,
                         const std::vector<int>& pageOrder = {});

// Hands every object of a prepared page to the active export filter through
// its ExportContent, one object at a time.
void ExportPage(TfrReport& report, int index);

// --- printing from the preview ---

// What the print dialog yields.
struct PrintChoice {
    std::string Pages;   // the page list ("" all pages)
    int Copies = 1;
    bool Collate = true;
    int PrintPagesMode = printpages::All;
};

// The print dialog (TfrPrintForm): runs modally over the engine's printer
// wrapper; nullopt when closed other than with OK (the printer that was
// selected when it opened is selected again). The Qt dialog is in
// print_dialog_widgets.h.
class PrintDialog {
public:
    virtual ~PrintDialog() = default;
    virtual std::optional<PrintChoice> Run(TfrReport& report, int currentPage) = 0;
};

// The preview's Print button: the dialog when ShowPrintDialog is on (else all
// pages, DefaultCopies, DefaultCollate); when RebuildPrinter is on and the
// dialog chose another printer the report switches printers and is prepared
// again; then PrintPreparedReport. False when nothing was printed.
bool PrintFromPreview(TfrReport& report, int currentPage, PrintDialog& dialog);

} // namespace pemvora::report
