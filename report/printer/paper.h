#pragma once
// Paper: the built-in paper table and the page geometry the band engine lays
// out against.
//
// Paper sizes are integers in tenths of a millimetre. Layout works in design
// pixels, 93/1.015 of them per inch, so n tenths of a millimetre are
// n * kDesignPixelsPerInch / 254 design pixels, rounded half to even.

#include <span>
#include <string_view>

namespace pemvora::report {

inline constexpr double kDesignPixelsPerInch = 91.6256157635468;   // 93 / 1.015

inline constexpr int kCustomPaper = 256;      // paper size code of a custom size
inline constexpr int kUnknownPaper = -1;      // forces the next SetPaper to apply
inline constexpr int kDefaultBin = -1;        // the device's default paper source
inline constexpr int kA4 = 9;

// Whether a bin code means "the device's default source" (low 16 bits 0xFFFF).
inline constexpr bool isDefaultBin(int bin) { return (bin & 0xFFFF) == 0xFFFF; }

struct PaperInfo {
    int id;                 // the platform paper size code
    std::string_view name;  // as displayed
    int width;              // portrait, 0.1 mm
    int height;
};

// The 67 rows, in display order; the last is "Custom" (256).
std::span<const PaperInfo> paperTable();
// The row of a paper size code, or nullptr.
const PaperInfo* findPaper(int id);

// Round half to even, as every page-geometry figure is rounded.
int roundEven(double v);
// Tenths of a millimetre to design pixels.
int tenthsToDesignPixels(int tenths);

// Page geometry: paper size, unprintable offsets and printable area, in
// printer pixels (Dev...) and in design pixels.
struct TfrPageMetrics {
    int DevPaperWidth = 0;
    int DevPaperHeight = 0;
    int PaperWidth = 0;
    int PaperHeight = 0;
    int DevOffsetX = 0;
    int DevOffsetY = 0;
    int OffsetX = 0;
    int OffsetY = 0;
    int DevPrintWidth = 0;
    int DevPrintHeight = 0;
    int PrintWidth = 0;
    int PrintHeight = 0;
    friend bool operator==(const TfrPageMetrics&, const TfrPageMetrics&) = default;
};

} // namespace pemvora::report
