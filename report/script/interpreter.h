#pragma once
// The script interpreter: compiles the Pascal-like scripts of pages, bands and
// objects into compiled lines and runs them.
//
// A script is one statement; several go inside begin ... end, separated by
// ";". Statements: name := expression, a[i] := expression, a procedure call
// (NewPage, or f(x) with arguments), if c then s [else s], while c do s,
// repeat s; ... until c, for v := a to b do s (the end is evaluated every
// round, the step is 1), goto 10 with labels "10:", and exit. Comments are
// { ... } and // to the end of the line. Keywords stand as separate words.
//
// A compiled line is a byte string whose first byte says what it does:
//   1, target (2 bytes, low first), condition: when the condition equals 0
//      continue at the target, otherwise at the next line;
//   2, target: continue at the target;
//   3, expression: evaluate and discard (calls; "exit(0)" ends the script);
//   anything else: a name, a space, an expression: assign it to the name.
// Targets are 0-based line indexes; expressions are in the evaluator's
// compiled form.
//
// Limits, refused when compiling: a source of more than 32000 bytes (lines
// joined, each with one separator), more than 101 labels, a label of more than
// 16 characters, more than 65535 compiled lines (every target, including "past
// the end", fits in two bytes), statements or expressions nested more than 200
// deep. While running: at most engine().ScriptStepLimit lines executed per run
// of a script, and at most 64 script runs inside one another.

#include "platform/value/value.h"
#include "report/data/evaluator.h"
#include "report/model/types.h"
#include "report/script/parser.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace pemvora::report {

class TfrReport;
class TfrFunctionSplitter;

inline constexpr std::size_t kMaxScriptBytes = 32000;
inline constexpr std::size_t kMaxScriptLabels = 101;
inline constexpr std::size_t kMaxLabelLength = 16;
inline constexpr std::size_t kMaxCompiledLines = 65535;
inline constexpr int kMaxScriptNesting = 200;
inline constexpr int kMaxScriptRunDepth = 64;

// A compile error at a place of the source as written (1-based line and column).
struct ScriptError {
    int Line = 0;
    int Column = 0;
    std::string Message;
    // "Line L/C: message", as the designer lists it.
    std::string Text() const;
};

// A script that could not go on running: too many statements, runs nested too
// deeply, a jump to a label that does not exist.
class ScriptRunError : public CalculationError {
public:
    using CalculationError::CalculationError;
};

class TfrInterpretator {
public:
    TfrInterpretator();
    virtual ~TfrInterpretator() = default;
    TfrInterpretator(const TfrInterpretator&) = delete;
    TfrInterpretator& operator=(const TfrInterpretator&) = delete;

    // What names, assignments and calls of a script reach; the base does nothing.
    virtual void ReadValue(const std::string& name, Value& value);
    virtual void WriteValue(const std::string& name, const Value& value);
    virtual void CallProcedure(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                               Value& value);

    // Compiles `source` into `compiled`; both lists are emptied first. An empty
    // `errors` means the script compiled; after an error `compiled` keeps the
    // lines made before it, every pending jump pointing past the end.
    void CompileScript(const StringList& source, StringList& compiled, std::vector<ScriptError>& errors);
    // Runs compiled lines from line 0. `owner` names the object in errors.
    void RunScript(const StringList& compiled, std::string_view owner = {});

    // Gives the expression part of every compiled line to the splitter.
    static void SplitScriptCalls(const StringList& compiled, TfrFunctionSplitter& splitter);

protected:
    TfrParser parser_;
};

// The interpreter of a report: names resolve and assign through the report
// (ResolveName, AssignName), calls go to its function dispatch.
class TInterpretator : public TfrInterpretator {
public:
    explicit TInterpretator(TfrReport& report) : report_(report) {}

    void ReadValue(const std::string& name, Value& value) override;
    void WriteValue(const std::string& name, const Value& value) override;
    void CallProcedure(const std::string& name, const Value& p1, const Value& p2, const Value& p3,
                       Value& value) override;

    TfrReport& Report() { return report_; }

private:
    TfrReport& report_;
};

inline void SplitScriptCalls(const StringList& compiled, TfrFunctionSplitter& splitter)
{
    TfrInterpretator::SplitScriptCalls(compiled, splitter);
}

} // namespace pemvora::report
