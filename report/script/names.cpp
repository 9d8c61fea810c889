#include "report/script/names.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "report/data/datasource.h"
#include "report/model/report.h"
#include "report/model/view.h"
#include "report/script/displayformat.h"
#include "report/script/expandline.h"
#include "report/script/functions.h"
#include "report/script/valueops.h"

#include <fmt/format.h>

namespace pemvora::report {

namespace {

int runValue(int (RunNames::*read)())
{
    RunNames* run = engine().Run;
    return run ? (run->*read)() : 0;
}

bool systemName(TfrReport& report, const std::string& name, Value& value)
{
    EngineContext& e = engine();
    if (name == "PAGE#") value = Value(e.PageNo + 1);
    else if (name == "DATE") value = Value(e.StartDate);
    else if (name == "TIME") value = Value(e.StartTime);
    else if (name == "LINE#") value = Value(runValue(&RunNames::LineNo));
    else if (name == "LINETHROUGH#") value = Value(runValue(&RunNames::LineThroughNo));
    else if (name == "COLUMN#") value = Value(runValue(&RunNames::ColumnNo));
    else if (name == "CURRENT#") value = Value(runValue(&RunNames::CurrentRecordNo));
    else if (name == "TOTALPAGES") value = Value(e.TotalPages);
    else if (name == "REPORTCOMMENT") value = Value(report.Information.Comment);
    else if (name == "REPORTNAME") value = Value(report.Information.Name);
    else if (name == "REPORTAUTOR") value = Value(report.Information.Author);
    else if (name == "VMAJOR") value = Value(report.Information.VersionMajor);
    else if (name == "VMINOR") value = Value(report.Information.VersionMinor);
    else if (name == "VRELEASE") value = Value(report.Information.VersionRelease);
    else if (name == "VBUILD") value = Value(report.Information.VersionBuild);
    else if (name == "REPORTDATE") value = Value(report.Created);
    else if (name == "REPORTLASTCHANGE") value = Value(report.Modified);
    else if (name == "CALCWIDTH") {
        TfrView* view = e.CurrentView;
        if (!view) value = Value(0);
        else if (e.Run) value = Value(e.Run->TextWidth(*view));
        else value = Value(view->Width);
    } else {
        return false;
    }
    return true;
}

// Empties the guard when the fallback evaluation ends, however it ends.
struct GuardReset {
    ~GuardReset() { engine().NameGuard.clear(); }
};

} // namespace

const ComponentContainer* ReportDictionaryHost::owner() const { return report_.Owner; }
const ComponentContainer* ReportDictionaryHost::application() const { return engine().Application; }

IDataSet* ReportDictionaryHost::defaultDataSet() const
{
    TfrDataset* source = engine().Run ? engine().Run->DefaultDataSource() : nullptr;
    if (!source) source = report_.Dataset;
    auto* db = dynamic_cast<TfrDBDataSet*>(source);
    return db ? db->EffectiveDataSetOrNull() : nullptr;
}

const TfrVariables& ReportDictionaryHost::globalVariables() const { return engine().Variables; }

Value ReportDictionaryHost::evaluate(std::string_view expression)
{
    return evaluatorFor(report_).Evaluate(expression);
}

void ResolveName(TfrReport& report, const std::string& name, Value& value)
{
    EngineContext& e = engine();
    value = Value();
    if (report.OnGetValue) {
        report.OnGetValue(name, value);
        if (!value.isEmpty()) return;
    }
    value = Value(0);
    ReportDictionaryHost host(report);
    if (report.Dictionary.Contains(name, host)) {
        value = report.Dictionary.ValueOf(name, host);
        return;
    }
    if (name == "VALUE") {
        value = e.BracketValue;
        return;
    }
    if (systemName(report, name, value)) return;
    if (const Value* v = e.Variables.Find(name)) {
        value = *v;
        return;
    }
    value = Value();
    ResolveRuntimeName(report, name, value);
    if (!value.isEmpty()) return;

    // Last, the name as an expression; the same name coming back is unresolvable.
    if (name != e.NameGuard) {
        e.NameGuard = name;
        GuardReset reset;
        value = evaluatorFor(report).Evaluate(name);
    } else if (!e.CollectingAggregates) {
        throw ParseError(fmt::format("Undefined symbol \"{}\"", name));
    } else {
        value = Value();
    }
}

void ResolveRuntimeName(TfrReport& report, const std::string& name, Value& value)
{
    EngineContext& e = engine();
    if (name == "CURY") {
        value = Value(runValue(&RunNames::CurY));
        return;
    }
    if (name == "FREESPACE") {
        value = Value(runValue(&RunNames::BandAreaBottom) - runValue(&RunNames::CurY));
        return;
    }
    if (name == "FINALPASS") {
        value = Value(!e.MeasuringPass);
        return;
    }
    if (name == "PAGEHEIGHT") {
        value = Value(runValue(&RunNames::BandAreaBottom));
        return;
    }
    if (name == "PAGEWIDTH") {
        value = Value(runValue(&RunNames::RightEdge));
        return;
    }
    if (const auto target = report.ResolveProperty(name); target && target->Object->FindProperty(target->Property)) {
        value = target->Object->GetProperty(target->Property);
        return;
    }
    if (const Value* c = e.Constants.Find(name)) value = *c;
}

void AssignName(TfrReport& report, const std::string& name, const Value& value)
{
    EngineContext& e = engine();
    if (const int i = e.Variables.IndexOf(name); i >= 0) {
        e.Variables.SetValueAt(i, value);
        return;
    }
    ReportDictionaryHost host(report);
    if (report.Dictionary.Contains(name, host)) {
        report.Dictionary.VarList.SetVariable(name, value);
        return;
    }
    if (text::equalsNoCase(name, "MODALRESULT")) {
        const int result = value.toInt32();
        if (e.Run) e.Run->SetModalResult(result);
        return;
    }
    if (text::equalsNoCase(name, "CURY")) {
        const int y = value.toInt32();
        if (e.Run) e.Run->SetCurY(y);
        return;
    }
    if (text::equalsNoCase(name, "PROGRESS")) {
        if (e.Run) e.Run->ShowProgress(value.toText());
        return;
    }
    if (const auto target = report.ResolveProperty(name); target && target->Object->FindProperty(target->Property)) {
        target->Object->SetProperty(target->Property, value);
        return;
    }
    e.Variables.SetVariable(name, value);
}

std::string ExpandBracket(TfrReport& report, std::string_view text)
{
    EngineContext& e = engine();
    e.NameGuard.clear();
    TfrView* view = e.CurrentView;
    const BracketFormat f =
        SplitBracketFormat(text, view ? view->DisplayFormat : 0, view ? std::string_view(view->DisplayFormatText) : "");
    e.BracketValue = Value(0);
    ResolveName(report, f.expression, e.BracketValue);
    Value& v = e.BracketValue;
    if (view && (view->Flags & flag::HideZeros) && !v.isString()) {
        try {
            if (ops::equals(v, Value(0), defaultLocale())) v = Value(std::string());
        } catch (const std::exception&) {
            // A value that cannot be compared with 0 is shown as it is.
        }
    }
    if (e.CollectingAggregates) return {};
    return FormatDisplayValue(v, f.format, f.formatText, defaultLocale());
}

std::string ExpandLine(TfrReport& report, std::string_view line)
{
    return ExpandLine(line, [&report](std::string_view inner) { return ExpandBracket(report, inner); });
}

void ReportEvaluator::Bind(TfrReport& report)
{
    report_ = &report;
    parser_.OnGetValue = [&report](const std::string& name, Value& value) { ResolveName(report, name, value); };
    parser_.OnFunctionCall = [this, &report](const std::string& name, const Value& p1, const Value& p2,
                                             const Value& p3, Value& result) {
        if (FunctionDispatch) FunctionDispatch(report, name, p1, p2, p3, result);
        else CallFunction(report, name, p1, p2, p3, result);
    };
    engine().Evaluator = this;
}

std::string ReportEvaluator::ExpandLine(std::string_view line)
{
    if (!report_) throw NoEvaluator();
    return report::ExpandLine(*report_, line);
}

ReportEvaluator& globalEvaluator()
{
    static ReportEvaluator evaluator;
    return evaluator;
}

ReportEvaluator& evaluatorFor(TfrReport& report)
{
    ReportEvaluator& ev = globalEvaluator();
    if (ev.BoundReport() != &report || engine().Evaluator != &ev) ev.Bind(report);
    return ev;
}

} // namespace pemvora::report
