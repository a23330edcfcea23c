#pragma once

#include <QRect>
#include <cmath>

// Window geometry is given in twips, 1/1440 inch, and drawn in pixels at the screen's logical
// DPI: 15 twips to the pixel at 96 dpi. Example: 6570 twips at 96 dpi is 438 pixels.
namespace Twips {

constexpr double kPerInch = 1440.0;

inline int toPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kPerInch));
}

inline QRect toPixels(const QRect& twips, double dpi) {
    return QRect(toPixels(twips.left(), dpi), toPixels(twips.top(), dpi),
                 toPixels(twips.width(), dpi), toPixels(twips.height(), dpi));
}

}  // namespace Twips
