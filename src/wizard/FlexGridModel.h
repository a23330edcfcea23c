#pragma once

#include <QAbstractTableModel>
#include <QFont>
#include <QHash>
#include <QString>
#include <QVector>
#include <cstdint>

// The cells of a flexible grid with one fixed header row and one fixed header column.
//
// Grid coordinates are those the program speaks in: row 0 and column 0 are the headers, data
// cells have row 1..rows-1 and column 1..cols-1. The Qt model holds only the data cells (model
// row = grid row - 1) and gives the header texts as header data, so the headers stay in place
// when the view scrolls. Colours use the grid encoding: 0x00BBGGRR for a plain colour and
// 0x800000nn for system colour nn. A position outside the grid throws RangeError.
class FlexGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static constexpr std::uint32_t kWindowBackground = 0x80000005;
    static constexpr int kMaxCount = 32768;

    explicit FlexGridModel(QObject* parent = nullptr);

    int gridRows() const { return m_rows; }
    int gridCols() const { return m_cols; }
    // Resizes the grid, keeping the colours and texts of cells that stay. A count below 1
    // (only the header left) or above kMaxCount throws RangeError.
    void setGridRows(int rows);
    void setGridCols(int cols);

    QString text(int row, int col) const;
    void setText(int row, int col, const QString& text);
    std::uint32_t backColor(int row, int col) const;
    void setBackColor(int row, int col, std::uint32_t color);

    // Removes the text of every data cell; the headers keep theirs.
    void clearDataTexts();
    // The font of the data cells' texts (the headers use the view's font).
    void setDataFont(const QFont& font) { m_dataFont = font; }

    // Turns a grid colour into what the screen shows.
    static QColor toQColor(std::uint32_t color);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    void checkCell(int row, int col) const;
    void resize(int rows, int cols);
    void scheduleFlush(int row, int col);
    void flush();

    int m_rows = 1;  // the constructor makes it a 2 x 2 grid
    int m_cols = 1;
    QVector<std::uint32_t> m_colors;  // data cells, row by row: (row-1) * (cols-1) + col-1
    QVector<QString> m_rowHeaders;    // column 0 of every row
    QVector<QString> m_colHeaders;    // row 0 of every column
    QHash<qint64, QString> m_texts;   // data cells that hold a text
    QFont m_dataFont;
    // Painting many cells in a row sends one change notice, not one per cell.
    bool m_flushPending = false;
    int m_dirtyTop = 0, m_dirtyLeft = 0, m_dirtyBottom = -1, m_dirtyRight = -1;
};
