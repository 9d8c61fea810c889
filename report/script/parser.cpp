#include "report/script/parser.h"

#include "platform/text/gbk.h"
#include "platform/value/datetime.h"
#include "platform/value/locale.h"
#include "platform/value/numbertext.h"
#include "report/data/evaluator.h"
#include "report/model/engine_context.h"
#include "report/script/valueops.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

#include <fmt/format.h>

namespace pemvora::report {

namespace {


bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool startsNumber(char c) { return isDigit(c) || c == '.' || c == ','; }

bool isUnaryCode(char c)
{
    using namespace opcode;
    return c == Int || c == Frac || c == Negate || c == Plus || c == Str || c == Not || c == Round;
}

bool isBinaryCode(char c)
{
    using namespace opcode;
    switch (c) {
    case GreaterEqual: case LessEqual: case NotEqual: case Or: case And: case Mod:
    case '*': case '+': case '-': case '/': case '<': case '=': case '>':
        return true;
    default:
        return false;
    }
}

int priority(char c)
{
    using namespace opcode;
    switch (c) {
    case GreaterEqual: case LessEqual: case NotEqual: case '<': case '=': case '>': return 3;
    case Or: case And: case Not: case Mod: case '*': case '/': return 1;
    case Int: case Frac: case Str: case Round: return 0;
    case Negate: case Plus: case '+': case '-': return 2;
    default: return 5;   // "("
    }
}

char keywordCode(std::string_view upper)
{
    using namespace opcode;
    if (upper == "INT") return Int;
    if (upper == "FRAC") return Frac;
    if (upper == "ROUND") return Round;
    if (upper == "OR") return Or;
    if (upper == "AND") return And;
    if (upper == "NOT") return Not;
    if (upper == "STR") return Str;
    if (upper == "MOD") return Mod;
    return 0;
}

double readNumber(std::string text, const Locale& locale)
{
    for (char& c : text)
        if (c == ',' || c == '.') c = locale.decimalSeparator;
    if (const auto v = parseNumber(text, locale.decimalSeparator)) return *v;
    throw ConversionError(fmt::format("'{}' is not a valid floating point value", text));
}

int readInteger(const Value& v, const Locale& locale)
{
    const std::string t = v.toText(locale);
    const auto i = parseInteger(t);
    if (!i) throw ConversionError(fmt::format("'{}' is not a valid integer value", t));
    if (*i < std::numeric_limits<int>::min() || *i > std::numeric_limits<int>::max())
        throw ConversionError(fmt::format("'{}' is out of the integer range", t));
    return static_cast<int>(*i);
}

// A name read with its double quotes open runs to the end of the text; as an
// expression it would come back one blank longer each time it is resolved.
bool hasOpenDoubleQuote(std::string_view name)
{
    return std::count(name.begin(), name.end(), '"') % 2 != 0;
}

} // namespace

EvaluationLevel::EvaluationLevel()
{
    if (engine().EvaluationDepth >= kMaxEvaluationDepth)
        throw ParseError(fmt::format("Expression nested too deeply: more than {} levels of brackets, calls "
                                     "or names that lead to one another",
                                     kMaxEvaluationDepth));
    ++engine().EvaluationDepth;
}

EvaluationLevel::~EvaluationLevel() { --engine().EvaluationDepth; }

TfrParser::TfrParser() : locale(&defaultLocale()) {}

std::string TfrParser::ReadName(std::string_view text, std::size_t& pos)
{
    return ReadExpressionName(text, pos);
}

std::string TfrParser::ReadQuoted(std::string_view text, std::size_t& pos)
{
    const std::size_t start = pos;
    std::size_t i = pos + 1;
    while (i < text.size()) {
        if (text[i] == '\'') {
            if (i + 1 < text.size() && text[i + 1] == '\'') {
                i += 2;
                continue;
            }
            pos = i + 1;
            return std::string(text.substr(start, pos - start));
        }
        i = text::nextChar(text, i);
    }
    pos = text.size();
    return std::string(text.substr(start));
}

std::string TfrParser::Unquote(std::string_view literal)
{
    std::string out;
    std::size_t i = 1;
    while (i < literal.size()) {
        if (literal[i] == '\'') {
            if (i + 1 < literal.size() && literal[i + 1] == '\'') {
                out += '\'';
                i += 2;
                continue;
            }
            break;
        }
        const std::size_t len = text::charLength(literal, i);
        out.append(literal.substr(i, len));
        i += len;
    }
    return out;
}

TfrParser::Bracket TfrParser::FindBracket(std::string_view text, std::size_t start)
{
    Bracket b;
    b.end = start;
    if (start >= text.size() || text[start] != '[') return b;
    int depth = 0;
    bool inSingle = false, inDouble = false;
    for (std::size_t i = start; i < text.size(); i = text::nextChar(text, i)) {
        const char c = text[i];
        if (c == '"' && !inSingle) inDouble = !inDouble;
        else if (c == '\'' && !inDouble) inSingle = !inSingle;
        else if (!inSingle && !inDouble) {
            if (c == '[') {
                ++depth;
            } else if (c == ']' && --depth == 0) {
                b.end = i;
                b.closed = true;
                b.inner = std::string(text.substr(start + 1, i - start - 1));
                return b;
            }
        }
    }
    b.end = text.size();
    b.inner = std::string(text.substr(start + 1));
    return b;
}

TfrParser::Arguments TfrParser::SplitArguments(std::string_view text, std::size_t& pos)
{
    Arguments args;
    int depth = 1;
    bool quoted = false;
    std::size_t pieceStart = pos + 1;
    int index = 0;
    for (std::size_t i = pos + 1; i < text.size(); i = text::nextChar(text, i)) {
        const char c = text[i];
        if (c == '\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted) continue;
        if (c == '(') {
            ++depth;
        } else if (c == ')') {
            if (--depth == 0) {
                args.arg[index] = std::string(text.substr(pieceStart, i - pieceStart));
                args.count = (index == 0 && text::trim(args.arg[0]).empty()) ? 0 : index + 1;
                pos = i + 1;
                return args;
            }
        } else if (c == ',' && depth == 1) {
            if (index == 2) throw ParseError("Too many arguments");
            args.arg[index++] = std::string(text.substr(pieceStart, i - pieceStart));
            pieceStart = i + 1;
        }
    }
    throw ParseError("Missing )");
}

std::string TfrParser::Compile(std::string_view text) const
{
    std::string out;
    std::vector<char> stack;
    bool operandBefore = false;

    auto push = [&](char c) {
        if (!isUnaryCode(c) && !stack.empty() && priority(c) >= priority(stack.back())) {
            while (!stack.empty() && priority(c) >= priority(stack.back())) {
                out += stack.back();
                stack.pop_back();
            }
        }
        stack.push_back(c);
    };

    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        // Blanks and line ends separate tokens.
        if (static_cast<unsigned char>(c) <= 32) {
            ++i;
            continue;
        }
        if (c == '(') {
            stack.push_back('(');
            operandBefore = false;
            ++i;
            continue;
        }
        if (c == ')') {
            const auto open = std::find(stack.rbegin(), stack.rend(), '(');
            if (open != stack.rend()) {
                while (stack.back() != '(') {
                    out += stack.back();
                    stack.pop_back();
                }
                stack.pop_back();
            }
            ++i;
            continue;
        }
        if (c == ';') break;
        if (std::strchr("*+-/<=>", c)) {
            const char next = i + 1 < text.size() ? text[i + 1] : '\0';
            char code = c;
            if (c == '<' && next == '>') code = opcode::NotEqual;
            else if (c == '>' && next == '=') code = opcode::GreaterEqual;
            else if (c == '<' && next == '=') code = opcode::LessEqual;
            else if (!operandBefore && c == '-') code = opcode::Negate;
            else if (!operandBefore && c == '+') code = opcode::Plus;
            i += (code == opcode::NotEqual || code == opcode::GreaterEqual || code == opcode::LessEqual) ? 2 : 1;
            operandBefore = false;
            push(code);
            continue;
        }

        // An operand or a keyword.
        const std::size_t start = i;
        std::string operand;
        if (c == '%') {
            const std::size_t after = i + 1;
            i = after < text.size() ? text::nextChar(text, after) : after;
            operand = std::string(text.substr(start, i - start));
        }
        if (i < text.size() && text[i] == '\'') {
            operand += ReadQuoted(text, i);
        } else if (i < text.size() && text[i] == '[') {
            const Bracket b = FindBracket(text, i);
            if (!b.closed) throw ParseError("Missing ]");
            operand += "[" + b.inner + "]";
            i = b.end + 1;
        } else {
            operand += ReadName(text, i);
            if (hasOpenDoubleQuote(operand))
                throw ParseError(fmt::format("Missing closing double quote in {}", operand));
            if (i < text.size() && text[i] == '[') {
                const Bracket b = FindBracket(text, i);
                if (!b.closed) throw ParseError("Missing ]");
                operand += "[" + b.inner + "]";
                i = b.end + 1;
            }
        }
        const char next = i < text.size() ? text[i] : '\0';
        if (!operand.empty() && startsNumber(operand[0])) {
            out += operand;
            out += ' ';
            operandBefore = true;
            continue;
        }
        if (const char code = keywordCode(text::toUpper(operand))) {
            push(code);
            operandBefore = false;
            continue;
        }
        if (next == '(') {
            SplitArguments(text, i);
            out.append(text.substr(start, i - start));
        } else {
            out += operand;
            out += ' ';
        }
        operandBefore = true;
    }
    while (!stack.empty()) {
        if (stack.back() == '(') throw ParseError("Missing )");
        out += stack.back();
        stack.pop_back();
    }
    return out;
}

Value TfrParser::EvaluateCompiled(std::string_view s) const
{
    const EvaluationLevel level;
    const Locale& loc = *locale;
    std::vector<Value> stack;
    stack.reserve(8);

    auto askName = [&](const std::string& name) {
        Value v = Value::null();
        if (OnGetValue) OnGetValue(name, v);
        stack.push_back(std::move(v));
    };

    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (isBinaryCode(c)) {
            if (stack.size() < 2) throw ParseError("Missing operand");
            Value b = std::move(stack.back());
            stack.pop_back();
            Value& a = stack.back();
            switch (c) {
            case '+': a = ops::add(a, b, loc); break;
            case '-': a = ops::subtract(a, b, loc); break;
            case '*': a = ops::multiply(a, b, loc); break;
            case '/': a = ops::divide(a, b, loc); break;
            case opcode::Mod: a = ops::modulo(a, b, loc); break;
            case opcode::And: a = ops::bitAnd(a, b, loc); break;
            case opcode::Or: a = ops::bitOr(a, b, loc); break;
            case '=': a = Value(ops::compare(a, b, loc) == 0 ? 1 : 0); break;
            case '<': a = Value(ops::compare(a, b, loc) < 0 ? 1 : 0); break;
            case '>': a = Value(ops::compare(a, b, loc) > 0 ? 1 : 0); break;
            case opcode::NotEqual: a = Value(ops::compare(a, b, loc) != 0 ? 1 : 0); break;
            case opcode::LessEqual: a = Value(ops::compare(a, b, loc) <= 0 ? 1 : 0); break;
            case opcode::GreaterEqual: a = Value(ops::compare(a, b, loc) >= 0 ? 1 : 0); break;
            }
            ++i;
            continue;
        }
        if (isUnaryCode(c)) {
            if (c != opcode::Plus) {
                if (stack.empty()) throw ParseError("Missing operand");
                Value& a = stack.back();
                switch (c) {
                case opcode::Negate: a = ops::negate(a, loc); break;
                case opcode::Not: a = ops::logicalNot(a, loc); break;
                case opcode::Int: a = ops::intPart(a, loc); break;
                case opcode::Frac: a = ops::fracPart(a, loc); break;
                case opcode::Round: a = ops::round(a, loc); break;
                case opcode::Str: a = ops::str(a, loc); break;
                }
            }
            ++i;
            continue;
        }
        if (static_cast<unsigned char>(c) <= 32) {
            ++i;
            continue;
        }
        if (c == '\'') {
            stack.emplace_back(Unquote(ReadQuoted(s, i)));
            continue;
        }
        if (c == '[') {
            const Bracket b = FindBracket(s, i);
            i = b.end + 1;
            askName(b.inner);
            continue;
        }
        const std::string name = ReadName(s, i);
        const char next = i < s.size() ? s[i] : '\0';
        if (!name.empty() && startsNumber(name[0])) {
            stack.emplace_back(readNumber(name, loc));
            continue;
        }
        const std::string upper = text::toUpper(name);
        if (upper == "TRUE" || upper == "FALSE") {
            stack.emplace_back(upper == "TRUE");
            continue;
        }
        if (next == '[') {
            const Bracket b = FindBracket(s, i);
            i = b.end + 1;
            stack.push_back(Evaluate("GETARRAY(" + name + ", " + b.inner + ")"));
            continue;
        }
        if (next == '(') {
            const Arguments args = SplitArguments(s, i);
            stack.push_back(callFunction(upper, args));
            continue;
        }
        askName(upper);
    }
    return stack.empty() ? Value(0) : stack.front();
}

