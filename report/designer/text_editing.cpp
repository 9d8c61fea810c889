#include "report/designer/text_editing.h"

#include "platform/text/gbk.h"
#include "report/script/functions.h"

#include <algorithm>

namespace pemvora::report {

namespace {

// Byte offset of the character at `chars` characters into `text`, clamped.
std::size_t byteOffset(std::string_view text, std::size_t chars)
{
    std::size_t pos = 0;
    while (chars > 0 && pos < text.size()) {
        pos = text::nextChar(text, pos);
        --chars;
    }
    return pos;
}

bool isNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '.' || c == '_';
}

std::string_view syntaxOf(std::string_view description)
{
    const std::size_t slash = description.find('/');
    return slash == std::string_view::npos ? description : description.substr(0, slash);
}

} // namespace

EditedText insertAt(std::string_view text, std::size_t from, std::size_t to, const Insertion& insertion)
{
    if (to < from) std::swap(from, to);
    const std::size_t begin = byteOffset(text, from);
    const std::size_t end = byteOffset(text, to);
    const std::size_t start = text::charCount(text.substr(0, begin));
    EditedText edited;
    edited.text.reserve(text.size() + insertion.text.size());
    edited.text.append(text.substr(0, begin)).append(insertion.text).append(text.substr(end));
    if (insertion.selectLength == 0) {
        edited.selectionStart = edited.caret = start + text::charCount(insertion.text);
    } else {
        edited.selectionStart = start + insertion.selectFrom;
        edited.caret = edited.selectionStart + insertion.selectLength;
    }
    return edited;
}

std::string fieldReference(std::string_view source, std::string_view field)
{
    std::string reference(source);
    reference.append(".\"").append(field).append("\"");
    return reference;
}

Insertion fieldInsertion(std::string_view source, std::string_view field)
{
    return {"[" + fieldReference(source, field) + "]"};
}

std::string nameByRule(std::string_view name)
{
    const std::string upper = text::toUpper(name);
    if (!upper.empty() && std::all_of(upper.begin(), upper.end(), isNameCharacter)) return std::string(name);
    return "[" + std::string(name) + "]";
}

std::string expressionInsertion(std::string_view expression)
{
    if (expression.empty()) return {};
    // One bracketed expression already: its only "[" is the first character.
    // text::find keeps a trail byte that looks like "[" from counting.
    if (expression.front() == '[' && expression.back() == ']' && text::find(expression, "[", 1) == std::string::npos)
        return std::string(expression);
    return "[" + std::string(expression) + "]";
}

const std::vector<SystemVariable>& systemVariables()
{
    static const std::vector<SystemVariable> list{
        {"Page#", "PAGE#"},          {"Date", "DATE"},
        {"Time", "TIME"},            {"Line#", "LINE#"},
        {"Line through#", "LINETHROUGH#"}, {"Column#", "COLUMN#"},
        {"Current line#", "CURRENT#"}, {"TotalPages", "TOTALPAGES"},
    };
    return list;
}

bool hasArgumentList(std::string_view description) { return description.find('(') != std::string_view::npos; }

std::vector<std::string> requiredArguments(std::string_view description)
{
    const std::string_view syntax = syntaxOf(description);
    const std::size_t open = syntax.find('(');
    if (open == std::string_view::npos) return {};
    // The required arguments are the <...> placeholders before the first
    // optional part.
    std::string_view arguments = syntax.substr(open + 1);
    arguments = arguments.substr(0, std::min(arguments.find('['), arguments.find(')')));
    std::vector<std::string> placeholders;
    for (std::size_t pos = 0;;) {
        const std::size_t lt = arguments.find('<', pos);
        if (lt == std::string_view::npos) break;
        const std::size_t gt = arguments.find('>', lt);
        if (gt == std::string_view::npos) break;
        placeholders.emplace_back(arguments.substr(lt, gt - lt + 1));
        pos = gt + 1;
    }
    return placeholders;
}

