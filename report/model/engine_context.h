#pragma once
// The engine-wide state of the report engine, in one object. The engine runs
// one report at a time in the process; everything that the objects, the band
// engine, the evaluator and the scripts share lives here and nowhere else.
// Tests start from a clean state with resetEngine().

#include "platform/value/datetime.h"
#include "platform/value/value.h"
#include "report/data/constants.h"
#include "report/data/evaluator.h"
#include "report/data/variables.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrPage;
class TfrView;
class TfrBandRuntime;
class ComponentContainer;
class RunNames;
class LinkOpener;
class Canvas;
class RunProcedures;
class FunctionRegistry;
class ProgressWindow;

// The windows of a run that live in libraries above the engine; a program
// installs those it links (contract in report/engine/run_control.h).
struct RunPresenters {
    // Shows the report's prepared pages under `caption` (engine text).
    std::function<void(TfrReport& report, const std::string& caption)> Preview;
    // Opens the designer on the report; returns its modal result.
    std::function<int(TfrReport& report)> Designer;
    // Makes the progress window of a run.
    std::function<std::unique_ptr<ProgressWindow>()> Progress;
};

// Runs the script of an object, band or page view while a report runs. The
// script interpreter installs one for the length of a run (the objects call it
// from their print and measure steps); without one, scripts do not run.
class ScriptRunner {
public:
    virtual ~ScriptRunner() = default;
    // Runs the view's ScriptLines with CurrentView = &view, restoring
    // CurrentView afterwards. Errors of the script leave to the caller.
    virtual void RunScript(TfrView& view) = 0;
};

// The most statements one run of one script may execute before it is stopped.
inline constexpr std::int64_t kDefaultScriptStepLimit = 10'000'000;

inline TfrVariables makeConstantsList()
{
    TfrVariables constants(true);
    FillConstants(constants);
    return constants;
}

// A plug-in object class (kind code 10), created by its class name.
struct PlugInClass {
    std::string ClassName;
    std::function<std::unique_ptr<TfrView>()> Create;
};
inline constexpr std::size_t kMaxPlugInClasses = 64;

struct EngineContext {
    // --- current objects ---
    TfrReport* CurrentReport = nullptr;
    TfrReport* RootReport = nullptr;
    TfrPage* CurrentPage = nullptr;
    TfrBandRuntime* CurrentBand = nullptr;
    TfrView* CurrentView = nullptr;
    // The page the designer shows; band alignment uses it in design mode.
    TfrPage* DesignerPage = nullptr;

    // --- run state ---
    // 0 while designing; 1 while a run prepares pages or prepared pages are drawn.
    int Running = 0;
    // First pass of a two-pass run: fill and frame painting do nothing.
    bool MeasuringPass = false;
    bool FinalPass = false;
    int PageNo = 0;               // 0-based prepared page being filled
    int TotalPages = 0;
    bool AppendToPrevious = false;
    bool FooterDone = false;
    int SavedCurY = 0;
    int SavedBottom = 0;
    bool StopRequested = false;
    std::vector<TfrView*> NotifyList;
    bool ErrorFlag = false;
    std::string ErrorText;
    DateTime StartDate;
    DateTime StartTime;
    int CrossShiftX = 0;

    // --- objects ---
    // Every created object takes the next number.
    std::int32_t NextId = 0;
    // Plug-in classes (none in this system) and the class names a read did not find.
    std::vector<PlugInClass> PlugIns;
    std::vector<std::string> MissingClasses;

    // --- services installed by other parts of the engine ---
    ExpressionEvaluator* Evaluator = nullptr;
    // The preview, the designer and the progress window (see RunPresenters).
    RunPresenters Presenters;
    // Opens the web and mail addresses of hyperlink objects in prepared pages
    // (report/engine/link_opener.h); while none is installed, no link opens.
    LinkOpener* Links = nullptr;

    // --- drawing ---
    // The scratch canvas (96 pixels per inch, off screen) on which text is
    // measured and objects are laid out that nobody sees; made on first use by
    // scratchCanvas().
    std::shared_ptr<Canvas> Scratch;
    // The designer shows band titles on tabs outside the bands.
    bool BandTitlesOutside = false;
    // The zoom the user last picked in a preview, for every preview of the
    // process: preview pixels per design pixel, and the mode (0 that factor,
    // 1 page width, 2 whole page, 3 two pages).
    double PreviewZoom = 1.0;
    int PreviewZoomMode = 0;
    // Edits prepared page `index` of a report in the designer and stores the
    // objects back; true when the page changed. The designer installs it;
    // while none is, the preview offers no page editing.
    std::function<bool(TfrReport& report, int index)> PreparedPageEditor;

    // --- names and expressions ---
    // frVariables: the host's and the scripts' variables, kept from run to run.
    TfrVariables Variables{true};
    // frConstants: colours, flags, CRLF, Null.
    TfrVariables Constants = makeConstantsList();
    // The expression fallback's guard of name resolution, emptied per bracket.
    std::string NameGuard;
    // The value of the bracket being expanded (the name VALUE reads).
    Value BracketValue;
    // The aggregate collection pass is running: brackets give empty text.
    bool CollectingAggregates = false;
    // Evaluations under way, one inside the other (a bracket within a bracket,
    // a call in an argument, a name that is an expression naming another).
    int EvaluationDepth = 0;
    // The application's top-level components (windows, data modules), for
    // "Window.Component" names of data sets.
    ComponentContainer* Application = nullptr;
    // What the band engine tells names of the running report (LINE#, CURY, ...);
    // installed while a run is on.
    RunNames* Run = nullptr;

    // --- functions and scripts ---
    // The function libraries and their descriptions; created with the
    // standard libraries on first use (see report/script/functions.h).
    std::shared_ptr<FunctionRegistry> Functions;
    // Runs object scripts during a run (report/script/scriptrun.h).
    ScriptRunner* Scripts = nullptr;
    // The band engine's side of the report procedures (SHOWBAND); installed
    // while a run is on.
    RunProcedures* Procedures = nullptr;
    // Statements one script run may execute (the run control may change it).
    std::int64_t ScriptStepLimit = kDefaultScriptStepLimit;
    // Script runs in progress, one inside another (a band script that shows
    // its own band, ...).
    int ScriptDepth = 0;
    // The data band that aggregate calls register in during the collection
    // pass (CollectingAggregates is set then).
    TfrBandRuntime* AggregateTarget = nullptr;
};

EngineContext& engine();
// The engine's scratch canvas; needs a QGuiApplication.
Canvas& scratchCanvas();
// Back to the state of a freshly started engine.
void resetEngine();

} // namespace pemvora::report
