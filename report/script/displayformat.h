#pragma once
// Display formats of text objects: the packed format word and the formatting of a
// value by it.
//
// The word holds the category in bits 24-27, the kind in bits 16-23, the number of
// decimals in bits 8-15 and the decimal separator character in bits 0-7 (0 means
// the locale's). Categories: 0 text, 1 number, 2 date, 3 time, 4 boolean; kind 4
// of each applies the custom format text.

#include "platform/value/value.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace pemvora {
struct Locale;
}

namespace pemvora::report {

namespace category {
inline constexpr int Text = 0;
inline constexpr int Number = 1;
inline constexpr int Date = 2;
inline constexpr int Time = 3;
inline constexpr int Boolean = 4;
} // namespace category

inline constexpr int kCustomKind = 4;

struct DisplayFormat {
    int category = 0;
    int kind = 0;
    int decimals = 0;
    char separator = 0;

    static DisplayFormat unpack(std::uint32_t word)
    {
        return {static_cast<int>((word >> 24) & 0x0F), static_cast<int>((word >> 16) & 0xFF),
                static_cast<int>((word >> 8) & 0xFF), static_cast<char>(word & 0xFF)};
    }
    std::uint32_t pack() const
    {
        return (static_cast<std::uint32_t>(category & 0x0F) << 24) | (static_cast<std::uint32_t>(kind & 0xFF) << 16) |
               (static_cast<std::uint32_t>(decimals & 0xFF) << 8) | static_cast<unsigned char>(separator);
    }
};

// The value as the format shows it. Null, empty and text of spaces show nothing; a
// value the format cannot take (not a number, not a date) shows as plain text.
std::string FormatDisplayValue(const Value& value, std::uint32_t format, std::string_view formatText,
                               const Locale& locale);

// A format given inside a bracket after " #": "N0.2", "2", "N#,##0.00",
// "Dyyyy-mm-dd", "Thh:nn", "BNo;Yes".
struct BracketFormat {
    std::string expression;
    bool hasFormat = false;       // a " #" was present
    std::uint32_t format = 0;
    std::string formatText;
};

// Splits a bracket's text at its first " #". A format whose first letter is
// not one of N B D T (or a digit) keeps the given object format.
BracketFormat SplitBracketFormat(std::string_view text, std::uint32_t objectFormat, std::string_view objectFormatText);

} // namespace pemvora::report
