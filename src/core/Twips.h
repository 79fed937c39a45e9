#pragma once
// Window sizes in the settings are twips: 1440 per logical inch (15 per pixel at
// 96 dpi). Conversions happen only at the window boundary.
#include <cmath>

namespace Twips {

constexpr double PerInch = 1440.0;

inline int ToPixels(int twips, double logicalDpi = 96.0) {
    return static_cast<int>(std::lround(twips * logicalDpi / PerInch));
}
inline int FromPixels(int pixels, double logicalDpi = 96.0) {
    return static_cast<int>(std::lround(pixels * PerInch / logicalDpi));
}

} // namespace Twips
