#include "report/script/functionsplitter.h"

#include "platform/text/gbk.h"
#include "report/script/parser.h"
#include "report/data/variables.h"

namespace pemvora::report {

TfrFunctionSplitter::TfrFunctionSplitter(std::vector<std::string> matchNames, const TfrVariables* varList,
                                         std::vector<std::string>& output)
    : matchNames_(std::move(matchNames)), varList_(varList), output_(output)
{
}

bool TfrFunctionSplitter::matches(std::string_view name) const
{
    for (const std::string& m : matchNames_)
        if (text::equalsNoCase(m, name)) return true;
    return false;
}

bool TfrFunctionSplitter::variableText(std::string_view name, std::string& text) const
{
    // Category entries start with a space and are never variables.
    if (!varList_ || name.empty() || name[0] == ' ') return false;
    const Value* v = varList_->Find(name);
    if (!v) return false;
    text = v->toText();
    return true;
}

void TfrFunctionSplitter::collectVariable(const std::string& name, const std::string& text)
{
    // A variable that refers to itself, directly or round a cycle, is searched once.
    const std::string key = text::toUpper(name);
    if (!expanding_.insert(key).second) return;
    CollectCalls(text);
    expanding_.erase(key);
}

void TfrFunctionSplitter::CollectCalls(std::string_view text)
{
    // Brackets and calls within one another are searched one level deeper each.
    const EvaluationLevel level;
    text = text::trim(text);
    if (!text.empty() && text[0] == '\'') return;
    std::size_t pos = 0;
    while (pos < text.size()) {
        if (text[pos] == '[') {
            const TfrParser::Bracket b = TfrParser::FindBracket(text, pos);
            std::string stored;
            if (variableText(b.inner, stored)) collectVariable(b.inner, stored);
            else CollectCalls(b.inner);
            pos = b.closed ? b.end + 1 : text.size();
            continue;
        }
        const std::size_t start = pos;
        const std::string name = TfrParser::ReadName(text, pos);
        std::string stored;
        if (pos < text.size() && text[pos] == '(') {
            const TfrParser::Arguments args = TfrParser::SplitArguments(text, pos);
            CollectCalls(args.arg[2]);
            CollectCalls(args.arg[1]);
            CollectCalls(args.arg[0]);
            if (!name.empty() && matches(name)) output_.emplace_back(text.substr(start, pos - start));
        } else if (variableText(name, stored)) {
            collectVariable(name, stored);
        } else if (pos < text.size() && std::string_view("\r *+-/<=>").find(text[pos]) != std::string_view::npos) {
            ++pos;
        } else if (name.empty()) {
            break;
        }
    }
}

} // namespace pemvora::report
