#include "platform/value/numberformat.h"

#include "platform/text/gbk.h"
#include "platform/value/datetime.h"
#include "platform/value/locale.h"
#include "platform/value/numbertext.h"
#include "platform/value/value.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include <fmt/format.h>

namespace pemvora {

namespace {

// |value| = 0.digits x 10^point, at most 15 significant digits, no trailing zeros.
// No digits at all means zero.
struct Decimal {
    std::string digits;
    int point = 0;
};

Decimal toDecimal(double value)
{
    Decimal d;
    if (value == 0 || !std::isfinite(value)) return d;
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.14e", std::fabs(value));
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') d.digits += *p;
    d.point = std::atoi(p + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Keeps `count` significant digits, rounding halves away from zero.
void roundSignificant(Decimal& d, int count)
{
    if (count < 0) count = 0;
    if (static_cast<std::size_t>(count) >= d.digits.size()) return;
    const bool up = d.digits[static_cast<std::size_t>(count)] >= '5';
    d.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') d.digits[static_cast<std::size_t>(i--)] = '0';
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            ++d.point;
        } else {
            ++d.digits[static_cast<std::size_t>(i)];
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits.empty()) d.point = 0;
}

void roundDecimals(Decimal& d, int decimals)
{
    if (d.digits.empty()) return;
    const int keep = d.point + decimals;
    if (keep < 0) {
        d.digits.clear();
        d.point = 0;
        return;
    }
    roundSignificant(d, keep);
}

// Integer digits without leading zeros ("" below 1).
std::string integerDigits(const Decimal& d)
{
    if (d.point <= 0) return {};
    std::string s = d.digits.substr(0, std::min<std::size_t>(d.digits.size(), static_cast<std::size_t>(d.point)));
    s.append(static_cast<std::size_t>(d.point) - s.size(), '0');
    return s;
}

// The first `count` decimal digits.
std::string fractionDigits(const Decimal& d, int count)
{
    std::string s;
    for (int j = 0; j < count; ++j) {
        const int idx = d.point + j;
        s += (idx >= 0 && static_cast<std::size_t>(idx) < d.digits.size()) ? d.digits[static_cast<std::size_t>(idx)]
                                                                             : '0';
    }
    return s;
}

void appendGrouped(std::string& out, const std::string& digits, bool grouped, char sep)
{
    for (std::size_t i = 0; i < digits.size(); ++i) {
        out += digits[i];
        const std::size_t remaining = digits.size() - i - 1;
        if (grouped && remaining > 0 && remaining % 3 == 0) out += sep;
    }
}

bool isQuote(char c) { return c == '\'' || c == '"'; }

// Splits a number pattern into its sections at ";" outside quotes.
std::vector<std::string_view> numberSections(std::string_view pattern)
{
    std::vector<std::string_view> sections;
    std::size_t start = 0, i = 0;
    char quote = 0;
    while (i < pattern.size()) {
        const char c = pattern[i];
        if (quote) {
            if (c == quote) quote = 0;
        } else if (isQuote(c)) {
            quote = c;
        } else if (c == ';') {
            sections.push_back(pattern.substr(start, i - start));
            start = i + 1;
        }
        i = text::nextChar(pattern, i);
    }
    sections.push_back(pattern.substr(start));
    return sections;
}

bool isExponentAt(std::string_view s, std::size_t i)
{
    return (s[i] == 'E' || s[i] == 'e') && i + 1 < s.size() && (s[i + 1] == '+' || s[i + 1] == '-');
}

struct SectionShape {
    int intPlaces = 0;        // "0" and "#" before the point
    int firstIntZero = -1;    // index of the first "0" among them
    int decPlaces = 0;        // "0" and "#" after the point
    int minDecimals = 0;      // up to the last "0" after the point
    bool hasPoint = false;
    bool grouped = false;
    bool exponent = false;
    int expMinDigits = 0;
};

SectionShape analyse(std::string_view s)
{
    SectionShape shape;
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (isQuote(c)) {
            const std::size_t close = s.find(c, i + 1);
            i = close == std::string_view::npos ? s.size() : close + 1;
            continue;
        }
        if (shape.exponent) {
            // Only the digit count after the exponent marker matters.
            if (c == '0') ++shape.expMinDigits;
        } else if (c == '0' || c == '#') {
            if (shape.hasPoint) {
                ++shape.decPlaces;
                if (c == '0') shape.minDecimals = shape.decPlaces;
            } else {
                if (c == '0' && shape.firstIntZero < 0) shape.firstIntZero = shape.intPlaces;
                ++shape.intPlaces;
            }
        } else if (c == '.') {
            shape.hasPoint = true;
        } else if (c == ',') {
            if (!shape.hasPoint) shape.grouped = true;
        } else if (isExponentAt(s, i)) {
            shape.exponent = true;
            i += 2;
            continue;
        }
        i = text::nextChar(s, i);
    }
    return shape;
}

// Formats |value| with one section; `negative` tells whether a minus is due.
// Returns false in `nonZero` when every shown digit is 0.
std::string formatSection(double magnitude, std::string_view s, NumberSeparators seps, bool& nonZero)
{
    const SectionShape shape = analyse(s);
    Decimal d = toDecimal(magnitude);
    int exponent = 0;
    if (shape.exponent) {
        if (!d.digits.empty()) {
            roundSignificant(d, 1 + shape.decPlaces);
            exponent = d.point - 1;
            d.point = 1;
        }
    } else {
        roundDecimals(d, shape.decPlaces);
    }
    nonZero = !d.digits.empty();

    std::string intStr = integerDigits(d);
    const int minInt = shape.firstIntZero >= 0 ? shape.intPlaces - shape.firstIntZero : 0;
    if (static_cast<int>(intStr.size()) < minInt) intStr.insert(0, static_cast<std::size_t>(minInt) - intStr.size(), '0');
    std::string frac = fractionDigits(d, shape.decPlaces);
    while (static_cast<int>(frac.size()) > shape.minDecimals && frac.back() == '0') frac.pop_back();

    std::string out;
    const int n = static_cast<int>(intStr.size());
    int intIndex = 0, decIndex = 0;
    // Without integer placeholders the integer digits go before the point (or at the end).
    bool pointSeen = false, intDone = false;
    auto emitIntDigit = [&](int idx) {
        out += intStr[static_cast<std::size_t>(idx)];
        const int remaining = n - idx - 1;
        if (shape.grouped && remaining > 0 && remaining % 3 == 0) out += seps.thousands;
    };
    auto emitLooseInteger = [&] {
        if (!intDone) {
            appendGrouped(out, intStr, shape.grouped, seps.thousands);
            intDone = true;
        }
    };
    std::size_t i = 0;
    while (i < s.size()) {
        const char c = s[i];
        if (isQuote(c)) {
            const std::size_t close = s.find(c, i + 1);
            const std::size_t end = close == std::string_view::npos ? s.size() : close;
            out.append(s.substr(i + 1, end - i - 1));
            i = end == s.size() ? end : end + 1;
            continue;
        }
        if (c == '0' || c == '#') {
            if (!pointSeen) {
                if (intIndex == 0)
                    for (int k = 0; k < n - shape.intPlaces; ++k) emitIntDigit(k);
                const int idx = intIndex - (shape.intPlaces - n);
                if (idx >= 0) emitIntDigit(idx);
                if (++intIndex == shape.intPlaces) intDone = true;
            } else {
                if (decIndex < static_cast<int>(frac.size())) out += frac[static_cast<std::size_t>(decIndex)];
                ++decIndex;
            }
            ++i;
            continue;
        }
        if (c == '.') {
            if (!pointSeen) {
                emitLooseInteger();
                pointSeen = true;
                if (!frac.empty()) out += seps.decimal;
            }
            ++i;
            continue;
        }
        if (c == ',') {
            ++i;
            continue;
        }
        if (isExponentAt(s, i)) {
            emitLooseInteger();
            out += c;
            if (exponent < 0) out += '-';
            else if (s[i + 1] == '+') out += '+';
            std::string digits = std::to_string(std::abs(exponent));
            if (static_cast<int>(digits.size()) < shape.expMinDigits)
                digits.insert(0, static_cast<std::size_t>(shape.expMinDigits) - digits.size(), '0');
            out += digits;
            i += 2;
            while (i < s.size() && (s[i] == '0' || s[i] == '#')) ++i;
            continue;
        }
        const std::size_t len = text::charLength(s, i);
        out.append(s.substr(i, len));
        i += len;
    }
    emitLooseInteger();
    return out;
}

} // namespace

std::string formatNumberPattern(double value, std::string_view pattern, NumberSeparators seps)
{
    if (pattern.empty() || !std::isfinite(value)) return formatNumber(value, seps.decimal);
    const auto sections = numberSections(pattern);
    auto sectionOr = [&](std::size_t i) {
        return i < sections.size() && !sections[i].empty() ? sections[i] : sections[0];
    };
    bool nonZero = false;
    if (value == 0 && sections.size() >= 3) return formatSection(0, sectionOr(2), seps, nonZero);
    if (value < 0 && sections.size() >= 2 && !sections[1].empty())
        return formatSection(-value, sections[1], seps, nonZero);
    std::string body = formatSection(std::fabs(value), sections[0], seps, nonZero);
    if (value < 0 && nonZero) body.insert(body.begin(), '-');
    return body;
}

std::string formatFixed(double value, int decimals, bool grouped, NumberSeparators seps)
{
    if (!std::isfinite(value)) return formatNumber(value, seps.decimal);
    if (decimals < 0) decimals = 0;
    Decimal d = toDecimal(value);
    roundDecimals(d, decimals);
    std::string intStr = integerDigits(d);
    if (intStr.empty()) intStr.push_back('0');
    std::string out;
    if (value < 0 && !d.digits.empty()) out += '-';
    appendGrouped(out, intStr, grouped, seps.thousands);
    if (decimals > 0) {
        out += seps.decimal;
        out += fractionDigits(d, decimals);
    }
    return out;
}

namespace {

struct DateTimeWriter {
    const Locale& locale;
    DateParts date;
    TimeParts time;
    bool hasDate;
    bool hasTime;
    std::string out;

