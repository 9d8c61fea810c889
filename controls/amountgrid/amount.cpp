#include "controls/amountgrid/amount.h"

#include <fmt/format.h>

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace pemvora::amountgrid {

Amount::Amount(long long value) {
    negative_ = value < 0;
    // Through unsigned, so that the most negative value needs no negation.
    unsigned long long magnitude = negative_ ? 0ULL - static_cast<unsigned long long>(value)
                                             : static_cast<unsigned long long>(value);
    digits_ = magnitude == 0 ? std::string() : std::to_string(magnitude);
    normalise();
}

std::optional<Amount> Amount::parse(std::string_view text) {
    auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && isBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back())) text.remove_suffix(1);

    Amount result;
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        result.negative_ = text[i] == '-';
        ++i;
    }
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    std::size_t mantissaDigits = 0;
    while (i < text.size() && isDigit(text[i])) {
        result.digits_ += text[i++];
        ++mantissaDigits;
    }
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && isDigit(text[i])) {
            result.digits_ += text[i++];
            ++result.scale_;
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return std::nullopt;

    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        bool negativeExponent = false;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) negativeExponent = text[i++] == '-';
        if (i >= text.size() || !isDigit(text[i])) return std::nullopt;
        long exponent = 0;
        while (i < text.size() && isDigit(text[i])) {
            exponent = exponent * 10 + (text[i++] - '0');
            if (exponent > 4000) return std::nullopt;  // far beyond any amount
        }
        long scale = result.scale_ + (negativeExponent ? exponent : -exponent);
        if (scale < 0) {
            result.digits_.append(static_cast<std::size_t>(-scale), '0');
            scale = 0;
        }
        result.scale_ = static_cast<int>(scale);
    }
    if (i != text.size()) return std::nullopt;
    result.normalise();
    return result;
}

Amount Amount::fromDouble(double value) {
    if (!std::isfinite(value)) return Amount();
    // {fmt} writes the shortest text that reads back as the same double.
    return parse(fmt::format("{}", value)).value_or(Amount());
}

double Amount::toDouble() const { return std::strtod(toString().c_str(), nullptr); }

std::string Amount::toString() const {
    if (isZero()) return "0";
    std::string out = negative_ ? "-" : "";
    int integerCount = static_cast<int>(digits_.size()) - scale_;
    if (integerCount <= 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-integerCount), '0');
        out += digits_;
    } else {
        out += digits_.substr(0, integerCount);
        if (scale_ > 0) {
            out += '.';
            out.append(digits_, static_cast<std::size_t>(integerCount));
        }
    }
    return out;
}

std::string Amount::magnitudeText(int decimals) const {
    if (decimals < 0) decimals = 0;
    const std::size_t places = static_cast<std::size_t>(decimals);
    std::string digits = digits_;
    std::size_t scale = static_cast<std::size_t>(scale_);
    if (scale < places) {
        digits.append(places - scale, '0');
        scale = places;
    }
    const std::size_t drop = scale - places;
    // Zeros in front, so that an integer digit and the first dropped digit exist.
    const std::size_t needed = drop + places + 1;
    if (digits.size() < needed) digits = std::string(needed - digits.size(), '0') + digits;
    const bool roundUp = drop > 0 && digits[digits.size() - drop] >= '5';
    digits.resize(digits.size() - drop);
    if (roundUp) {
        std::size_t i = digits.size();
        while (i > 0 && digits[i - 1] == '9') digits[--i] = '0';
        if (i > 0)
            ++digits[i - 1];
        else
            digits = '1' + digits;
    }
    const std::size_t integerCount = digits.size() - places;
    std::size_t first = 0;
    while (first + 1 < integerCount && digits[first] == '0') ++first;
    std::string out(digits, first, integerCount - first);
    if (places > 0) {
        out += '.';
        out.append(digits, integerCount, places);
    }
    return out;
}

Amount Amount::abs() const {
    Amount result = *this;
    result.negative_ = false;
    return result;
}

Amount Amount::negated() const {
    Amount result = *this;
    result.negative_ = !negative_ && !isZero();
    return result;
}

int Amount::integerDigits() const {
    int count = static_cast<int>(digits_.size()) - scale_;
    return count > 0 ? count : 0;
}

void Amount::normalise() {
    // Zeros after the point at the end carry nothing.
    while (scale_ > 0 && !digits_.empty() && digits_.back() == '0') {
        digits_.pop_back();
        --scale_;
    }
    // Leading zeros carry nothing either (the point is counted from the right).
    std::size_t lead = 0;
    while (lead < digits_.size() && digits_[lead] == '0') ++lead;
    digits_.erase(0, lead);
    if (digits_.empty()) {
        scale_ = 0;
        negative_ = false;
    }
}

}  // namespace pemvora::amountgrid
