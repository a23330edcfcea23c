#include "PickGridView.h"

#include <QHeaderView>
#include <QKeyEvent>

#include "GridCellDelegate.h"
#include "Twips.h"

PickGridView::PickGridView(PickGrid grid, const PassPicks& picks, QWidget* parent)
    : QTableView(parent), m_model(grid, picks) {
    setModel(&m_model);
    setItemDelegate(new GridCellDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // A click on a cell at the edge must not scroll the grid under the mouse: the next click
    // would land on another LED.
    setAutoScroll(false);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(1);
    }
    applyCellSize();
    updatePickFont();
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            Q_EMIT cellPicked(index.row() + 1, index.column() + 1);
        }
    });
}

void PickGridView::setModuleSize(int width, int height) {
    m_model.setModuleSize(width, height);
}

void PickGridView::applyCellSize() {
    const double dpi = logicalDpiX();
    const int width = Twips::toPixels(kCellWidthTwips, dpi);
    const int height = Twips::toPixels(kCellHeightTwips, dpi);
    verticalHeader()->setDefaultSectionSize(height);
    horizontalHeader()->setFixedHeight(height);
    horizontalHeader()->setDefaultSectionSize(width);
    verticalHeader()->setFixedWidth(width);
}

void PickGridView::keyPressEvent(QKeyEvent* event) {
    const bool pickKey = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                         event->key() == Qt::Key_Enter;
    if (!pickKey) {
        QTableView::keyPressEvent(event);
        return;
    }
    const QModelIndex current = currentIndex();
    if (current.isValid() && !event->isAutoRepeat()) {
        Q_EMIT cellPicked(current.row() + 1, current.column() + 1);
    }
}

void PickGridView::updatePickFont() {
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.75);  // pick numbers inside a 280-twip cell
    m_model.setPickFont(small);
}

void PickGridView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updatePickFont();
    }
    QTableView::changeEvent(event);
}
