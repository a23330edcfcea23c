#include "FlexGridModel.h"

#include <QColor>
#include <QGuiApplication>
#include <QMetaObject>
#include <QPalette>
#include <string>

#include "Errors.h"

FlexGridModel::FlexGridModel(QObject* parent) : QAbstractTableModel(parent) {
    resize(2, 2);
}

void FlexGridModel::setGridRows(int rows) {
    if (rows < 1 || rows > kMaxCount) {
        throw RangeError("grid refuses " + std::to_string(rows) + " rows");
    }
    resize(rows, m_cols);
}

void FlexGridModel::setGridCols(int cols) {
    if (cols < 1 || cols > kMaxCount) {
        throw RangeError("grid refuses " + std::to_string(cols) + " columns");
    }
    resize(m_rows, cols);
}

void FlexGridModel::resize(int rows, int cols) {
    const int oldDataCols = m_cols - 1;
    const int newDataCols = cols - 1;
    QVector<std::uint32_t> colors(static_cast<qsizetype>(rows - 1) * newDataCols,
                                  kWindowBackground);
    for (int r = 0; r < std::min(rows, m_rows) - 1; ++r) {
        for (int c = 0; c < std::min(newDataCols, oldDataCols); ++c) {
            colors[r * newDataCols + c] = m_colors[r * oldDataCols + c];
        }
    }
    QHash<qint64, QString> texts;
    for (auto it = m_texts.cbegin(); it != m_texts.cend(); ++it) {
        const int r = static_cast<int>(it.key() >> 32);
        const int c = static_cast<int>(it.key() & 0xFFFFFFFF);
        if (r < rows && c < cols) {
            texts.insert(it.key(), it.value());
        }
    }
    beginResetModel();
    m_rows = rows;
    m_cols = cols;
    m_colors = std::move(colors);
    m_texts = std::move(texts);
    m_rowHeaders.resize(rows);
    m_colHeaders.resize(cols);
    m_dirtyBottom = m_dirtyRight = -1;
    endResetModel();
}

void FlexGridModel::checkCell(int row, int col) const {
    if (row < 0 || row >= m_rows || col < 0 || col >= m_cols) {
        throw RangeError("no grid cell at row " + std::to_string(row) + ", column " +
                         std::to_string(col));
    }
}

QString FlexGridModel::text(int row, int col) const {
    checkCell(row, col);
    if (col == 0) {
        return m_rowHeaders[row];
    }
    if (row == 0) {
        return m_colHeaders[col];
    }
    return m_texts.value((static_cast<qint64>(row) << 32) | col);
}

void FlexGridModel::setText(int row, int col, const QString& text) {
    checkCell(row, col);
    if (col == 0) {
        m_rowHeaders[row] = text;
        if (row > 0) {
            Q_EMIT headerDataChanged(Qt::Vertical, row - 1, row - 1);
        }
        return;
    }
    if (row == 0) {
        m_colHeaders[col] = text;
        Q_EMIT headerDataChanged(Qt::Horizontal, col - 1, col - 1);
        return;
    }
    const qint64 key = (static_cast<qint64>(row) << 32) | col;
    if (text.isEmpty()) {
        m_texts.remove(key);
    } else {
        m_texts.insert(key, text);
    }
    scheduleFlush(row, col);
}

void FlexGridModel::clearDataTexts() {
    if (m_texts.isEmpty()) {
        return;
    }
    m_texts.clear();
    Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1), {Qt::DisplayRole});
}

std::uint32_t FlexGridModel::backColor(int row, int col) const {
    checkCell(row, col);
    if (row == 0 || col == 0) {
        return kWindowBackground;
    }
    return m_colors[(row - 1) * (m_cols - 1) + (col - 1)];
}

void FlexGridModel::setBackColor(int row, int col, std::uint32_t color) {
    checkCell(row, col);
    if (row == 0 || col == 0) {
        return;  // the headers keep the header look
    }
    m_colors[(row - 1) * (m_cols - 1) + (col - 1)] = color;
    scheduleFlush(row, col);
}

QColor FlexGridModel::toQColor(std::uint32_t color) {
    if (color == kWindowBackground) {
        return QGuiApplication::palette().color(QPalette::Base);
    }
    if ((color & 0xFF000000u) != 0) {
        return QGuiApplication::palette().color(QPalette::Window);
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

void FlexGridModel::scheduleFlush(int row, int col) {
    if (m_dirtyBottom < 0) {
        m_dirtyTop = m_dirtyBottom = row;
        m_dirtyLeft = m_dirtyRight = col;
    } else {
        m_dirtyTop = std::min(m_dirtyTop, row);
        m_dirtyBottom = std::max(m_dirtyBottom, row);
        m_dirtyLeft = std::min(m_dirtyLeft, col);
        m_dirtyRight = std::max(m_dirtyRight, col);
    }
    if (!m_flushPending) {
        m_flushPending = true;
        QMetaObject::invokeMethod(this, &FlexGridModel::flush, Qt::QueuedConnection);
    }
}

void FlexGridModel::flush() {
    m_flushPending = false;
    if (m_dirtyBottom < 0) {
        return;
    }
    const QModelIndex topLeft = index(m_dirtyTop - 1, m_dirtyLeft - 1);
    const QModelIndex bottomRight = index(m_dirtyBottom - 1, m_dirtyRight - 1);
    m_dirtyBottom = m_dirtyRight = -1;
    Q_EMIT dataChanged(topLeft, bottomRight, {Qt::BackgroundRole, Qt::DisplayRole});
}

int FlexGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows - 1;
}

int FlexGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_cols - 1;
}

QVariant FlexGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) {
        return {};
    }
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    if (role == Qt::BackgroundRole) {
        return toQColor(backColor(row, col));
    }
    if (role == Qt::DisplayRole) {
        return text(row, col);
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignCenter);
    }
    if (role == Qt::FontRole) {
        return m_dataFont;
    }
    if (role == Qt::ForegroundRole) {
        // Dark text on light cells, light text on dark ones such as the red of a pick.
        const QColor back = toQColor(backColor(row, col));
        const double luminance = 0.299 * back.red() + 0.587 * back.green() + 0.114 * back.blue();
        return luminance < 128 ? QColor(Qt::white) : QColor(Qt::black);
    }
    return {};
}

QVariant FlexGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole) {
        return orientation == Qt::Horizontal ? m_colHeaders.value(section + 1)
                                             : m_rowHeaders.value(section + 1);
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
