#pragma once
// Pixel arithmetic on geometry read from files. A damaged record may hold any
// 32-bit size or position; scaled, or added to another, it may lie beyond the
// int range. Coordinates are held within 2^28 pixels of the origin: far beyond
// any page, yet leaving room for the sums that follow (in Qt too).

#include "platform/value/numbertext.h"

#include <algorithm>

namespace pemvora::report::pixels {

constexpr long long kCoordinateLimit = 1LL << 28;

// Rounded half to even and held within the limit.
inline int roundi(double x)
{
    const double r = roundHalfEven(x);
    if (!(r > -kCoordinateLimit)) return -kCoordinateLimit;
    if (r > kCoordinateLimit) return kCoordinateLimit;
    return static_cast<int>(r);
}

// A sum taken in 64 bits, held within the limit.
inline int clampToInt(long long v)
{
    return static_cast<int>(std::clamp<long long>(v, -kCoordinateLimit, kCoordinateLimit));
}

} // namespace pemvora::report::pixels