    static std::size_t runLength(std::string_view f, std::size_t i, char lower)
    {
        std::size_t n = 0;
        while (i + n < f.size() && (f[i + n] | 0x20) == lower) ++n;
        return n;
    }

    static bool startsNoCase(std::string_view f, std::size_t i, std::string_view word)
    {
        return f.size() - i >= word.size() && text::equalsNoCase(f.substr(i, word.size()), word);
    }

    // The 12-hour clock is used when the pattern has an AM/PM marker outside quotes.
    static bool hasAmPm(std::string_view f)
    {
        for (std::size_t i = 0; i < f.size(); i = text::nextChar(f, i)) {
            if (isQuote(f[i])) {
                const std::size_t close = f.find(f[i], i + 1);
                if (close == std::string_view::npos) return false;
                i = close;
                continue;
            }
            if (startsNoCase(f, i, "am/pm") || startsNoCase(f, i, "a/p") || startsNoCase(f, i, "ampm")) return true;
        }
        return false;
    }

    void two(int v) { out += fmt::format("{:02}", v); }
    void one(int v) { out += std::to_string(v); }

    void render(std::string_view f, int depth)
    {
        const bool twelveHour = hasAmPm(f);
        bool afterHour = false;
        std::size_t i = 0;
        while (i < f.size()) {
            const char c = f[i];
            if (text::charLength(f, i) == 2) {
                out.append(f.substr(i, 2));
                i += 2;
                continue;
            }
            if (isQuote(c)) {
                const std::size_t close = f.find(c, i + 1);
                const std::size_t end = close == std::string_view::npos ? f.size() : close;
                out.append(f.substr(i + 1, end - i - 1));
                i = end == f.size() ? end : end + 1;
                continue;
            }
            std::size_t n = 1;
            switch (c) {
            case 'd': case 'D':
                n = runLength(f, i, 'd');
                if (n == 1) one(date.day);
                else if (n == 2) two(date.day);
                else if (n == 3) out += locale.shortDayNames[static_cast<std::size_t>(dayOfWeekIndex())];
                else if (n == 4) out += locale.longDayNames[static_cast<std::size_t>(dayOfWeekIndex())];
                else if (depth < 2) render(n == 5 ? locale.shortDateFormat : locale.longDateFormat, depth + 1);
                afterHour = false;
                break;
            case 'm': case 'M':
                n = runLength(f, i, 'm');
                if (n <= 2 && afterHour) {
                    n == 1 ? one(time.minute) : two(time.minute);
                } else if (n == 1) one(date.month);
                else if (n == 2) two(date.month);
                else if (n == 3) out += locale.shortMonthNames[static_cast<std::size_t>(date.month - 1)];
                else out += locale.longMonthNames[static_cast<std::size_t>(date.month - 1)];
                afterHour = false;
                break;
            case 'y': case 'Y':
                n = runLength(f, i, 'y');
                if (n <= 2) two(date.year % 100);
                else out += fmt::format("{:04}", date.year);
                afterHour = false;
                break;
            case 'h': case 'H': {
                n = runLength(f, i, 'h');
                int h = time.hour;
                if (twelveHour) {
                    h %= 12;
                    if (h == 0) h = 12;
                }
                n == 1 ? one(h) : two(h);
                afterHour = true;
                break;
            }
            case 'n': case 'N':
                n = runLength(f, i, 'n');
                n == 1 ? one(time.minute) : two(time.minute);
                afterHour = false;
                break;
            case 's': case 'S':
                n = runLength(f, i, 's');
                n == 1 ? one(time.second) : two(time.second);
                afterHour = false;
                break;
            case 'z': case 'Z':
                n = runLength(f, i, 'z');
                out += n == 1 ? std::to_string(time.millisecond) : fmt::format("{:03}", time.millisecond);
                afterHour = false;
                break;
            case 't': case 'T':
                n = runLength(f, i, 't');
                if (depth < 2) render(n == 1 ? locale.shortTimeFormat : locale.longTimeFormat, depth + 1);
                afterHour = false;
                break;
            case 'c': case 'C':
                if (depth < 2) {
                    if (hasDate || !hasTime) render(locale.shortDateFormat, depth + 1);
                    if (hasTime) {
                        if (hasDate) out += ' ';
                        render(locale.longTimeFormat, depth + 1);
                    }
                }
                afterHour = false;
                break;
            case 'a': case 'A':
                if (startsNoCase(f, i, "am/pm")) {
                    n = 5;
                    const bool upper = f[i] == 'A';
                    out += time.hour < 12 ? (upper ? "AM" : "am") : (upper ? "PM" : "pm");
                } else if (startsNoCase(f, i, "a/p")) {
                    n = 3;
                    const bool upper = f[i] == 'A';
                    out += time.hour < 12 ? (upper ? "A" : "a") : (upper ? "P" : "p");
                } else if (startsNoCase(f, i, "ampm")) {
                    n = 4;
                    const std::string& marker = time.hour < 12 ? locale.timeAMString : locale.timePMString;
                    out += marker.empty() ? (time.hour < 12 ? "AM" : "PM") : marker;
                } else {
                    out += c;
                }
                break;
            case '/': out += locale.dateSeparator; break;
            case ':': out += locale.timeSeparator; break;
            default:
                out += c;
                break;
            }
            i += n;
        }
    }

    int dayOfWeekIndex() const
    {
        return dayOfWeek(encodeDate(date.year, date.month, date.day)) - 1;
    }
};

} // namespace

std::string formatDateTimePattern(DateTime value, std::string_view pattern, const Locale& locale)
{
    const DateParts d = decodeDate(value);
    if (!isValidDate(d.year, d.month, d.day))
        throw ConversionError(fmt::format("'{}' is not a valid date-time value", formatNumber(value.days)));
    const TimeParts t = decodeTime(value);
    DateTimeWriter w{locale, d, t, std::trunc(value.days) != 0,
                     t.hour || t.minute || t.second || t.millisecond, {}};
    w.render(pattern.empty() ? std::string_view("c") : pattern, 0);
    return w.out;
}

} // namespace pemvora
