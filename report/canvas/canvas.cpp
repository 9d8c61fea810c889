#include "report/canvas/canvas.h"

#include <QGuiApplication>
#include <QPalette>

#include <array>
#include <cmath>

namespace pemvora::report {

namespace {

Color fromQColor(const QColor& c) { return rgb(c.red(), c.green(), c.blue()); }

// The classic desktop scheme, used when there is no application palette.
constexpr std::array<Color, 31> kClassicSystemColors = {
    rgb(212, 208, 200), rgb(58, 110, 165), rgb(10, 36, 106),   rgb(128, 128, 128), // 0..3
    rgb(212, 208, 200), rgb(255, 255, 255), rgb(0, 0, 0),      rgb(0, 0, 0),       // 4..7
    rgb(0, 0, 0),       rgb(255, 255, 255), rgb(212, 208, 200), rgb(212, 208, 200), // 8..11
    rgb(128, 128, 128), rgb(10, 36, 106),   rgb(255, 255, 255), rgb(212, 208, 200), // 12..15
    rgb(128, 128, 128), rgb(128, 128, 128), rgb(0, 0, 0),       rgb(212, 208, 200), // 16..19
    rgb(255, 255, 255), rgb(64, 64, 64),    rgb(212, 208, 200), rgb(0, 0, 0),       // 20..23
    rgb(255, 255, 225), rgb(181, 181, 181), rgb(0, 0, 128),     rgb(166, 202, 240), // 24..27
    rgb(192, 192, 192), rgb(10, 36, 106),   rgb(212, 208, 200),                     // 28..30
};

// Which palette entry stands for a system colour; -1 keeps the classic value.
struct PaletteRole {
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

std::optional<PaletteRole> paletteRoleOf(int index)
{
    using P = QPalette;
    switch (index) {
    case 4: return PaletteRole{P::Active, P::Window};            // menu
    case 5: return PaletteRole{P::Active, P::Base};              // window background
    case 7: return PaletteRole{P::Active, P::WindowText};        // menu text
    case 8: return PaletteRole{P::Active, P::Text};              // window text
    case 12: return PaletteRole{P::Active, P::Dark};             // application workspace
    case 13: return PaletteRole{P::Active, P::Highlight};
    case 14: return PaletteRole{P::Active, P::HighlightedText};
    case 15: return PaletteRole{P::Active, P::Button};           // button face
    case 16: return PaletteRole{P::Active, P::Dark};             // button shadow
    case 17: return PaletteRole{P::Disabled, P::Text};           // grey text
    case 18: return PaletteRole{P::Active, P::ButtonText};
    case 20: return PaletteRole{P::Active, P::Light};            // button highlight
    case 21: return PaletteRole{P::Active, P::Shadow};           // dark 3-D shadow
    case 22: return PaletteRole{P::Active, P::Midlight};         // 3-D light
    case 23: return PaletteRole{P::Active, P::ToolTipText};
    case 24: return PaletteRole{P::Active, P::ToolTipBase};
    case 26: return PaletteRole{P::Active, P::Link};             // hot-tracked item
    default: return std::nullopt;
    }
}

constexpr int kPatternDash[] = {18, 6};
constexpr int kPatternDot[] = {3, 3};
constexpr int kPatternDashDot[] = {9, 6, 3, 6};
constexpr int kPatternDashDotDot[] = {9, 3, 3, 3, 3, 3};

} // namespace

Color resolveColor(Color c)
{
    if (c == kNoColor) return kWhite;
    if (isSystemColor(c)) {
        const int index = int(c & 0xFF);
        if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr) {
            if (auto role = paletteRoleOf(index))
                return fromQColor(QGuiApplication::palette().color(role->group, role->role));
        }
        if (index < int(kClassicSystemColors.size())) return kClassicSystemColors[std::size_t(index)];
        return kBlack;
    }
    if ((c & 0xFF000000u) != 0) return kWhite;   // not a colour the engine knows
    return c;
}

int fontPixelHeight(double points, int dpi)
{
    return int(std::lround(points * dpi / 72.0));
}

std::span<const int> penPattern(PenStyle style)
{
    switch (style) {
    case PenStyle::Dash: return kPatternDash;
    case PenStyle::Dot: return kPatternDot;
    case PenStyle::DashDot: return kPatternDashDot;
    case PenStyle::DashDotDot: return kPatternDashDotDot;
    default: return {};
    }
}

} // namespace pemvora::report
