#pragma once
// The scripts of a report run: what the band engine calls to have the scripts
// of objects, bands and pages compiled and run.
//
// A run creates one ReportScripts for its report. It compiles the scripts of
// the objects and bands (Compile, CompilePage) in place: their ScriptLines
// hold the compiled lines until the ReportScripts goes, which puts every
// source back, so the template keeps its scripts whatever the run did (also
// when it ends by an error). It installs itself as engine().Scripts, through
// which the objects run their scripts when they print and measure. Destroy it
// before the template's objects go.
//
// Compile errors are not shown during a run: a script runs up to its failing
// statement. Errors of a running script leave to the caller (the band
// engine's error path).

#include "report/model/engine_context.h"
#include "report/model/types.h"
#include "report/script/interpreter.h"

#include <utility>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrPage;
class TfrView;

class ReportScripts : public ScriptRunner {
public:
    explicit ReportScripts(TfrReport& report);
    ~ReportScripts() override;
    ReportScripts(const ReportScripts&) = delete;
    ReportScripts& operator=(const ReportScripts&) = delete;

    // Replaces the view's ScriptLines by their compiled lines (once per run).
    void Compile(TfrView& view);
    // Every object and band of the page.
    void CompilePage(TfrPage& page);
    bool IsCompiled(const TfrView& view) const;

    // Runs the view's script with CurrentView = &view; CurrentView is put back
    // afterwards. A view this run did not compile is compiled for this once.
    void RunScript(TfrView& view) override;
    // A page script is compiled each time it runs.
    void RunPageScript(TfrPage& page);

    TInterpretator& Interpreter() { return interpreter_; }

private:
    TfrReport& report_;
    TInterpretator interpreter_;
    std::vector<std::pair<TfrView*, StringList>> sources_;   // compiled views and their source
    ScriptRunner* previous_;
};

// The compiled lines of a view's script: its ScriptLines when the running
// ReportScripts compiled them, else compiled now (errors ignored).
StringList CompiledScriptOf(TfrReport& report, const TfrView& view);

// Compiles and runs a script text for `report` (the command line, tests).
// Returns the compile errors; with none the script has run.
std::vector<ScriptError> CompileAndRun(TfrReport& report, const StringList& source, std::string_view owner = {});

} // namespace pemvora::report
