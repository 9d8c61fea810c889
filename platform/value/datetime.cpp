#include "platform/value/datetime.h"

#include "platform/text/gbk.h"

#include "platform/value/locale.h"
#include "platform/value/numberformat.h"
#include "platform/value/numbertext.h"
#include "platform/value/value.h"

#include <cmath>
#include <ctime>
#include <vector>

#include <fmt/format.h>

namespace pemvora {

namespace {

// Days between 0001-01-01 and 1899-12-30 in the proleptic Gregorian calendar.
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;   // days since 1970-01-01
}

void civilFromDays(long long z, int& y, int& m, int& d)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long yy = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
    m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
    y = static_cast<int>(yy + (m <= 2));
}

constexpr long long kEpochOffset = 25569;   // 1970-01-01 in days since 1899-12-30
constexpr double kMsPerDay = 86400000.0;

bool isLeap(int y) { return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0; }

std::vector<std::string_view> splitOn(std::string_view s, std::string_view seps)
{
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= s.size(); ++i) {
        if (i == s.size() || seps.find(s[i]) != std::string_view::npos) {
            parts.push_back(s.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

std::optional<int> smallInt(std::string_view s)
{
    if (s.empty() || s.size() > 4) return std::nullopt;
    int v = 0;
    for (char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        v = v * 10 + (c - '0');
    }
    return v;
}

} // namespace

int daysInMonth(int year, int month)
{
    static const int days[12] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12) return 0;
    return month == 2 && isLeap(year) ? 29 : days[month - 1];
}

bool isValidDate(int year, int month, int day)
{
    return year >= 1 && year <= 9999 && month >= 1 && month <= 12 && day >= 1 && day <= daysInMonth(year, month);
}

DateTime encodeDate(int year, int month, int day)
{
    if (!isValidDate(year, month, day))
        throw ConversionError(fmt::format("Invalid argument to date encode ({}-{}-{})", year, month, day));
    return {static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day)) +
                                kEpochOffset)};
}

DateTime encodeTime(int hour, int minute, int second, int millisecond)
{
    if (hour < 0 || hour > 23 || minute < 0 || minute > 59 || second < 0 || second > 59 || millisecond < 0 ||
        millisecond > 999)
        throw ConversionError(fmt::format("Invalid argument to time encode ({}:{}:{})", hour, minute, second));
    return {((hour * 60 + minute) * 60 + second + millisecond / 1000.0) / 86400.0};
}

DateTime encodeDateTime(const DateParts& d, const TimeParts& t)
{
    const double date = encodeDate(d.year, d.month, d.day).days;
    const double time = encodeTime(t.hour, t.minute, t.second, t.millisecond).days;
    return {date >= 0 ? date + time : date - time};
}

std::optional<long long> calendarDay(DateTime dt)
{
    // Whole days from 0001-01-01 (-693593) to 9999-12-31 (2958465), the time
    // of day either side; a NaN fails both tests.
    if (!(dt.days > -693594.0 && dt.days < 2958466.0)) return std::nullopt;
    return static_cast<long long>(std::trunc(dt.days));
}

DateParts decodeDate(DateTime dt)
{
    DateParts p;
    const std::optional<long long> days = calendarDay(dt);
    if (!days) return p;
    civilFromDays(*days - kEpochOffset, p.year, p.month, p.day);
    return p;
}

TimeParts decodeTime(DateTime dt)
{
    double frac = std::fabs(dt.days - std::trunc(dt.days));
    if (!std::isfinite(frac)) frac = 0;   // infinite or not a number: no time of day
    long long ms = std::llround(frac * kMsPerDay);
    if (ms >= 86400000) ms = 86399999;
    TimeParts t;
    t.millisecond = static_cast<int>(ms % 1000);
    ms /= 1000;
    t.second = static_cast<int>(ms % 60);
    ms /= 60;
    t.minute = static_cast<int>(ms % 60);
    t.hour = static_cast<int>(ms / 60);
    return t;
}

int dayOfWeek(DateTime dt)
{
    const std::optional<long long> day = calendarDay(dt);
    if (!day) throw ConversionError(fmt::format("'{}' is not a valid date", formatNumber(dt.days)));
    // Day 0 (1899-12-30) was a Saturday.
    long long r = (*day + 6) % 7;
    if (r < 0) r += 7;
    return static_cast<int>(r) + 1;
}

