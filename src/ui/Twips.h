#pragma once

#include <QRect>
#include <QVariant>
#include <QWidget>
#include <cmath>

// Window geometry is given in twips, 1/1440 inch, and drawn in pixels at the widget's logical
// DPI: 15 twips to the pixel at 96 dpi. Example: 6570 twips at 96 dpi is 438 pixels.
namespace Twips {

constexpr double kPerInch = 1440.0;
// The property in which place() keeps a widget's geometry in twips.
constexpr const char* kGeometryProperty = "twipsGeometry";

inline int toPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kPerInch));
}

inline QRect toPixels(const QRect& twips, double dpi) {
    return QRect(toPixels(twips.left(), dpi), toPixels(twips.top(), dpi),
                 toPixels(twips.width(), dpi), toPixels(twips.height(), dpi));
}

// Names the widget and puts it at left, top, width, height (twips, relative to its parent).
template <typename W>
W* place(W* widget, const char* objectName, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(objectName));
    const QRect twips(left, top, width, height);
    widget->setProperty(kGeometryProperty, twips);
    widget->setGeometry(toPixels(twips, widget->logicalDpiX()));
    return widget;
}

}  // namespace Twips
