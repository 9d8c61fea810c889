#include "report/model/metafile.h"

#include "report/model/objects.h"

#include <cstdint>
#include <cstring>

namespace pemvora::report {

namespace {

std::uint32_t u32At(std::string_view b, std::size_t at)
{
    std::uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(static_cast<unsigned char>(b[at + i])) << (8 * i);
    return v;
}
std::int16_t i16At(std::string_view b, std::size_t at)
{
    return static_cast<std::int16_t>(static_cast<unsigned char>(b[at]) | (static_cast<unsigned char>(b[at + 1]) << 8));
}
std::int32_t i32At(std::string_view b, std::size_t at) { return static_cast<std::int32_t>(u32At(b, at)); }

bool isEmf(std::string_view b) { return b.size() >= 88 && u32At(b, 0) == 1 && b.substr(40, 4) == " EMF"; }
bool isPlaceable(std::string_view b) { return b.size() >= 22 && u32At(b, 0) == 0x9AC6CDD7u; }

} // namespace

Size metafileSize(std::string_view b)
{
    if (isEmf(b)) {
        // The frame, in hundredths of a millimetre.
        const double w = double(i32At(b, 32)) - i32At(b, 24);
        const double h = double(i32At(b, 36)) - i32At(b, 28);
        if (w <= 0 || h <= 0) throw GraphicError("The metafile has no size");
        return {static_cast<int>(w * 96 / 2540 + 0.5), static_cast<int>(h * 96 / 2540 + 0.5)};
    }
    if (isPlaceable(b)) {
        const int w = i16At(b, 10) - i16At(b, 6);
        const int h = i16At(b, 12) - i16At(b, 8);
        const int unitsPerInch = static_cast<std::uint16_t>(i16At(b, 14));
        if (w <= 0 || h <= 0 || unitsPerInch == 0) throw GraphicError("The metafile has no size");
        return {w * 96 / unitsPerInch, h * 96 / unitsPerInch};
    }
    throw GraphicError("The metafile data is damaged");
}

QImage renderMetafile(std::string_view, int, int, long long)
{
    throw GraphicError("The metafile cannot be drawn");
}

} // namespace pemvora::report
