#pragma once
// The locale facts that number and date texts depend on. Always passed or read
// explicitly; nothing here changes process-wide settings.

#include <array>
#include <string>

namespace pemvora {

struct Locale {
    char decimalSeparator = '.';
    char thousandSeparator = ',';
    char dateSeparator = '-';
    char timeSeparator = ':';
    // Date and time notation: d dd ddd dddd m mm mmm mmmm yy yyyy h hh n nn s ss,
    // "/" for the date separator and ":" for the time separator.
    std::string shortDateFormat = "yyyy-m-d";
    std::string longDateFormat;   // GBK
    std::string shortTimeFormat = "h:nn";
    std::string longTimeFormat = "h:nn:ss";
    std::string timeAMString;     // GBK
    std::string timePMString;     // GBK
    std::array<std::string, 12> shortMonthNames;   // GBK
    std::array<std::string, 12> longMonthNames;    // GBK
    std::array<std::string, 7> shortDayNames;      // GBK, Sunday first
    std::array<std::string, 7> longDayNames;       // GBK, Sunday first
};

// The Chinese (PRC) locale the cheque forms are filled in under.
const Locale& defaultLocale();

} // namespace pemvora
