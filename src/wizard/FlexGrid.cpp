#include "FlexGrid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <string>

#include "Errors.h"
#include "GridCellDelegate.h"
#include "Twips.h"

namespace {
constexpr int kDefaultColWidthTwips = 280;
}  // namespace

FlexGrid::FlexGrid(QWidget* parent) : QTableView(parent) {
    setModel(&m_model);
    setItemDelegate(new GridCellDelegate(this));
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setWordWrap(false);
    // A click on a cell at the edge must not scroll the grid under the mouse: the next click
    // would land on another LED.
    setAutoScroll(false);
    horizontalHeader()->setSectionsClickable(false);
    verticalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    m_colWidthTwips.fill(kDefaultColWidthTwips, cols());
    applyDefaultGeometry();
    updateDataFont();

    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (!index.isValid()) {
            return;
        }
        m_row = index.row() + 1;
        m_col = index.column() + 1;
        Q_EMIT dataCellClicked();
    });
}

int FlexGrid::toPixels(int twips) const {
    return Twips::toPixels(twips, logicalDpiX());
}

void FlexGrid::applyDefaultGeometry() {
    const int rowHeight = toPixels(kDefaultRowHeightTwips);
    verticalHeader()->setDefaultSectionSize(rowHeight);
    horizontalHeader()->setFixedHeight(rowHeight);
    horizontalHeader()->setDefaultSectionSize(toPixels(kDefaultColWidthTwips));
    verticalHeader()->setFixedWidth(toPixels(m_colWidthTwips.value(0, kDefaultColWidthTwips)));
}

void FlexGrid::setRows(int rows) {
    m_model.setGridRows(rows);
    m_row = std::min(m_row, rows - 1);
}

void FlexGrid::setCols(int cols) {
    m_model.setGridCols(cols);
    m_colWidthTwips.resize(cols, kDefaultColWidthTwips);
    m_col = std::min(m_col, cols - 1);
    for (int c = 1; c < cols; ++c) {
        horizontalHeader()->resizeSection(c - 1, toPixels(m_colWidthTwips[c]));
    }
}

void FlexGrid::setRow(int row) {
    if (row < 0 || row >= rows()) {
        throw RangeError("no grid row " + std::to_string(row));
    }
    m_row = row;
}

void FlexGrid::setCol(int col) {
    if (col < 0 || col >= cols()) {
        throw RangeError("no grid column " + std::to_string(col));
    }
    m_col = col;
}

int FlexGrid::colWidth(int col) const {
    if (col < 0 || col >= cols()) {
        throw RangeError("no grid column " + std::to_string(col));
    }
    return m_colWidthTwips[col];
}

void FlexGrid::setColWidth(int col, int twips) {
    if (col < 0 || col >= cols() || twips < 0) {
        throw RangeError("no grid column " + std::to_string(col));
    }
    m_colWidthTwips[col] = twips;
    if (col == 0) {
        verticalHeader()->setFixedWidth(toPixels(twips));
    } else {
        horizontalHeader()->resizeSection(col - 1, toPixels(twips));
    }
}

void FlexGrid::keyPressEvent(QKeyEvent* event) {
    const bool pickKey = event->key() == Qt::Key_Space || event->key() == Qt::Key_Return ||
                         event->key() == Qt::Key_Enter;
    const QModelIndex current = currentIndex();
    if (pickKey && current.isValid()) {
        m_row = current.row() + 1;
        m_col = current.column() + 1;
        Q_EMIT dataCellClicked();
        return;
    }
    QTableView::keyPressEvent(event);
}

void FlexGrid::updateDataFont() {
    QFont small = font();
    small.setPointSizeF(font().pointSizeF() * 0.75);  // pick numbers inside a 280-twip cell
    m_model.setDataFont(small);
}

void FlexGrid::changeEvent(QEvent* event) {
    if (event->type() == QEvent::FontChange) {
        updateDataFont();
    }
    QTableView::changeEvent(event);
}
