#pragma once
// The statement compiler behind TfrInterpretator::CompileScript.

#include "report/model/types.h"
#include "report/script/interpreter.h"

#include <vector>

namespace pemvora::report {

class TfrParser;

// Compiles `source` into `compiled` with `parser` compiling the expression
// parts; at most one error is added to `errors`.
void CompileScriptSource(const StringList& source, const TfrParser& parser, StringList& compiled,
                         std::vector<ScriptError>& errors);

} // namespace pemvora::report
