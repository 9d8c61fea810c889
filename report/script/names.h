#pragma once
// How a report resolves the names its expressions, brackets and scripts use, and
// the engine's global evaluator bound to the running report.
//
// ResolveName tries, in order: the report's OnGetValue handler, the report's
// dictionary, VALUE, the system names (PAGE#, DATE, ...), frVariables, the names
// of the running report (CURY, ..., object properties), the constants, and last
// the name evaluated as an expression (once; the second time the same name comes
// back it is an "Undefined symbol").

#include "platform/value/value.h"
#include "report/data/dictionary.h"
#include "report/model/engine_context.h"
#include "report/script/parser.h"

#include <functional>
#include <string>
#include <string_view>

namespace pemvora::report {

class TfrReport;
class TfrView;
class TfrDataset;

// What the band engine tells the names of a running report. It installs an
// implementation in engine().Run for the length of a run; without one these
// names read 0 and assignments to CURY, MODALRESULT and PROGRESS do nothing.
class RunNames {
public:
    virtual ~RunNames() = default;
    virtual int LineNo() = 0;             // LINE#: row of the current band within its group
    virtual int LineThroughNo() = 0;      // LINETHROUGH#: row within the report
    virtual int ColumnNo() = 0;           // COLUMN#
    virtual int CurrentRecordNo() = 0;    // CURRENT#
    virtual int CurY() = 0;
    virtual int BandAreaBottom() = 0;
    virtual int RightEdge() = 0;
    // Also keeps the position across the current band's pending page or column breaks.
    virtual void SetCurY(int y) = 0;
    // Sets the modal result when the current page is a dialog page.
    virtual void SetModalResult(int result) = 0;
    virtual void ShowProgress(const std::string& text) = 0;
    // The width the current text object's text needs, measured with its font.
    virtual int TextWidth(TfrView& view) = 0;
    // The data source a bare field name refers to (the data band matching the
    // current band), or nullptr to use the report's Dataset.
    virtual TfrDataset* DefaultDataSource() = 0;
};

// The report's side of its dictionary: its owner's components, the default
// data set of the current band, frVariables and the global evaluator.
class ReportDictionaryHost : public DictionaryHost {
public:
    explicit ReportDictionaryHost(TfrReport& report) : report_(report) {}
    const ComponentContainer* owner() const override;
    const ComponentContainer* application() const override;
    IDataSet* defaultDataSet() const override;
    const TfrVariables& globalVariables() const override;
    Value evaluate(std::string_view expression) override;

private:
    TfrReport& report_;
};

void ResolveName(TfrReport& report, const std::string& name, Value& value);
// Leaves `value` as it is when the name is not one of the running report's names.
void ResolveRuntimeName(TfrReport& report, const std::string& name, Value& value);
void AssignName(TfrReport& report, const std::string& name, const Value& value);

// The text of one bracket of the current object (engine().CurrentView): its value
// formatted by the object's display format or by the " #" format inside the
// bracket; HideZeros turns a value 0 into nothing.
std::string ExpandBracket(TfrReport& report, std::string_view text);
// A text line with every bracket replaced by its text.
std::string ExpandLine(TfrReport& report, std::string_view line);

// The engine's global evaluator. Its hooks lead to the report it is bound to;
// function calls other than the evaluator's own go to FunctionDispatch, or when
// that is not set to the report's CallFunction (functions.h).
class ReportEvaluator : public ExpressionEvaluator {
public:
    using Dispatch = std::function<void(TfrReport& report, const std::string& name, const Value& p1,
                                        const Value& p2, const Value& p3, Value& result)>;

    // Binds the hooks to `report` and installs this evaluator in the engine context.
    void Bind(TfrReport& report);
    TfrReport* BoundReport() const { return report_; }

    Value Evaluate(std::string_view expression) override { return parser_.Evaluate(expression); }
    // Brackets expanded for the bound report (NoEvaluator when unbound).
    std::string ExpandLine(std::string_view line) override;
    std::string Compile(std::string_view expression) const { return parser_.Compile(expression); }
    Value EvaluateCompiled(std::string_view compiled) const { return parser_.EvaluateCompiled(compiled); }
    TfrParser& Parser() { return parser_; }

    Dispatch FunctionDispatch;

private:
    TfrParser parser_;
    TfrReport* report_ = nullptr;
};

ReportEvaluator& globalEvaluator();
// The global evaluator, bound to `report` if it was bound elsewhere.
ReportEvaluator& evaluatorFor(TfrReport& report);

} // namespace pemvora::report
