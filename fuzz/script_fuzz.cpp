// Fuzz target: the script compiler and the interpreter that runs its lines.
//
// The input is a script's source, one line per text line. It either compiles
// or gives one error with its line and column inside the source; a script
// that compiles runs until it ends or stops with an error that has a message.
// Nothing crashes, hangs or runs into undefined behaviour. A run is held to
// a small number of statements, so endless loops end quickly.

#include "platform/ui/uiservices.h"
#include "report/model/engine_context.h"
#include "report/model/memo.h"
#include "report/model/report.h"
#include "report/printer/printer_backend.h"
#include "report/printer/printing_context.h"
#include "report/script/functionsplitter.h"
#include "report/script/interpreter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

namespace {

using namespace pemvora;
using namespace pemvora::report;

class SilentUi : public ui::UiServices {
public:
    ui::Answer message(const std::string&, const std::string&, ui::Icon, ui::Buttons) override { return ui::Answer::Ok; }
    void error(const std::string&) override {}
};

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "script: %s\n", what);
    std::abort();
}

StringList linesOf(std::string_view input)
{
    StringList lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t end = input.find('\n', start);
        lines.emplace_back(input.substr(start, end == std::string_view::npos ? end : end - start));
        if (end == std::string_view::npos) return lines;
        start = end + 1;
    }
}

// Where an error points must lie within the source: lines and columns from 1.
void checkErrorPlace(const ScriptError& error, const StringList& source)
{
    if (error.Message.empty()) fail("a compile error without a message");
    if (error.Line < 1 || error.Line > static_cast<int>(source.size()) + 1) fail("a compile error outside the source");
    if (error.Column < 1) fail("a compile error before the first column");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static SilentUi silent;
    static const bool ready = [] {
        ui::installServices(&silent);
        resetPrinting(std::make_unique<VirtualPrinterBackend>());
        return true;
    }();
    (void)ready;
    resetEngine();
    engine().ScriptStepLimit = 20'000;

    TfrReport report;
    engine().CurrentReport = &report;
    report.Dictionary.VarList.SetVariable("x", Value(std::string("a + 1")));
    report.Dictionary.VarList.SetVariable("self", Value(std::string("self + 1")));
    engine().Variables.SetVariable("a", Value(1));
    TfrPage& page = report.Pages.Items(report.Pages.Add());
    auto& memo = page.Add<TfrMemoView>();
    memo.Name = "Memo1";
    engine().CurrentView = &memo;

    const StringList source = linesOf(std::string_view(reinterpret_cast<const char*>(data), size));
    TInterpretator interpreter(report);
    StringList compiled;
    std::vector<ScriptError> errors;
    interpreter.CompileScript(source, compiled, errors);
    if (errors.size() > 1) fail("more than one compile error");
    if (!errors.empty()) checkErrorPlace(errors.front(), source);

    std::vector<std::string> calls;
    TfrFunctionSplitter splitter({"SUM", "COUNT", "IF"}, &report.Dictionary.VarList, calls);
    try {
        TfrInterpretator::SplitScriptCalls(compiled, splitter);
    } catch (const std::exception&) {
        // A failure with a message is a proper outcome.
    }
    if (errors.empty()) {
        try {
            interpreter.RunScript(compiled, "Memo1");
        } catch (const std::exception&) {
            // Stopped with a message: the step limit, a bad value, a missing label.
        }
    }
    engine().CurrentView = nullptr;
    engine().CurrentReport = nullptr;
    return 0;
}
