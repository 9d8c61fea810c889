#include "platform/value/editmask.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"

#include <vector>

namespace pemvora {

namespace {

enum class CaseMode { Keep, Upper, Lower };

bool isPlaceholder(char c)
{
    switch (c) {
    case 'L': case 'l': case 'A': case 'a': case 'C': case 'c': case '0': case '9': case '#':
        return true;
    default:
        return false;
    }
}

// The sections of a mask, split at ";" that no "\" escapes.
std::vector<std::string> sections(std::string_view mask)
{
    std::vector<std::string> parts(1);
    for (std::size_t i = 0; i < mask.size();) {
        const std::size_t len = text::charLength(mask, i);
        if (mask[i] == '\\' && i + 1 < mask.size()) {
            const std::size_t next = text::charLength(mask, i + 1);
            parts.back().append(mask.substr(i, 1 + next));
            i += 1 + next;
            continue;
        }
        if (mask[i] == ';') parts.emplace_back();
        else parts.back().append(mask.substr(i, len));
        i += len;
    }
    return parts;
}

std::string applyCase(std::string_view ch, CaseMode mode)
{
    switch (mode) {
    case CaseMode::Upper: return text::toUpper(ch);
    case CaseMode::Lower: return text::toLower(ch);
    case CaseMode::Keep: break;
    }
    return std::string(ch);
}

} // namespace

std::string formatMaskText(std::string_view maskText, std::string_view text, const Locale& locale)
{
    const std::vector<std::string> parts = sections(maskText);
    const std::string& mask = parts[0];
    const bool textHasLiterals = parts.size() > 1 && !parts[1].empty() && parts[1][0] != '0';
    const std::string blank = parts.size() > 2 && !parts[2].empty() ? parts[2].substr(0, text::charLength(parts[2], 0))
                                                                    : std::string("_");

    std::string out;
    std::size_t at = 0;   // next character of the text
    CaseMode mode = CaseMode::Keep;
    auto takeChar = [&]() -> std::string_view {
        if (at >= text.size()) return {};
        const std::string_view ch = text.substr(at, text::charLength(text, at));
        at += ch.size();
        return ch;
    };
    auto literal = [&](std::string_view ch) {
        out.append(ch);
        // A text that carries the literals has one here: step over it.
        if (textHasLiterals && text.substr(at, ch.size()) == ch) at += ch.size();
    };

    for (std::size_t i = 0; i < mask.size();) {
        const std::size_t len = text::charLength(mask, i);
        const char c = mask[i];
        if (len == 1 && c == '>') {
            mode = CaseMode::Upper;
            ++i;
        } else if (len == 1 && c == '<') {
            const bool stop = i + 1 < mask.size() && mask[i + 1] == '>';
            mode = stop ? CaseMode::Keep : CaseMode::Lower;
            i += stop ? 2 : 1;
        } else if (len == 1 && c == '!') {
            ++i;
        } else if (len == 1 && c == '\\' && i + 1 < mask.size()) {
            const std::size_t next = text::charLength(mask, i + 1);
            literal(mask.substr(i + 1, next));
            i += 1 + next;
        } else if (len == 1 && isPlaceholder(c)) {
            const std::string_view ch = takeChar();
            out += ch.empty() ? blank : applyCase(ch, mode);
            ++i;
        } else if (len == 1 && c == ':') {
            literal(std::string_view(&locale.timeSeparator, 1));
            ++i;
        } else if (len == 1 && c == '/') {
            literal(std::string_view(&locale.dateSeparator, 1));
            ++i;
        } else if (len == 1 && c == '_') {
            literal(" ");
            ++i;
        } else {
            literal(mask.substr(i, len));
            i += len;
        }
    }
    return out;
}

} // namespace pemvora
