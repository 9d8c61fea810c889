#include "report/script/scriptrun.h"

#include "report/model/page.h"
#include "report/model/report.h"
#include "report/model/view.h"

#include <algorithm>

namespace pemvora::report {

namespace {

// Makes a view the current object for the length of its script.
class CurrentViewScope {
public:
    explicit CurrentViewScope(TfrView* view) : saved_(engine().CurrentView) { engine().CurrentView = view; }
    ~CurrentViewScope() { engine().CurrentView = saved_; }
    CurrentViewScope(const CurrentViewScope&) = delete;
    CurrentViewScope& operator=(const CurrentViewScope&) = delete;

private:
    TfrView* saved_;
};

StringList compiledNow(TfrInterpretator& interpreter, const StringList& source)
{
    StringList compiled;
    std::vector<ScriptError> errors;
    interpreter.CompileScript(source, compiled, errors);
    return compiled;
}

} // namespace

ReportScripts::ReportScripts(TfrReport& report) : report_(report), interpreter_(report), previous_(engine().Scripts)
{
    engine().Scripts = this;
}

ReportScripts::~ReportScripts()
{
    for (auto& [view, source] : sources_) view->ScriptLines = std::move(source);
    if (engine().Scripts == this) engine().Scripts = previous_;
}

bool ReportScripts::IsCompiled(const TfrView& view) const
{
    return std::any_of(sources_.begin(), sources_.end(), [&](const auto& entry) { return entry.first == &view; });
}

void ReportScripts::Compile(TfrView& view)
{
    if (IsCompiled(view)) return;
    StringList compiled = compiledNow(interpreter_, view.ScriptLines);
    sources_.emplace_back(&view, std::move(view.ScriptLines));
    view.ScriptLines = std::move(compiled);
}

void ReportScripts::CompilePage(TfrPage& page)
{
    for (const auto& view : page.PageObjects) Compile(*view);
}

void ReportScripts::RunScript(TfrView& view)
{
    if (view.ScriptLines.empty()) return;
    CurrentViewScope current(&view);
    if (IsCompiled(view)) interpreter_.RunScript(view.ScriptLines, view.Name);
    else interpreter_.RunScript(compiledNow(interpreter_, view.ScriptLines), view.Name);
}

void ReportScripts::RunPageScript(TfrPage& page)
{
    if (page.ScriptLines.empty()) return;
    interpreter_.RunScript(compiledNow(interpreter_, page.ScriptLines), page.Name);
}

StringList CompiledScriptOf(TfrReport& report, const TfrView& view)
{
    if (auto* scripts = dynamic_cast<ReportScripts*>(engine().Scripts); scripts && scripts->IsCompiled(view))
        return view.ScriptLines;
    if (view.ScriptLines.empty()) return {};
    TInterpretator interpreter(report);
    return compiledNow(interpreter, view.ScriptLines);
}

std::vector<ScriptError> CompileAndRun(TfrReport& report, const StringList& source, std::string_view owner)
{
    TInterpretator interpreter(report);
    StringList compiled;
    std::vector<ScriptError> errors;
    interpreter.CompileScript(source, compiled, errors);
    if (errors.empty()) interpreter.RunScript(compiled, owner);
    return errors;
}

} // namespace pemvora::report
