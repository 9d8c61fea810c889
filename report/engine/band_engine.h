#pragma once
// The band engine: turns the pages of a loaded template into prepared pages.
//
// For a run it makes a run-time band (TfrBand) for every band view of a
// report page, hands every object to the band it lies in, and then walks the
// bands: overlay and the objects outside bands, title, page header, the
// master/detail/subdetail data loops with their headers, footers and groups,
// column footer, summary and page footers. It starts new columns and pages
// when a band does not fit and keeps the values expressions read (PAGE#,
// LINE#, CURY, ...). Every printed object writes its record into the stream of
// the current prepared page; nothing is drawn.
//
// BandEngine is the run's state beside the engine context: it installs itself
// as engine().Run (the names of a running report) and engine().Procedures
// (SHOWBAND) for its lifetime, and owns the run-time bands and the run state
// of every template page. The engine-wide fields (PageNo, TotalPages,
// MeasuringPass, ErrorText, ...) stay in the engine context.
//
// Errors: an error while an object prints ends the run through the error
// path (CalculationErrorText, ErrorFlag, Terminated) and does not leave the
// engine; errors elsewhere in a pass leave RunPass to PrepareReportPages
// (prepare.h), which takes them down the same path.

#include "report/engine/band.h"
#include "report/model/engine_context.h"
#include "report/model/types.h"
#include "report/script/functions.h"
#include "report/script/names.h"

#include <array>
#include <cstdint>
#include <exception>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrPage;
class TfrView;
class TfrEMFPages;
class ReportScripts;

// What the run control hands to a run.
struct RunControl {
    // A run that would make more prepared pages than this stops with an error
    // (a data source that never ends).
    int PageLimit = 100'000;
    // A data loop that runs through this many records without starting a new
    // prepared page stops with an error (a never-ending source of bands that
    // take no room).
    std::int64_t RecordLimit = 10'000'000;
    // Progress: called with the page number whenever a page is done; without
    // it the report's OnProgress is called. Setting the report's Terminated
    // from here (a Cancel button) stops the run at its next check.
    std::function<void(int pageNo)> Progress;
    // Texts that scripts assign to PROGRESS.
    std::function<void(const std::string& text)> ProgressText;
    // The report's name in error texts; empty: the template file's name.
    std::string ReportName;
};

// A run that cannot go on: a band that never fits, the page or record limit.
class RunError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// A band feature whose printing this engine does not do yet (breaking a band
// over pages, sub-reports, cross columns). The run ends with its message.
class NotSupportedYet : public RunError {
public:
    using RunError::RunError;
};

// The report's name in error texts: the run control's, else the template file's name.
std::string ReportNameFor(const TfrReport& report, const RunControl& control);

// The error text of a run that failed: "An error occured during calculating",
// the current object's memo lines, the report's name, the object's name, and
// the error's message, separated by carriage returns.
std::string CalculationErrorText(const std::string& reportName, const TfrView* currentObject,
                                 const std::string& message);

// One step a sub-report body records instead of printing (RecordMode 1).
struct RecordedStep {
    enum Kind { ShowBand = 0, FirstRecord = 1, NextRecord = 2 };
    TfrBand* Band = nullptr;
    Kind Step = ShowBand;
};

// The run state of one template page.
struct PageRun {
    explicit PageRun(TfrPage& page) : Page(page) {}

    TfrPage& Page;
    int Index = 0;                                 // 1-based place of the page in the report
    // The first band of every kind (the chain's head); never null while bands are ready.
    std::array<TfrBand*, bandkind::Count> Bands{};
    std::vector<std::unique_ptr<TfrBand>> OwnedBands;
    bool BandsReady = false;

    int CurY = 0;                                  // top of the next band (CURY)
    int BandAreaBottom = 0;                        // lowest y a band may use (PAGEHEIGHT)
    int ColumnOffsetX = 0;
    int ColumnIndex = 0;                           // 0-based page column
    int ColumnTopY = 0;
    int ColumnNoValue = 1;                         // COLUMN#
    int CurrentRecordNo = 1;                       // CURRENT#
    int Columns = 1;                               // page columns of this run (at least 1)
    int ColumnWidth = 0;                           // width of a page column in this run
    TfrBand* LastPrintedBand = nullptr;
    bool SuppressRepeat = false;
    bool IsSubReportPage = false;

    // Sub-report bodies record their steps instead of printing (RecordMode 1).
    int RecordMode = 0;
    std::vector<RecordedStep> RecordedSteps;
    int ReplayPos = 0;
    TfrBand* SuspendedBand = nullptr;

    TfrBand& Band(int kind) const { return *Bands[static_cast<std::size_t>(kind)]; }
};

