#include "report/script/displayformat.h"

#include "platform/text/gbk.h"
#include "platform/value/locale.h"
#include "platform/value/numberformat.h"
#include "platform/value/numbertext.h"

#include <string>

namespace pemvora::report {

namespace {

const char* const kDateKinds[] = {"mm.dd.yy", "mm.dd.yyyy", "d mmm yyyy"};
const char* const kTimeKinds[] = {"hh:nn:ss", "h:nn:ss", "hh:nn", "h:nn"};
const char* const kBooleanKinds[] = {"0;1", "No;Yes", "_;x", "False;True"};

std::string formatNumberValue(const Value& value, const DisplayFormat& f, std::string_view text, const Locale& locale)
{
    const NumberSeparators seps{f.separator ? f.separator : locale.decimalSeparator, locale.thousandSeparator};
    double x;
    if (value.isString()) {
        // Text is read with the format's own separator, as the format shows numbers.
        const auto v = parseNumber(value.string(), seps.decimal);
        if (!v) throw ConversionError("not a number");
        x = *v;
    } else {
        x = value.toNumber(locale);
    }
    switch (f.kind) {
    case 0: return formatNumberPattern(x, "##0." + std::string(static_cast<std::size_t>(f.decimals), '#'), seps);
    case 1: return formatFixed(x, f.decimals, false, seps);
    case 2: return formatNumberPattern(x, "#,##0." + std::string(static_cast<std::size_t>(f.decimals), '#'), seps);
    case 3: return formatFixed(x, f.decimals, true, seps);
    case kCustomKind: return formatNumberPattern(x, text, seps);
    default: throw ConversionError("unknown number format");
    }
}

std::string formatBooleanValue(const Value& value, const DisplayFormat& f, std::string_view text)
{
    std::string_view pattern;
    if (f.kind == kCustomKind) pattern = text;
    else if (f.kind >= 0 && f.kind < 4) pattern = kBooleanKinds[f.kind];
    else throw ConversionError("unknown boolean format");
    const bool truth = value.toInteger() != 0;
    const std::size_t semi = pattern.find(';');
    // Without a ";" false shows nothing and true shows the whole pattern.
    if (semi == std::string_view::npos) return truth ? std::string(pattern) : std::string();
    return std::string(truth ? pattern.substr(semi + 1) : pattern.substr(0, semi));
}

} // namespace

std::string FormatDisplayValue(const Value& value, std::uint32_t format, std::string_view formatText,
                               const Locale& locale)
{
    if (value.isEmptyOrNull()) return {};
    // Text of spaces only shows nothing; a line break stays a line break.
    if (value.isString() && value.string().find_first_not_of(' ') == std::string::npos) return {};
    const DisplayFormat f = DisplayFormat::unpack(format);
    try {
        switch (f.category) {
        case category::Text: return value.toText(locale);
        case category::Number: return formatNumberValue(value, f, formatText, locale);
        case category::Date: {
            const DateTime dt = value.toDateTime(locale);
            if (f.kind == kCustomKind) return formatDateTimePattern(dt, formatText, locale);
            if (f.kind == 3) return formatDateTimePattern(dt, locale.longDateFormat, locale);
            if (f.kind >= 0 && f.kind < 3) return formatDateTimePattern(dt, kDateKinds[f.kind], locale);
            throw ConversionError("unknown date format");
        }
        case category::Time: {
            const DateTime dt = value.toDateTime(locale);
            if (f.kind == kCustomKind) return formatDateTimePattern(dt, formatText, locale);
            if (f.kind >= 0 && f.kind < 4) return formatDateTimePattern(dt, kTimeKinds[f.kind], locale);
            throw ConversionError("unknown time format");
        }
        case category::Boolean: return formatBooleanValue(value, f, formatText);
        default: return {};
        }
    } catch (const std::exception&) {
        return value.toText(locale);
    }
}

BracketFormat SplitBracketFormat(std::string_view text, std::uint32_t objectFormat, std::string_view objectFormatText)
{
    BracketFormat r;
    r.format = objectFormat;
    r.formatText = std::string(objectFormatText);
    const std::size_t mark = text::find(text, " #");
    if (mark == std::string_view::npos) {
        r.expression = std::string(text);
        return r;
    }
    r.hasFormat = true;
    r.expression = std::string(text.substr(0, mark));
    std::string given(text.substr(mark + 2));
    if (given.empty()) return r;
    if (given[0] >= '0' && given[0] <= '9') given.insert(given.begin(), 'N');

    DisplayFormat f;
    switch (given[0]) {
    case 'N': case 'n': {
        f.category = category::Number;
        const bool fixed = given.size() > 1 && given[1] >= '0' && given[1] <= '9';
        f.kind = fixed ? 1 : kCustomKind;
        for (std::size_t i = given.size() - 1; i >= 1; --i) {
            const char c = given[i];
            if (c == ',' || c == '-' || c == '.') {
                f.separator = c;
                given[i] = '.';
                if (fixed) {
                    std::size_t j = i + 1;
                    int decimals = 0;
                    while (j < given.size() && given[j] >= '0' && given[j] <= '9' && decimals < 255)
                        decimals = decimals * 10 + (given[j++] - '0');
                    f.decimals = decimals > 255 ? 255 : decimals;
                }
                break;
            }
        }
        r.formatText = fixed ? std::string() : given.substr(1, 255);
        break;
    }
    case 'B': case 'b':
        f.category = category::Boolean;
        f.kind = kCustomKind;
        r.formatText = given.substr(1);
        break;
    case 'D': case 'd': case 'T': case 't':
        f.category = category::Date;
        f.kind = kCustomKind;
        r.formatText = given.substr(1);
        break;
    default:
        return r;
    }
    r.format = f.pack();
    return r;
}

} // namespace pemvora::report
