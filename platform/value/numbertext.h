#pragma once
// The one text form of numbers used everywhere: the shortest decimal with at most
// 15 significant digits, a decimal separator only when there is a fraction, no
// trailing zeros, and an exponent ("1E15", "1.5E-6") only below 0.00001 and from
// 10^15 upwards. So 1.15 * 100 reads "115" and 2045.67 * 100 reads "204567".

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pemvora {

std::string formatNumber(double value, char decimalSeparator = '.');
std::string formatInteger(std::int64_t value);

// Text -> number as the platform reads it: blanks around are allowed, an optional
// sign, digits with at most one decimal separator, an optional exponent.
std::optional<double> parseNumber(std::string_view text, char decimalSeparator = '.');
// Optional sign and decimal digits (or "$" and hex digits), blanks around allowed;
// nullopt when it is not an integer or does not fit in 64 bits.
std::optional<std::int64_t> parseInteger(std::string_view text);

// Round to nearest with halves to the even neighbour.
double roundHalfEven(double x);

} // namespace pemvora
