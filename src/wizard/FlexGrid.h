#pragma once

#include <QTableView>
#include <cstdint>

#include "FlexGridModel.h"

// A flexible grid: Rows and Cols, one fixed header row and one fixed header column, a current
// cell (Row, Col), cell texts, column widths in twips and the background colour of the current
// cell. Rows and columns count from 0 with the headers at 0. A click on a data cell makes it
// the current cell and then emits dataCellClicked(); a click on a header does neither.
// Space or Return on the focused grid counts as a click on the current data cell.
class FlexGrid : public QTableView {
    Q_OBJECT
public:
    static constexpr int kDefaultRowHeightTwips = 240;

    explicit FlexGrid(QWidget* parent = nullptr);

    int rows() const { return m_model.gridRows(); }
    void setRows(int rows);
    int cols() const { return m_model.gridCols(); }
    void setCols(int cols);
    int fixedRows() const { return 1; }
    int fixedCols() const { return 1; }

    int row() const { return m_row; }
    void setRow(int row);
    int col() const { return m_col; }
    void setCol(int col);

    QString textMatrix(int row, int col) const { return m_model.text(row, col); }
    void setTextMatrix(int row, int col, const QString& text) { m_model.setText(row, col, text); }
    // Removes the text of every data cell; the headers keep theirs.
    void clearDataTexts() { m_model.clearDataTexts(); }

    int colWidth(int col) const;
    void setColWidth(int col, int twips);

    std::uint32_t cellBackColor() const { return m_model.backColor(m_row, m_col); }
    void setCellBackColor(std::uint32_t color) { m_model.setBackColor(m_row, m_col, color); }
    // The colour of any cell, without moving the current cell.
    std::uint32_t colorAt(int row, int col) const { return m_model.backColor(row, col); }

    const FlexGridModel& gridModel() const { return m_model; }

Q_SIGNALS:
    void dataCellClicked();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int toPixels(int twips) const;
    void updateDataFont();
    void applyDefaultGeometry();

    FlexGridModel m_model;
    int m_row = 1;
    int m_col = 1;
    QVector<int> m_colWidthTwips;
};
