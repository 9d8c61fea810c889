#include "app/capitals/capitals.h"

#include "platform/text/gbk.h"

#include <fmt/format.h>

#include <vector>

namespace pemvora::app {

namespace {

// The routines work on characters; a capital text is held as UTF-32 while it is built.
constexpr char32_t kDigits[10] = {U'零', U'壹', U'贰', U'叁', U'肆', U'伍', U'陆', U'柒', U'捌', U'玖'};
constexpr char32_t kZero = U'零';
constexpr char32_t kTen = U'拾';
constexpr char32_t kHundred = U'佰';
constexpr char32_t kThousand = U'仟';
constexpr char32_t kTenThousand = U'万';
constexpr char32_t kHundredMillion = U'亿';
constexpr char32_t kYuan = U'元';
constexpr char32_t kJiao = U'角';
constexpr char32_t kFen = U'分';
constexpr char32_t kExact = U'整';

std::string toUtf8(std::u32string_view s)
{
    std::string out;
    for (char32_t c : s) {
        if (c < 0x80) {
            out += static_cast<char>(c);
        } else if (c < 0x800) {
            out += static_cast<char>(0xC0 | (c >> 6));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += static_cast<char>(0xE0 | (c >> 12));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (c >> 18));
            out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return out;
}

// Splits UTF-8 text into its characters, so that a stray non-digit is named whole.
std::vector<std::string_view> characters(std::string_view s)
{
    std::vector<std::string_view> chars;
    for (std::size_t pos = 0; pos < s.size();) {
        std::size_t n = 1;
        while (pos + n < s.size() && (static_cast<unsigned char>(s[pos + n]) & 0xC0) == 0x80) ++n;
        chars.push_back(s.substr(pos, n));
        pos += n;
    }
    return chars;
}

// The capital of a digit; anything else is a conversion error.
char32_t capitalDigit(std::string_view ch)
{
    if (ch.size() != 1 || ch[0] < '0' || ch[0] > '9')
        throw CapitalsError(fmt::format("'{}' is not a valid integer value", ch));
    return kDigits[ch[0] - '0'];
}

// The integer part, built from the units place leftwards.
std::u32string integerCapitals(std::string_view text)
{
    const std::vector<std::string_view> digits = characters(text);
    std::u32string result;
    const std::size_t count = digits.size();
    for (std::size_t place = 1; place <= count; ++place) {
        const char32_t capital = capitalDigit(digits[count - place]);
        std::u32string unit;
        if (capital != kZero) {
            switch (place) {
            case 2: case 6: case 10: unit = kTen; break;
            case 3: case 7: case 11: unit = kHundred; break;
            case 4: case 8: case 12: unit = kThousand; break;
            case 5: case 13: unit = kTenThousand; break;
            default: break;   // places 1, 9 and 14 onwards take no unit
            }
            if (place >= 6 && place <= 8 && result.find(kTenThousand) == std::u32string::npos) unit += kTenThousand;
        }
        result = capital + unit + result;
        if (place == 9) result.insert(1, 1, kHundredMillion);
    }
    for (std::size_t at; (at = result.find(U"零零")) != std::u32string::npos;) result.erase(at, 1);
    if (!result.empty() && result.back() == kZero) result.pop_back();
    if (const std::size_t at = result.find(U"零亿"); at != std::u32string::npos) result.erase(at, 1);
    return result;
}

std::u32string fractionCapitals(std::string_view text)
{
    const std::vector<std::string_view> fraction = characters(text);
    if (fraction.empty()) return {kExact};
    const char32_t a = capitalDigit(fraction[0]);
    if (fraction.size() == 1) return a == kZero ? std::u32string{kExact} : std::u32string{a, kJiao, kExact};
    const char32_t b = capitalDigit(fraction[1]);   // digits after the second are ignored
    if (a == kZero && b == kZero) return {kExact};
    if (b == kZero) return {a, kJiao, kExact};
    if (a == kZero) return {kZero, b, kFen};
    return {a, kJiao, b, kFen};
}

std::u32string digitsAsCapitals(int value, int width)
{
    std::u32string out;
    const std::string text = width > 0 ? fmt::format("{:0{}}", value, width) : std::to_string(value);
    for (char c : text) out += kDigits[c - '0'];
    return out;
}

// Month and day share their final rule: a 零 from the third character on moves to the front.
std::u32string moveLateZeroToFront(std::u32string s)
{
    const std::size_t zero = s.find(kZero);
    if (zero != std::u32string::npos && zero >= 2) return std::u32string{kZero} + s.substr(0, 2);
    return s;
}

} // namespace

std::string AmountToCapitals(std::string_view amountText)
{
    std::string_view text = text::trim(amountText);
    if (!text.empty() && text.front() == '0') text.remove_prefix(1);

    const std::size_t point = text.find('.');
    const std::string_view integerDigits = text.substr(0, point);
    const std::string_view fractionDigits =
        point == std::string_view::npos ? std::string_view{} : text.substr(point + 1);

    std::u32string result = integerCapitals(integerDigits);
    if (!result.empty()) result += kYuan;
    result += fractionCapitals(fractionDigits);
    return toUtf8(result);
}

std::string YearToCapitals(DateTime date) { return toUtf8(digitsAsCapitals(decodeDate(date).year, 4)); }

std::string MonthToCapitals(DateTime date)
{
    const int month = decodeDate(date).month;
    std::u32string s = digitsAsCapitals(month, 0);
    if (s.size() == 2) s.insert(1, 1, kTen);
    if (month < 10) s.insert(0, 1, kZero);
    return toUtf8(moveLateZeroToFront(s));
}

std::string DayToCapitals(DateTime date)
{
    std::u32string s = digitsAsCapitals(decodeDate(date).day, 0);
    if (s.size() == 1) s.insert(0, 1, kZero);
    else s.insert(1, 1, kTen);
    return toUtf8(moveLateZeroToFront(s));
}

std::string DateToCapitals(DateTime date)
{
    return YearToCapitals(date) + " 年 " + MonthToCapitals(date) + " 月 " + DayToCapitals(date) + " 日";
}

} // namespace pemvora::app
