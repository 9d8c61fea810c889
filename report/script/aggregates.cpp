#include "report/script/aggregates.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "report/model/band_runtime.h"
#include "report/model/engine_context.h"
#include "report/model/report.h"
#include "report/model/view.h"
#include "report/script/functions.h"
#include "report/script/functionsplitter.h"
#include "report/script/names.h"
#include "report/script/parser.h"
#include "report/script/scriptrun.h"
#include "report/script/valueops.h"

#include <optional>

namespace pemvora::report {

namespace {

constexpr char kSeparator = '\1';

const Locale& locale() { return defaultLocale(); }

bool startsEmpty(char code) { return code == aggregate::Min || code == aggregate::Max; }

Value initialValue(char code) { return startsEmpty(code) ? Value::null() : Value(0); }

std::string entryName(const std::string& key, char code, const std::string& expression, const std::string& flag)
{
    std::string name = key;
    name += kSeparator;
    name += code;
    name += kSeparator;
    name += expression;
    name += kSeparator;
    name += flag;
    name += kSeparator;
    return name;
}

// An entry name taken apart: the key (column number or "0", then the band's
// name; or the band's name alone), the code, the expression and the flag.
// Taken apart for every record, so by whole parts rather than byte by byte.
struct Entry {
    std::string column;        // entries kept per cross column: "0" or the column's number
    std::string band;
    bool perColumn = false;
    char code = 0;
    std::string expression, flag;