std::string dateTimeToText(DateTime dt, const Locale& locale)
{
    // A day number outside the calendar (years 1 to 9999) shows as the number.
    const DateParts d = decodeDate(dt);
    if (!isValidDate(d.year, d.month, d.day)) return formatNumber(dt.days, locale.decimalSeparator);
    return formatDateTimePattern(dt, "c", locale);
}

std::optional<DateTime> parseTime(std::string_view text, const Locale& locale)
{
    text = text::trim(text);
    bool pm = false, am = false;
    auto stripSuffix = [&](std::string_view marker, bool& flag) {
        if (!marker.empty() && text.size() >= marker.size() &&
            text.substr(text.size() - marker.size()) == marker) {
            text = text::trim(text.substr(0, text.size() - marker.size()));
            flag = true;
        }
    };
    stripSuffix("PM", pm);
    stripSuffix("pm", pm);
    stripSuffix(locale.timePMString, pm);
    stripSuffix("AM", am);
    stripSuffix("am", am);
    stripSuffix(locale.timeAMString, am);
    const std::string seps{':', locale.timeSeparator};
    const auto parts = splitOn(text, seps);
    if (parts.size() < 2 || parts.size() > 3) return std::nullopt;
    const auto h = smallInt(parts[0]);
    const auto m = smallInt(parts[1]);
    const auto s = parts.size() == 3 ? smallInt(parts[2]) : std::optional<int>(0);
    if (!h || !m || !s) return std::nullopt;
    int hour = *h;
    if ((am || pm) && (hour < 1 || hour > 12)) return std::nullopt;
    if (pm && hour < 12) hour += 12;
    if (am && hour == 12) hour = 0;
    if (hour > 23 || *m > 59 || *s > 59) return std::nullopt;
    return encodeTime(hour, *m, *s);
}

std::optional<DateTime> parseDate(std::string_view text, const Locale& locale)
{
    text = text::trim(text);
    // A time may follow the date after a blank.
    std::optional<DateTime> time;
    if (const auto blank = text.find(' '); blank != std::string_view::npos) {
        time = parseTime(text.substr(blank + 1), locale);
        if (!time) return std::nullopt;
        text = text.substr(0, blank);
    }
    const std::string seps{'-', '/', '.', locale.dateSeparator};
    const auto parts = splitOn(text, seps);
    // Order of year, month and day as the short date format has them.
    std::string order;
    for (char c : locale.shortDateFormat) {
        const char lc = static_cast<char>(c | 0x20);
        if ((lc == 'y' || lc == 'm' || lc == 'd') && order.find(lc) == std::string::npos) order += lc;
    }
    if (order.size() != 3) order = "ymd";
    int y = 0, m = 0, d = 0;
    if (parts.size() == 3) {
        for (int i = 0; i < 3; ++i) {
            const auto v = smallInt(parts[static_cast<std::size_t>(i)]);
            if (!v) return std::nullopt;
            (order[static_cast<std::size_t>(i)] == 'y' ? y : order[static_cast<std::size_t>(i)] == 'm' ? m : d) = *v;
        }
        if (parts[static_cast<std::size_t>(order.find('y'))].size() <= 2) y += 2000;
    } else if (parts.size() == 2) {
        std::string md = order;
        md.erase(md.find('y'), 1);
        for (int i = 0; i < 2; ++i) {
            const auto v = smallInt(parts[static_cast<std::size_t>(i)]);
            if (!v) return std::nullopt;
            (md[static_cast<std::size_t>(i)] == 'm' ? m : d) = *v;
        }
        const std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        y = local.tm_year + 1900;
    } else {
        return std::nullopt;
    }
    if (!isValidDate(y, m, d)) return std::nullopt;
    DateTime dt = encodeDate(y, m, d);
    if (time) dt.days += time->days;
    return dt;
}

std::optional<DateTime> parseDateTime(std::string_view text, const Locale& locale)
{
    if (auto d = parseDate(text, locale)) return d;
    return parseTime(text, locale);
}

} // namespace pemvora
