#include "report/script/interpreter.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "report/model/engine_context.h"
#include "report/script/functionsplitter.h"
#include "report/script/names.h"
#include "report/script/scriptcompiler.h"
#include "report/script/valueops.h"

#include <fmt/format.h>

namespace pemvora::report {

namespace {

std::size_t targetOf(const std::string& line)
{
    return static_cast<unsigned char>(line[1]) | (static_cast<std::size_t>(static_cast<unsigned char>(line[2])) << 8);
}

std::string scriptOf(std::string_view owner)
{
    return owner.empty() ? std::string("The script") : fmt::format("The script of {}", owner);
}

// Counts a script run among those in progress for as long as it runs.
class RunDepth {
public:
    explicit RunDepth(std::string_view owner) : depth_(engine().ScriptDepth)
    {
        if (depth_ >= kMaxScriptRunDepth)
            throw ScriptRunError(fmt::format("{} was started inside more than {} running scripts", scriptOf(owner),
                                             kMaxScriptRunDepth));
        ++depth_;
    }
    ~RunDepth() { --depth_; }
    RunDepth(const RunDepth&) = delete;
    RunDepth& operator=(const RunDepth&) = delete;

private:
    int& depth_;
};

} // namespace

TfrInterpretator::TfrInterpretator()
{
    parser_.OnGetValue = [this](const std::string& name, Value& value) { ReadValue(name, value); };
    parser_.OnFunctionCall = [this](const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                                    Value& value) { CallProcedure(name, p1, p2, p3, value); };
}

void TfrInterpretator::ReadValue(const std::string&, Value&) {}
void TfrInterpretator::WriteValue(const std::string&, const Value&) {}
void TfrInterpretator::CallProcedure(const std::string&, const Value&, const Value&, const Value&, Value&) {}

void TfrInterpretator::CompileScript(const StringList& source, StringList& compiled, std::vector<ScriptError>& errors)
{
    compiled.clear();
    errors.clear();
    CompileScriptSource(source, parser_, compiled, errors);
}

void TfrInterpretator::RunScript(const StringList& compiled, std::string_view owner)
{
    RunDepth depth(owner);
    const std::int64_t limit = engine().ScriptStepLimit;
    std::int64_t steps = 0;
    std::size_t i = 0;
    while (i < compiled.size()) {
        if (++steps > limit)
            throw ScriptRunError(
                fmt::format("{} was stopped after {} statements (an endless loop?)", scriptOf(owner), limit));
        const std::string& line = compiled[i];
        if (line.empty()) {
            ++i;
            continue;
        }
        switch (line[0]) {
        case 1: {
            const Value condition = parser_.EvaluateCompiled(std::string_view(line).substr(3));
            i = ops::equals(condition, Value(0), defaultLocale()) ? targetOf(line) : i + 1;
            break;
        }
        case 2:
            if (line.size() != 3)
                throw ScriptRunError(fmt::format("{} jumps to the label \"{}\", which it does not have",
                                                 scriptOf(owner), line.substr(3)));
            i = targetOf(line);
            break;
        case 3: {
            const std::string_view expression = std::string_view(line).substr(1);
            if (text::toUpper(expression) == "EXIT(0)") return;
            parser_.EvaluateCompiled(expression);
            ++i;
            break;
        }
        default: {
            const std::size_t space = line.find(' ');
            const std::string name = line.substr(0, space);
            const Value value =
                parser_.EvaluateCompiled(space == std::string::npos ? std::string_view() : std::string_view(line).substr(space + 1));
            WriteValue(name, value);
            ++i;
            break;
        }
        }
    }
}

void TfrInterpretator::SplitScriptCalls(const StringList& compiled, TfrFunctionSplitter& splitter)
{
    for (const std::string& line : compiled) {
        if (line.empty()) continue;
        switch (line[0]) {
        case 1: splitter.CollectCalls(std::string_view(line).substr(std::min<std::size_t>(3, line.size()))); break;
        case 2: break;
        case 3: splitter.CollectCalls(std::string_view(line).substr(1)); break;
        default: {
            const std::size_t space = line.find(' ');
            if (space != std::string::npos) splitter.CollectCalls(std::string_view(line).substr(space + 1));
            break;
        }
        }
    }
}

void TInterpretator::ReadValue(const std::string& name, Value& value) { ResolveName(report_, name, value); }

void TInterpretator::WriteValue(const std::string& name, const Value& value) { AssignName(report_, name, value); }

void TInterpretator::CallProcedure(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                                   Value& value)
{
    // Through the global evaluator's hook: its dispatch, bound to this report.
    evaluatorFor(report_).Parser().OnFunctionCall(name, p1, p2, p3, value);
}

} // namespace pemvora::report