    const std::string& bandName() const { return band; }
};

std::optional<Entry> parseEntry(std::string_view name)
{
    // key..., code, expression, flag, and the closing separator
    if (name.empty() || name.back() != kSeparator) return std::nullopt;
    name.remove_suffix(1);
    const auto lastPart = [&name](std::string_view& part) {
        const std::size_t at = name.rfind(kSeparator);
        if (at == std::string_view::npos) return false;
        part = name.substr(at + 1);
        name = name.substr(0, at);
        return true;
    };
    std::string_view flag, expression, code;
    if (!lastPart(flag) || !lastPart(expression) || !lastPart(code) || code.size() != 1) return std::nullopt;
    Entry e;
    e.code = code[0];
    e.expression = expression;
    e.flag = flag;
    const std::size_t first = name.find(kSeparator);
    e.perColumn = first != std::string_view::npos;
    e.band = name.substr(e.perColumn ? name.rfind(kSeparator) + 1 : 0);
    if (e.perColumn) e.column = name.substr(0, first);
    return e;
}

// The data band kind whose records a band without a band name argument sums.
int dataKindFor(int showingKind)
{
    switch (showingKind) {
    case bandkind::ReportSummary:
    case bandkind::PageFooter:
    case bandkind::MasterFooter:
    case bandkind::GroupFooter: return bandkind::MasterData;
    case bandkind::DetailFooter: return bandkind::DetailData;
    case bandkind::SubdetailFooter: return bandkind::SubdetailData;
    case bandkind::CrossFooter: return bandkind::CrossData;
    default: return -1;
    }
}

void registerCall(char code, const std::string& expression, std::string bandName, const std::string& flag)
{
    EngineContext& e = engine();
    TfrBandRuntime* target = e.AggregateTarget;
    TfrBandRuntime* scanned = e.CurrentBand;
    if (!target || !scanned) return;
    if (text::trim(bandName).empty()) {
        if (dataKindFor(scanned->Typ) != target->Typ) return;
        bandName = target->Name;
    }
    if (!text::equalsNoCase(text::trim(bandName), target->Name)) return;
    std::string key = scanned->Name;
    if (scanned->Typ != bandkind::CrossFooter && scanned->HasCrossObjects) key = std::string("0") + kSeparator + key;
    target->Values.SetVariable(entryName(key, code, expression, flag), initialValue(code));
    scanned->AggregateBand = target;
}

Value readEntry(char code, const std::string& expression, const std::string& flag)
{
    TfrBandRuntime* shown = engine().CurrentBand;
    if (!shown || !shown->AggregateBand) return Value(std::string("0"));
    std::string key = shown->Name;
    TfrBandRuntime* source = shown->AggregateBand;
    if (shown->Typ == bandkind::CrossData) {
        // A cross cell of a row band: that band's copy for this column.
        const int column = engine().Run ? engine().Run->ColumnNo() : 0;
        key = std::to_string(column) + kSeparator + source->Name;
        source = source->AggregateBand;
        if (!source) return Value(std::string("0"));
    }
    Value value = source->Values.GetVariable(entryName(key, code, expression, flag));
    if (code == aggregate::Avg)
        value = source->AggregateCount > 0 ? ops::divide(value, Value(source->AggregateCount), locale()) : Value(0);
    return value;
}

Value accumulated(char code, const Value& entry, const Value& value)
{
    switch (code) {
    case aggregate::Count: return ops::add(entry, Value(1), locale());
    case aggregate::Min: return entry.isNull() || ops::compare(value, entry, locale()) < 0 ? value : entry;
    case aggregate::Max: return entry.isNull() || ops::compare(value, entry, locale()) > 0 ? value : entry;
    default: return ops::add(entry, value, locale());
    }
}

// Restores the engine's collection state however the pass ends.
class CollectionScope {
public:
    CollectionScope(TfrBandRuntime& target)
        : e_(engine()), collecting_(e_.CollectingAggregates), target_(e_.AggregateTarget), band_(e_.CurrentBand),
          view_(e_.CurrentView)
    {
        e_.CollectingAggregates = true;
        e_.AggregateTarget = &target;
    }
    ~CollectionScope()
    {
        e_.CollectingAggregates = collecting_;
        e_.AggregateTarget = target_;
        e_.CurrentBand = band_;
        e_.CurrentView = view_;
    }

private:
    EngineContext& e_;
    bool collecting_;
    TfrBandRuntime* target_;
    TfrBandRuntime* band_;
    TfrView* view_;
};

} // namespace

const std::vector<std::string>& aggregateFunctionNames()
{
    static const std::vector<std::string> names{"AVG", "COUNT", "MAX", "MIN", "SUM"};
    return names;
}

Value AggregateCall(char code, const FunctionCall& call)
{
    // COUNT(band [, flag]); the others (expression [, band [, flag]]).
    const bool count = code == aggregate::Count;
    const std::string& expression = call.Args[0];
    const std::string& bandName = count ? call.Args[0] : call.Args[1];
    const std::string& flag = count ? call.Args[1] : call.Args[2];
    if (engine().CollectingAggregates) {
        registerCall(code, expression, bandName, flag);
        return Value(std::string("0"));
    }
    return readEntry(code, expression, flag);
}

void CollectAggregates(TfrReport& report, TfrBandRuntime& target, TfrBandRuntime& scanned, TfrView* scannedView,
                       const std::vector<TfrView*>& objects)
{
    CollectionScope scope(target);
    EngineContext& e = engine();
    e.CurrentBand = &scanned;
    e.CurrentView = scannedView;

    std::vector<std::string> calls;
    TfrFunctionSplitter splitter(aggregateFunctionNames(), &report.Dictionary.VarList, calls);
    if (scannedView) SplitScriptCalls(CompiledScriptOf(report, *scannedView), splitter);
    for (TfrView* view : objects) {
        e.CurrentView = view;
        if (view->ObjectKind == kind::Memo) {
            for (const std::string& line : view->Memo) {
                for (std::size_t at = text::find(line, "["); at != std::string::npos;) {
                    const TfrParser::Bracket b = TfrParser::FindBracket(line, at);
                    splitter.CollectCalls("[" + b.inner + "]");
                    at = b.closed ? text::find(line, "[", b.end + 1) : std::string::npos;
                }
            }
        }
        SplitScriptCalls(CompiledScriptOf(report, *view), splitter);
    }

    ReportEvaluator& evaluator = evaluatorFor(report);
    for (const std::string& call : calls) evaluator.EvaluateCompiled(call);
}

void AccumulateAggregates(TfrReport& report, TfrBandRuntime& dataBand)
{
    TfrVariables& values = dataBand.Values;
    const bool perColumn = dataBand.HasCrossObjects;
    const std::string column = std::to_string(engine().Run ? engine().Run->ColumnNo() : 0);
    if (perColumn) {
        for (int i = 0, n = values.Count(); i < n; ++i) {
            const std::optional<Entry> entry = parseEntry(values.NameAt(i));
            if (!entry || !entry->perColumn || entry->column != "0") continue;
            const std::string copy = entryName(column + kSeparator + entry->bandName(), entry->code,
                                               entry->expression, entry->flag);
            if (!values.Contains(copy)) values.SetVariable(copy, initialValue(entry->code));
        }
    }

    ReportEvaluator& evaluator = evaluatorFor(report);
    std::optional<std::string> lastExpression;
    Value lastValue;
    for (int i = 0; i < values.Count(); ++i) {
        const std::optional<Entry> entry = parseEntry(values.NameAt(i));
        if (!entry) continue;
        if (entry->perColumn && (!perColumn || entry->column != column)) continue;
        Value value(1);
        if (entry->code != aggregate::Count) {
            if (lastExpression != entry->expression) {
                lastValue = evaluator.Evaluate(entry->expression);
                if (lastValue.isEmptyOrNull()) lastValue = Value(0);
                lastExpression = entry->expression;
            }
            value = lastValue;
        }
        if (dataBand.Visible || text::trim(entry->flag) == "1")
            values.SetValueAt(i, accumulated(entry->code, values.ValueAt(i), value));
    }
    ++dataBand.AggregateCount;
}

void ResetAggregates(TfrBandRuntime& band)
{
    TfrBandRuntime* source = band.AggregateBand;
    if (!source) return;
    TfrVariables& values = source->Values;
    for (int i = 0; i < values.Count(); ++i) {
        const std::optional<Entry> entry = parseEntry(values.NameAt(i));
        if (entry && text::equalsNoCase(entry->bandName(), band.Name)) values.SetValueAt(i, initialValue(entry->code));
    }
    source->AggregateCount = 0;
}

} // namespace pemvora::report