class BandEngine : public RunNames, public RunProcedures {
public:
    // Installs itself in the engine context; `pages` receive the output.
    BandEngine(TfrReport& report, ReportScripts& scripts, TfrEMFPages& pages, RunControl control = {});
    // Frees every run-time band (releasing data sources) and gives the
    // template its objects back as they were before the run.
    ~BandEngine() override;
    BandEngine(const BandEngine&) = delete;
    BandEngine& operator=(const BandEngine&) = delete;

    // One pass over the report. In the second pass of a two-pass run the
    // bands of the first are kept, their data sources rewound.
    void RunPass();

    // The run state of a template page (made on first use).
    PageRun& RunOf(TfrPage& page);
    const std::string& ReportName() const { return reportName_; }

    // The error path: the run's error text from the current object and `error`,
    // ErrorFlag and Terminated set. A second error keeps the first text.
    void Fail(const std::exception& error);

    // --- RunNames ---
    int LineNo() override;
    int LineThroughNo() override;
    int ColumnNo() override;
    int CurrentRecordNo() override;
    int CurY() override;
    int BandAreaBottom() override;
    int RightEdge() override;
    void SetCurY(int y) override;
    void SetModalResult(int result) override;
    void ShowProgress(const std::string& text) override;
    int TextWidth(TfrView& view) override;
    TfrDataset* DefaultDataSource() override;

    // --- RunProcedures ---
    void ShowBandByName(const std::string& name) override;

private:
    // --- preparing the bands (band_setup.cpp) ---
    void PrepareForRun(PageRun& run);
    void BuildRuntimeBands(PageRun& run);
    void PrepareAggregates(PageRun& run);
    void FinishRun(PageRun& run);
    TfrBand& newBand(PageRun& run, int kind);

    // --- pages, columns and data loops (band_pages.cpp) ---
    void BuildPage(PageRun& run);
    void RunDataLevel(PageRun& run, int level);
    void NewPage(PageRun& run);
    void NewColumn(PageRun& run, TfrBand* band);
    void PrintPageFooters(PageRun& run);
    void ShowBand(PageRun& run, TfrBand* band);
    void AddPreparedPage(PageRun& run);
    void Progress(int pageNo);
    bool Terminated() const;
    int TopEdge(const PageRun& run) const;
    int BottomEdge(const PageRun& run) const;
    int LeftEdge(const PageRun& run) const;
    int RightEdge(const PageRun& run) const;
    void push(TfrBand* band);
    void flush(PageRun& run);
    void dropLast();
    void countRecord(TfrBand& band);

    // --- printing a band (band_print.cpp) ---
    bool PrintBand(PageRun& run, TfrBand* band);
    void PlaceBand(PageRun& run, TfrBand& band);
    bool PrintObjects(PageRun& run, TfrBand& band);
    void PrintObject(PageRun& run, TfrBand& band, TfrView& view);
    int ComputeHeight(PageRun& run, TfrBand& band);
    int MeasuredHeight(PageRun& run, TfrBand& band);
    bool CheckBreak(PageRun& run, TfrBand& band, int top, int height, bool noAction);
    void ResetAggregates(TfrBand& band);
    void Accumulate(TfrBand& band);
    // Where breaking bands over pages, sub-reports and cross columns join in.
    void SplitAcrossPages(PageRun& run, TfrBand& band);
    bool RunSubReports(PageRun& run, TfrBand& band, std::size_t firstSubReport);
    void PrintCross(PageRun& run, TfrBand& band);
    int MeasureCross(PageRun& run, TfrBand& band);
    // A band that does not fit where it is: whether it can never fit.
    void refuseBandThatNeverFits(PageRun& run, TfrBand& band, int height, bool canSplit);

    void setCurrentPage(PageRun& run);
    TfrBand* currentBand() const;

    TfrReport& report_;
    ReportScripts& scripts_;
    TfrEMFPages& pages_;
    RunControl control_;
    std::string reportName_;
    std::vector<std::unique_ptr<PageRun>> runs_;
    int passes_ = 0;
    bool measuringWidth_ = false;
    PageRun* current_ = nullptr;
    // Headers, group headers and rows waiting for a row of the deepest level.
    std::vector<TfrBand*> pending_;
    std::vector<TfrBand*> flushing_;
    int deepestLevel_ = 0;
    // Bands placed since the last page or column break began (the headers a
    // break prints do not count), and breaks in progress: a band that does
    // not fit on a page where nothing else was placed never will.
    int placedSinceBreak_ = 0;
    int breakDepth_ = 0;
    // Records the data loops went through since a prepared page was added.
    std::int64_t recordsOnPage_ = 0;
    // Geometry of the template's objects before the run; the bands make tops relative.
    struct SavedPlace {
        TfrView* view;
        int left, top, width, height;
    };
    std::vector<SavedPlace> savedPlaces_;
    RunNames* previousRun_;
    RunProcedures* previousProcedures_;
};

} // namespace pemvora::report
