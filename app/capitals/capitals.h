#pragma once
// Capital numerals (大写) for cheque amounts and dates. Pure functions, UTF-8 text.

#include "platform/value/datetime.h"

#include <stdexcept>
#include <string>
#include <string_view>

namespace pemvora::app {

// A character where a digit belongs: "'%s' is not a valid integer value".
class CapitalsError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The amount as decimal text (the shortest number text form, e.g. "120034.56") to
// its capital form (壹拾贰万零叁拾肆元伍角陆分). Throws CapitalsError.
std::string AmountToCapitals(std::string_view amountText);

std::string YearToCapitals(DateTime date);    // 2008 -> 贰零零捌
std::string MonthToCapitals(DateTime date);   // 3 -> 零叁, 10 -> 零壹拾, 11 -> 壹拾壹
std::string DayToCapitals(DateTime date);     // 5 -> 零伍, 20 -> 零贰拾, 31 -> 叁拾壹

// The capital date as the cheque window shows it: 贰零零捌 年 零叁 月 零伍 日.
std::string DateToCapitals(DateTime date);

} // namespace pemvora::app
