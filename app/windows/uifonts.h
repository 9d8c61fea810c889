#pragma once
// The fonts of the cheque application's windows. The Windows family names
// come first (a font configuration may map them to installed fonts); the
// CJK families that a Linux desktop has follow as fallbacks.

#include <QFont>
#include <QStringList>

namespace pemvora::app {

// 宋体 9 pt: the windows' own font.
inline QFont uiFont()
{
    QFont f;
    f.setFamilies({QString::fromUtf8("宋体"), "SimSun", "Noto Serif CJK SC", "Noto Sans CJK SC",
                   "WenQuanYi Zen Hei"});
    f.setPixelSize(12);
    return f;
}

// 隶书: the calligraphic title font.
inline QFont titleFont()
{
    QFont f;
    f.setFamilies({QString::fromUtf8("隶书"), "LiSu", "AR PL UKai CN", "AR PL UKai", "Noto Serif CJK SC"});
    f.setPixelSize(26);
    f.setBold(true);
    return f;
}

} // namespace pemvora::app
