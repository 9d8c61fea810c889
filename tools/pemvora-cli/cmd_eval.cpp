// pemvora-cli eval EXPR [NAME=VALUE ...]: compiles and evaluates an expression
// with the given variables in frVariables and prints the result as STR gives it.

#include "tools/pemvora-cli/expression_args.h"

namespace pemvora::cli {
namespace {

Registration eval{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("eval", "Evaluate a report expression");
    auto expression = std::make_shared<std::string>();
    auto assignments = std::make_shared<std::vector<std::string>>();
    cmd->add_option("EXPR", *expression, "the expression, e.g. \"1 + 2 * 3\"")->required();
    argumentsAreTexts(*cmd);
    cmd->add_option("NAME=VALUE", *assignments, "variables: numbers are stored as numbers, the rest as text");
    cmd->callback([expression, assignments] {
        withReport(*assignments, [&](report::TfrReport& rep) {
            report::ReportEvaluator& ev = report::evaluatorFor(rep);
            const std::string compiled = ev.Compile(engineText(*expression));
            const Value result = ev.EvaluateCompiled(compiled);
            printEngineText(report::ops::str(result, defaultLocale()).toText());
        });
    });
}};

} // namespace
} // namespace pemvora::cli
