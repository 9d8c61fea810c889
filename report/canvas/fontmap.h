#pragma once
// Our font mapping: report templates name Windows families (宋体/SimSun, 黑体/SimHei,
// 楷体/KaiTi, 隶书/LiSu, 仿宋/FangSong, Arial, Times New Roman, Courier New...).
// Pemvora ships a fontconfig configuration (fonts/pemvora-fonts.conf) that
// includes the system configuration and maps each of them to an installed face
// of the same kind: the Song-style families to a serif CJK face, the Hei-style
// ones to a sans CJK face, and the Latin families to metric-compatible faces.
//
// loadFontConfiguration() must run before anything starts fontconfig, that is
// before the QGuiApplication / QApplication is created. Every program and test
// main calls it first.

#include <QFont>
#include <QString>

#include <string>

namespace pemvora::report {

struct Font;

// Points FONTCONFIG_FILE at our configuration. It is looked for in this order:
// $PEMVORA_FONTCONFIG_FILE; share/pemvora/fonts.conf beside or above the
// executable's directory (the build tree and an installed tree both have it);
// the copy in the source tree. A FONTCONFIG_FILE the user has set is left alone.
// Returns the file in effect, empty when none was found (the system
// configuration then applies unchanged).
std::string loadFontConfiguration();

// The installed family that fontconfig picks for a family name, e.g.
// "Noto Serif CJK SC" for "宋体". Results are cached.
QString resolveFontFamily(const QString& family);

// The installed family a canvas font draws with: its name resolved, except
// that a face without Chinese characters asked for with an East Asian
// character set (GB2312 134, Big5 136, Shift-JIS 128, Hangul 129) gives the
// face of 宋体, as the classic font mapper does.
QString familyForFont(const Font& font);

// The QFont for a canvas font: resolved family, em height in pixels, styles,
// no kerning (character positions as the templates were designed), plus the
// extra spacing after every character.
QFont toQFont(const Font& font, int charSpacing);

} // namespace pemvora::report