Value TfrParser::callFunction(const std::string& upperName, const Arguments& args) const
{
    const Locale& loc = *locale;
    if (upperName == "COPY") {
        const int from = readInteger(Evaluate(args.arg[1]), loc);
        const int count = readInteger(Evaluate(args.arg[2]), loc);
        const std::string s = Evaluate(args.arg[0]).toText(loc);
        const std::size_t start = static_cast<std::size_t>(std::max(from, 1) - 1);
        if (count <= 0 || start >= s.size()) return Value(std::string());
        return Value(s.substr(start, static_cast<std::size_t>(count)));
    }
    if (upperName == "IF") {
        const Value condition = Evaluate(args.arg[0]);
        double c;
        if (condition.isBoolean()) {
            c = condition.boolean() ? 1 : 0;
        } else {
            const std::string t = condition.toText(loc);
            const auto v = parseNumber(t, loc.decimalSeparator);
            if (!v) throw ConversionError(fmt::format("'{}' is not a valid floating point value", t));
            c = *v;
        }
        return Evaluate(std::trunc(c) != 0 ? args.arg[1] : args.arg[2]);
    }
    if (upperName == "STRTODATE") {
        const std::string t = Evaluate(args.arg[0]).toText(loc);
        if (const auto d = parseDate(t, loc)) return Value(*d);
        throw ConversionError(fmt::format("'{}' is not a valid date", t));
    }
    if (upperName == "STRTOTIME") {
        const std::string t = Evaluate(args.arg[0]).toText(loc);
        if (const auto d = parseTime(t, loc)) return Value(*d);
        throw ConversionError(fmt::format("'{}' is not a valid time", t));
    }
    Value result = Value::null();
    if (OnFunctionCall)
        OnFunctionCall(upperName, Value(args.arg[0]), Value(args.arg[1]), Value(args.arg[2]), result);
    return result;
}

} // namespace pemvora::report
