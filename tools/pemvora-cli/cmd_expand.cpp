// pemvora-cli expand LINE [NAME=VALUE ...]: replaces the bracketed expressions of
// a text line the way a text object does and prints the line.

#include "tools/pemvora-cli/expression_args.h"

namespace pemvora::cli {
namespace {

Registration expand{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("expand", "Expand the bracketed expressions of a text line");
    auto line = std::make_shared<std::string>();
    auto assignments = std::make_shared<std::vector<std::string>>();
    cmd->add_option("LINE", *line, "the text line, e.g. \"[a][b]\"")->required();
    argumentsAreTexts(*cmd);
    cmd->add_option("NAME=VALUE", *assignments, "variables: numbers are stored as numbers, the rest as text");
    cmd->callback([line, assignments] {
        withReport(*assignments, [&](report::TfrReport& rep) {
            printEngineText(report::ExpandLine(rep, engineText(*line)));
        });
    });
}};

} // namespace
} // namespace pemvora::cli
