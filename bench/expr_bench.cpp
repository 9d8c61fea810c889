// Per-call cost of the expression evaluator and of bracket expansion.

#include "platform/text/gbk.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/names.h"
#include "report/script/parser.h"
#include "report/data/variables.h"

#include <benchmark/benchmark.h>

namespace {

using namespace pemvora;
using namespace pemvora::report;

// A parser whose names come straight from a sorted list: the evaluator alone.
struct ListParser {
    ListParser()
    {
        vars.SetVariable("a", Value(1));
        vars.SetVariable("b", Value(2.5));
        vars.SetVariable("c", Value(7));
        vars.SetVariable("name", Value("payee"));
        parser.OnGetValue = [this](const std::string& n, Value& v) {
            if (const Value* found = vars.Find(n)) v = *found;
        };
    }
    TfrVariables vars{true};
    TfrParser parser;
};

const char* const kCondition = "(a = 1) AND (b * 2 > c - 3) OR (name = 'payee')";

void BM_EvaluateCompiled(benchmark::State& state)
{
    ListParser p;
    const std::string compiled = p.parser.Compile(kCondition);
    for (auto _ : state) benchmark::DoNotOptimize(p.parser.EvaluateCompiled(compiled));
}
BENCHMARK(BM_EvaluateCompiled);

void BM_CompileAndEvaluate(benchmark::State& state)
{
    ListParser p;
    for (auto _ : state) benchmark::DoNotOptimize(p.parser.Evaluate(kCondition));
}
BENCHMARK(BM_CompileAndEvaluate);

void BM_EvaluateCompiledWithFunctions(benchmark::State& state)
{
    ListParser p;
    const std::string compiled = p.parser.Compile("IF(a = 1, COPY(name, 2, 3), 'x') + STR(ROUND(b))");
    for (auto _ : state) benchmark::DoNotOptimize(p.parser.EvaluateCompiled(compiled));
}
BENCHMARK(BM_EvaluateCompiledWithFunctions);

// The cheque's lines: names found in frVariables (a sorted list of a few dozen).
struct ChequeReport {
    ChequeReport()
    {
        resetEngine();
        TfrPage& page = report.Pages.Items(report.Pages.Add());
        memo = &page.Add<TfrMemoView>();
        memo->DisplayFormat = 0;
        engine().CurrentReport = &report;
        engine().CurrentView = memo;
        TfrVariables& v = engine().Variables;
        for (int i = 0; i < 40; ++i) v.SetVariable("var" + std::to_string(i), Value(i));
        v.SetVariable("dx", Value(text::utf8ToGbk("人民币壹仟贰佰叁拾肆元伍角整")));
        v.SetVariable("year", Value(text::utf8ToGbk("贰零贰肆")));
        v.SetVariable("month", Value(text::utf8ToGbk("零贰")));
        v.SetVariable("day", Value(text::utf8ToGbk("贰拾捌")));
        v.SetVariable("Sum", Value(1234.5));
    }
    ~ChequeReport() { resetEngine(); }
    TfrReport report;
    TfrMemoView* memo = nullptr;
};

void BM_ExpandLineNames(benchmark::State& state)
{
    ChequeReport r;
    const std::string line = text::utf8ToGbk("[year]年[month]月[day]日 [dx]");
    for (auto _ : state) benchmark::DoNotOptimize(ExpandLine(r.report, line));
}
BENCHMARK(BM_ExpandLineNames);

void BM_ExpandLineFormatted(benchmark::State& state)
{
    ChequeReport r;
    const std::string line = "[Sum #N0.2]";
    for (auto _ : state) benchmark::DoNotOptimize(ExpandLine(r.report, line));
}
BENCHMARK(BM_ExpandLineFormatted);

void BM_ExpandLineExpression(benchmark::State& state)
{
    ChequeReport r;
    const std::string line = "[var3 * 2 + var7]";   // resolved by name first, then compiled
    for (auto _ : state) benchmark::DoNotOptimize(ExpandLine(r.report, line));
}
BENCHMARK(BM_ExpandLineExpression);

} // namespace
