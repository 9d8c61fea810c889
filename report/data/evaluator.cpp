#include "report/data/evaluator.h"

#include "platform/text/gbk.h"

namespace pemvora::report {

namespace {

bool isNameTerminator(char c)
{
    switch (c) {
    case '\r': case ' ': case '(': case ')': case '*': case '+': case '-': case '/': case '<': case '=': case '>':
    case '[':
        return true;
    default:
        return false;
    }
}

} // namespace

std::string ReadExpressionName(std::string_view text, std::size_t& pos)
{
    while (pos < text.size() && static_cast<unsigned char>(text[pos]) <= 32) ++pos;
    const std::size_t start = pos;
    bool inDoubleQuotes = false;
    while (pos < text.size()) {
        const char c = text[pos];
        if (c == '"') inDoubleQuotes = !inDoubleQuotes;
        else if (!inDoubleQuotes && isNameTerminator(c)) break;
        pos = text::nextChar(text, pos);
    }
    return std::string(text.substr(start, pos - start));
}

} // namespace pemvora::report
