#pragma once

#include <QRect>
#include <QSize>
#include <QVariant>
#include <QWidget>
#include <cmath>

// Window geometry is given in twips, 1/1440 inch, and drawn in pixels at the widget's logical
// DPI: 15 twips to the pixel at 96 dpi. Example: 6570 twips at 96 dpi is 438 pixels.
namespace Twips {

constexpr double kPerInch = 1440.0;
// The property in which place() keeps a widget's geometry in twips.
constexpr const char* kGeometryProperty = "twipsGeometry";
// The property in which follow() keeps how a widget follows its parent's growth.
constexpr const char* kFollowProperty = "twipsFollow";

// How a placed widget follows a parent that is larger than the size its twips were given for:
// it stays where it is, keeps its distance to the parent's bottom edge, or grows by as much as
// the parent did in both directions.
enum class Follow { Stays, Bottom, Grows };

inline int toPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kPerInch));
}

inline QRect toPixels(const QRect& twips, double dpi) {
    return QRect(toPixels(twips.left(), dpi), toPixels(twips.top(), dpi),
                 toPixels(twips.width(), dpi), toPixels(twips.height(), dpi));
}

// Puts the widget at twips (relative to its parent) and keeps them for layOut().
inline void setGeometry(QWidget* widget, const QRect& twips) {
    widget->setProperty(kGeometryProperty, twips);
    widget->setGeometry(toPixels(twips, widget->logicalDpiX()));
}

// The twips the widget was placed at; an empty rectangle for a widget never placed.
inline QRect geometry(const QWidget* widget) {
    return widget->property(kGeometryProperty).toRect();
}

// Names the widget and puts it at left, top, width, height (twips, relative to its parent).
template <typename W>
W* place(W* widget, const char* objectName, int left, int top, int width, int height) {
    widget->setObjectName(QString::fromLatin1(objectName));
    setGeometry(widget, QRect(left, top, width, height));
    return widget;
}

template <typename W>
W* follow(W* widget, Follow how) {
    widget->setProperty(kFollowProperty, static_cast<int>(how));
    return widget;
}

// Puts every child that was placed in twips at its twips drawn at the parent's DPI, then moves
// the children that follow the bottom down by growth.height() and makes the growing ones
// larger by growth (pixels; negative parts count as 0).
void layOut(QWidget* parent, QSize growth);

}  // namespace Twips
