#include "ui/PickGridView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>

#include "ui/GridCellDelegate.h"
#include "ui/Twips.h"

namespace {

constexpr int kWheelNotch = 120;         // eighths of a degree in one notch of a mouse wheel
constexpr double kPickFontShare = 0.75;  // pick numbers inside a 280-twip cell

}  // namespace

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
    // Scrolling by pixels lets a zoom keep the cell under the mouse exactly where it was.
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
    for (QHeaderView* header : {horizontalHeader(), verticalHeader()}) {
        header->setSectionsClickable(false);
        header->setSectionResizeMode(QHeaderView::Fixed);
        header->setMinimumSectionSize(1);
    }
    applyCellSize();
    updateFonts();
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid()) {
            Q_EMIT cellPicked(index.row() + 1, index.column() + 1);
        }
    });
}

void PickGridView::setModuleSize(int width, int height) {
    m_model.setModuleSize(width, height);
}

QSize PickGridView::cellSize() const {
    const double dpi = logicalDpiX();
    const int percent = zoomPercent();
    return {Twips::toPixels(kCellWidthTwips * percent / 100, dpi),
            Twips::toPixels(kCellHeightTwips * percent / 100, dpi)};
}

void PickGridView::applyCellSize() {
    const QSize cell = cellSize();
    verticalHeader()->setDefaultSectionSize(cell.height());
    horizontalHeader()->setFixedHeight(cell.height());
    horizontalHeader()->setDefaultSectionSize(cell.width());
    verticalHeader()->setFixedWidth(cell.width());
}

void PickGridView::zoomBy(int steps, QPoint anchor) {
    const int last = static_cast<int>(kZoomPercents.size()) - 1;
    const auto step =
        static_cast<std::size_t>(std::clamp(static_cast<int>(m_zoomStep) + steps, 0, last));
    if (step == m_zoomStep) {
        return;
    }
    // Where the anchor points, counted in cells from the first cell's top-left corner.
    const QSize before = cellSize();
    const QPoint inViewport = anchor - viewport()->pos();
    const double column =
        (horizontalScrollBar()->value() + inViewport.x()) / static_cast<double>(before.width());
    const double row =
        (verticalScrollBar()->value() + inViewport.y()) / static_cast<double>(before.height());
    m_zoomStep = step;
    applyCellSize();
    updateFonts();
    updateGeometries();  // the headers' new sizes move the viewport and set the scroll ranges
    const QSize after = cellSize();
    const QPoint moved = anchor - viewport()->pos();
    horizontalScrollBar()->setValue(static_cast<int>(std::lround(column * after.width())) -
                                    moved.x());
    verticalScrollBar()->setValue(static_cast<int>(std::lround(row * after.height())) - moved.y());
}

void PickGridView::wheelEvent(QWheelEvent* event) {
    if (!(event->modifiers() & Qt::ControlModifier)) {
        QTableView::wheelEvent(event);
        return;
    }
    event->accept();
    m_wheelAngle += event->angleDelta().y();
    const int steps = m_wheelAngle / kWheelNotch;
    m_wheelAngle %= kWheelNotch;
    if (steps != 0) {
        Q_EMIT zoomWheeled(steps, viewport()->mapTo(this, event->position().toPoint()));
    }
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

// The pick numbers and the header numbers grow and shrink with the cells.
void PickGridView::updateFonts() {
    const double zoom = zoomPercent() / 100.0;
    QFont pickFont = font();
    pickFont.setPointSizeF(font().pointSizeF() * kPickFontShare * zoom);
    m_model.setPickFont(pickFont);
    QFont headerFont = font();
    headerFont.setPointSizeF(font().pointSizeF() * zoom);
    horizontalHeader()->setFont(headerFont);
    verticalHeader()->setFont(headerFont);
}

void PickGridView::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateFonts();
    }
    QTableView::changeEvent(event);
}
