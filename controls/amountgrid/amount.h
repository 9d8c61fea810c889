#pragma once
// Amount: an exact decimal number for the amount grid controls.
//
// An amount typed digit by digit must come back exactly as typed, also with
// 18 integer digits, which a double cannot hold. The number is kept as its
// decimal digits and the count of those digits that lie after the point.

#include <optional>
#include <string>
#include <string_view>

namespace pemvora::amountgrid {

class Amount {
public:
    Amount() = default;  // zero
    explicit Amount(long long value);

    // "[+|-]digits[.digits][e[+|-]digits]"; also ".5" and "5."; surrounding
    // blanks are allowed. Nothing else is a number.
    static std::optional<Amount> parse(std::string_view text);
    // The shortest decimal that reads back as the same double; 0 for NaN and
    // the infinities.
    static Amount fromDouble(double value);

    double toDouble() const;
    // The exact plain decimal form: "-12.5", "0", "123456789012345678".
    std::string toString() const;
    // Rounded to `decimals` places (halves away from zero), at least one
    // integer digit, without a sign: the mask "0.00" for decimals = 2.
    std::string magnitudeText(int decimals) const;

    bool isZero() const { return digits_.empty(); }
    bool isNegative() const { return negative_; }
    Amount abs() const;
    Amount negated() const;
    // Count of integer digits without leading zeros (0 for values below 1).
    int integerDigits() const;

    friend bool operator==(const Amount&, const Amount&) = default;

private:
    void normalise();

    bool negative_ = false;  // never set for zero
    std::string digits_;     // no leading zeros, no zeros after the point at the end; empty for zero
    int scale_ = 0;          // how many of digits_ lie after the point
};

}  // namespace pemvora::amountgrid
