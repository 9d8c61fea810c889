#include "platform/value/numbertext.h"

#include "platform/text/gbk.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace pemvora {

namespace {

constexpr int kSignificantDigits = 15;

} // namespace

std::string formatNumber(double value, char decimalSeparator)
{
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    if (value == 0) return "0";

    // Round to 15 significant digits first; the digits and the decimal exponent of
    // that rounded value decide everything else.
    char buf[40];
    std::snprintf(buf, sizeof buf, "%.*e", kSignificantDigits - 1, std::fabs(value));
    // buf: d.dddddddddddddde[+-]xx
    std::string digits;
    const char* p = buf;
    for (; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits += *p;
    const int exponent = std::atoi(p + 1);   // value = 0.d1d2... * 10^(exponent+1)
    while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
    if (digits == "0") return "0";

    std::string out;
    if (value < 0) out += '-';
    const int n = static_cast<int>(digits.size());
    if (exponent >= kSignificantDigits || std::fabs(value) < 0.00001) {
        out += digits[0];
        if (n > 1) {
            out += decimalSeparator;
            out.append(digits, 1);
        }
        out += 'E';
        out += std::to_string(exponent);
        return out;
    }
    if (exponent < 0) {
        out += '0';
        out += decimalSeparator;
        out.append(static_cast<std::size_t>(-exponent - 1), '0');
        out += digits;
        return out;
    }
    const int intDigits = exponent + 1;
    if (n <= intDigits) {
        out += digits;
        out.append(static_cast<std::size_t>(intDigits - n), '0');
    } else {
        out.append(digits, 0, static_cast<std::size_t>(intDigits));
        out += decimalSeparator;
        out.append(digits, static_cast<std::size_t>(intDigits));
    }
    return out;
}

std::string formatInteger(std::int64_t value) { return std::to_string(value); }

std::optional<double> parseNumber(std::string_view text, char decimalSeparator)
{
    text = text::trim(text);
    if (text.empty()) return std::nullopt;
    std::string canon;
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') canon += text[i++];
    bool anyDigit = false, seenSep = false;
    for (; i < text.size(); ++i) {
        const char c = text[i];
        if (c >= '0' && c <= '9') {
            canon += c;
            anyDigit = true;
        } else if (c == decimalSeparator && !seenSep) {
            canon += '.';
            seenSep = true;
        } else {
            break;
        }
    }
    if (!anyDigit) return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        canon += 'e';
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) canon += text[i++];
        bool expDigit = false;
        for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
            canon += text[i];
            expDigit = true;
        }
        if (!expDigit) return std::nullopt;
    }
    if (i != text.size()) return std::nullopt;
    errno = 0;
    char* end = nullptr;
    const double v = std::strtod(canon.c_str(), &end);
    if (end != canon.c_str() + canon.size()) return std::nullopt;
    if (errno == ERANGE && std::isinf(v)) return std::nullopt;
    return v;
}

std::optional<std::int64_t> parseInteger(std::string_view text)
{
    text = text::trim(text);
    if (text.empty()) return std::nullopt;
    bool negative = false;
    std::size_t i = 0;
    if (text[i] == '+' || text[i] == '-') negative = text[i++] == '-';
    int base = 10;
    if (i < text.size() && text[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < text.size() && text[i] == '0' && (text[i + 1] == 'x' || text[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i == text.size()) return std::nullopt;
    unsigned long long magnitude = 0;
    const unsigned long long limit =
        negative ? 1ULL + static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max())
                 : static_cast<unsigned long long>(std::numeric_limits<std::int64_t>::max());
    for (; i < text.size(); ++i) {
        const char c = text[i];
        int d;
        if (c >= '0' && c <= '9') d = c - '0';
        else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
        else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
        else return std::nullopt;
        if (magnitude > (limit - static_cast<unsigned>(d)) / static_cast<unsigned>(base)) return std::nullopt;
        magnitude = magnitude * static_cast<unsigned>(base) + static_cast<unsigned>(d);
    }
    if (negative) return magnitude == limit ? std::numeric_limits<std::int64_t>::min()
                                            : -static_cast<std::int64_t>(magnitude);
    return static_cast<std::int64_t>(magnitude);
}

double roundHalfEven(double x) { return std::nearbyint(x); }

} // namespace pemvora
