#include "platform/value/locale.h"

#include "platform/text/gbk.h"

namespace pemvora {

namespace {

Locale makeChineseLocale()
{
    using text::utf8ToGbk;
    Locale l;
    l.longDateFormat = utf8ToGbk("yyyy'年'm'月'd'日'");
    l.timeAMString = utf8ToGbk("上午");
    l.timePMString = utf8ToGbk("下午");
    static const char* const months[12] = {"一月", "二月", "三月", "四月", "五月", "六月",
                                           "七月", "八月", "九月", "十月", "十一月", "十二月"};
    for (int i = 0; i < 12; ++i) {
        l.shortMonthNames[i] = utf8ToGbk(months[i]);
        l.longMonthNames[i] = utf8ToGbk(months[i]);
    }
    static const char* const days[7] = {"日", "一", "二", "三", "四", "五", "六"};
    for (int i = 0; i < 7; ++i) {
        l.shortDayNames[i] = utf8ToGbk(std::string("周") + days[i]);
        l.longDayNames[i] = utf8ToGbk(std::string("星期") + days[i]);
    }
    return l;
}

} // namespace

const Locale& defaultLocale()
{
    static const Locale locale = makeChineseLocale();
    return locale;
}

} // namespace pemvora