std::string functionCall(std::string_view name, const std::vector<std::string>& arguments)
{
    std::string call(name);
    call += "(";
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        if (i > 0) call += ", ";
        call += arguments[i];
    }
    return call + ")";
}

Insertion functionInsertion(std::string_view name, std::string_view description)
{
    if (!hasArgumentList(description)) return {nameByRule(name)};
    const std::vector<std::string> placeholders = requiredArguments(description);
    Insertion call{functionCall(name, placeholders)};
    if (!placeholders.empty()) {
        call.selectFrom = text::charCount(name) + 1;
        call.selectLength = text::charCount(placeholders.front());
    }
    return call;
}

Insertion functionInsertionInText(std::string_view name, std::string_view description)
{
    Insertion call = functionInsertion(name, description);
    const std::string inText = expressionInsertion(call.text);
    if (inText != call.text && call.selectLength > 0) ++call.selectFrom;
    call.text = inText;
    return call;
}

std::vector<FunctionEntry> functionsOfCategory(const TfrInstalledFunctions& installed, std::string_view category)
{
    std::vector<FunctionEntry> entries;
    for (const std::string& name : installed.GetFunctions(category))
        entries.push_back({name, installed.GetDescription(name)});
    return entries;
}

StringList scriptForEditor(const StringList& script)
{
    if (!script.empty()) return script;
    return {"begin", "  ", "end"};
}

StringList scriptToStore(const StringList& lines)
{
    std::string significant;
    for (const std::string& line : lines)
        for (char c : line)
            if (static_cast<unsigned char>(c) > 32) significant.push_back(c);
    if (significant.empty() || text::equalsNoCase(significant, "beginend")) return {};
    return lines;
}

std::optional<ScriptError> checkScript(const StringList& lines)
{
    TfrInterpretator interpreter;
    StringList compiled;
    std::vector<ScriptError> errors;
    interpreter.CompileScript(lines, compiled, errors);
    if (errors.empty()) return std::nullopt;
    return errors.front();
}

std::size_t positionOf(std::string_view text, int line, int column)
{
    std::size_t lineStart = 0;
    for (int l = 1; l < line; ++l) {
        const std::size_t lf = text.find('\n', lineStart);
        if (lf == std::string_view::npos) break;
        lineStart = lf + 1;
    }
    std::size_t lineEnd = text.find('\n', lineStart);
    if (lineEnd == std::string_view::npos) lineEnd = text.size();
    const std::string_view lineText = text.substr(lineStart, lineEnd - lineStart);
    const std::size_t intoLine = std::min<std::size_t>(column > 1 ? column - 1 : 0, text::charCount(lineText));
    return text::charCount(text.substr(0, lineStart)) + intoLine;
}

std::string paneText(const StringList& lines)
{
    std::string out;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0) out += '\n';
        out += lines[i];
    }
    return out;
}

const std::vector<std::string>& formatCategoryNames()
{
    static const std::vector<std::string> names{"Text", "Number", "Date", "Time", "Boolean"};
    return names;
}

std::vector<std::string> formatKindNames(int category)
{
    switch (category) {
    case 0: return {"[None]"};
    case 1: return {"1234,5", "1234,50", "1 234,5", "1 234,50", "Custom"};
    case 2: return {"11.15.98", "11.15.1998", "15 nov 1998", "15 november 1998", "Custom"};
    case 3: return {"02:43:35", "2:43:35", "02:43", "2:43", "Custom"};
    case 4: return {"0;1", "No;Yes", "_;x", "False;True", "Custom"};
    default: return {};
    }
}

std::optional<StringList> gbkLines(std::string_view utf8, std::string& error)
{
    try {
        return splitLines(text::utf8ToGbk(utf8));
    } catch (const text::EncodingError& refused) {
        error = refused.what();
        return std::nullopt;
    }
}

} // namespace pemvora::report
