#pragma once
// Page geometry computed from the printer: paper size, unprintable offsets and
// printable area, in printer pixels and in design pixels.

namespace pemvora::report {

struct TfrPageMetrics {
    int DevPaperWidth = 0, DevPaperHeight = 0;
    int PaperWidth = 0, PaperHeight = 0;
    int DevOffsetX = 0, DevOffsetY = 0;
    int OffsetX = 0, OffsetY = 0;
    int DevPrintWidth = 0, DevPrintHeight = 0;
    int PrintWidth = 0, PrintHeight = 0;
};

} // namespace pemvora::report
