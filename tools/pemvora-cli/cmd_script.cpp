// pemvora-cli script FILE.pas [NAME=VALUE ...]: compiles and runs a report
// script (UTF-8 text) against an empty report with the given variables in
// frVariables, then prints the variables it created or changed as NAME=VALUE
// lines in name order. A compile error is printed as
// "line L, column C: MESSAGE" and the command fails.

#include "report/model/types.h"
#include "report/script/scriptrun.h"
#include "tools/pemvora-cli/expression_args.h"

#include <fmt/format.h>

#include <fstream>
#include <iterator>

namespace pemvora::cli {
namespace {

// A script file larger than this is not read (a script compiles up to 32000 bytes).
constexpr std::streamoff kMaxScriptFileBytes = 1 << 20;

std::string readScriptFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in) throw CommandFailure("cannot open " + path);
    in.seekg(0, std::ios::end);
    if (in.tellg() > kMaxScriptFileBytes) throw CommandFailure(path + ": the file is too large for a script");
    in.seekg(0);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

report::StringList scriptLines(const std::string& gbk)
{
    report::StringList lines;
    std::size_t start = 0;
    while (start <= gbk.size()) {
        std::size_t end = gbk.find('\n', start);
        if (end == std::string::npos) end = gbk.size();
        std::string line = gbk.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    // A file that ends with a line break has no line after it.
    if (lines.size() > 1 && lines.back().empty()) lines.pop_back();
    return lines;
}

Registration script{[](CLI::App& root) {
    auto* cmd = root.add_subcommand("script", "Run a report script and print the variables it set");
    auto file = std::make_shared<std::string>();
    auto assignments = std::make_shared<std::vector<std::string>>();
    cmd->add_option("FILE", *file, "the script, UTF-8 text (FILE.pas)")->required();
    cmd->add_option("NAME=VALUE", *assignments, "variables: numbers are stored as numbers, the rest as text");
    cmd->callback([file, assignments] {
        std::string gbk;
        if (!text::tryUtf8ToGbk(readScriptFile(*file), gbk))
            throw CommandFailure(*file + ": not UTF-8 text, or a character GBK cannot hold");
        const report::StringList source = scriptLines(gbk);
        withReport(*assignments, [&](report::TfrReport& rep) {
            const report::TfrVariables before = report::engine().Variables;
            const std::vector<report::ScriptError> errors = report::CompileAndRun(rep, source);
            if (!errors.empty()) {
                const report::ScriptError& e = errors.front();
                throw CommandFailure(fmt::format("line {}, column {}: {}", e.Line, e.Column, e.Message));   // withReport turns GBK into UTF-8
            }
            const report::TfrVariables& after = report::engine().Variables;
            for (int i = 0; i < after.Count(); ++i) {
                const std::string name = after.NameAt(i);
                const Value value = after.ValueAt(i);
                const Value* old = before.Find(name);
                if (old && *old == value) continue;
                printEngineText(name + "=" + report::ops::str(value, defaultLocale()).toText());
            }
        });
    });
}};

} // namespace
} // namespace pemvora::cli
