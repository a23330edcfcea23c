#include "ui/Twips.h"

void Twips::layOut(QWidget* parent, QSize growth) {
    growth = growth.expandedTo(QSize(0, 0));
    const double dpi = parent->logicalDpiX();
    for (QWidget* child : parent->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        const QRect twips = geometry(child);
        if (twips.isNull()) {
            continue;
        }
        QRect pixels = toPixels(twips, dpi);
        switch (static_cast<Follow>(child->property(kFollowProperty).toInt())) {
            case Follow::Stays:
                break;
            case Follow::Bottom:
                pixels.translate(0, growth.height());
                break;
            case Follow::Grows:
                pixels.setSize(pixels.size() + growth);
                break;
        }
        child->setGeometry(pixels);
    }
}
