// Fuzz target: the expression evaluator and the expansion of bracketed
// expressions, as a text object's line, a bracket and a condition reach them.
//
// The input is used three ways: compiled and evaluated as an expression,
// expanded as a text line, and searched for aggregate calls. Every way either
// gives a result or raises an error with a message; nothing crashes, hangs or
// runs into undefined behaviour. Names resolve against a few variables, a
// dictionary with a variable that refers to another and one that refers to
// itself, and the current object's properties.

#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/script/functionsplitter.h"
#include "report/script/names.h"
#include "report/script/valueops.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"

#include "platform/value/datetime.h"
#include "platform/value/locale.h"

#include <cstdint>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace pemvora;
using namespace pemvora::report;

void fillNames(TfrReport& report)
{
    TfrVariables& v = engine().Variables;
    v.SetVariable("a", Value(1));
    v.SetVariable("b", Value(2.5));
    v.SetVariable("s", Value(std::string("\xD6\xA7\xC6\xB1 [a]")));
    v.SetVariable("d", Value(encodeDate(2008, 3, 5)));
    v.SetVariable("big", Value(1e308));
    TfrVariables& dictionary = report.Dictionary.VarList;
    dictionary.SetVariable(" Cheque", Value(std::string()));
    dictionary.SetVariable("x", Value(std::string("a + 1")));
    dictionary.SetVariable("y", Value(std::string("[x] * 2")));
    dictionary.SetVariable("self", Value(std::string("self + 1")));
}

template <class Step>
void expectOnlyErrors(Step step)
{
    try {
        step();
    } catch (const std::exception&) {
        // A failure with a message is a proper outcome for any input.
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const bool ready = [] {
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        return true;
    }();
    (void)ready;
    resetEngine();
    TfrReport report;
    engine().CurrentReport = &report;
    fillNames(report);
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    memo.Flags |= flag::HideZeros;
    engine().CurrentView = &memo;

    const std::string input(reinterpret_cast<const char*>(data), size);
    ReportEvaluator& evaluator = evaluatorFor(report);
    expectOnlyErrors([&] { ops::str(evaluator.EvaluateCompiled(evaluator.Compile(input)), defaultLocale()); });
    expectOnlyErrors([&] { ExpandLine(report, input); });
    expectOnlyErrors([&] {
        std::vector<std::string> calls;
        TfrFunctionSplitter splitter({"SUM", "COUNT", "IF"}, &report.Dictionary.VarList, calls);
        splitter.CollectCalls(input);
    });
    engine().CurrentView = nullptr;
    return 0;
}
