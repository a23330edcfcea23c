#pragma once

#include <QAbstractTableModel>
#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>

#include "session/Page.h"

class PassPicks;

// The cells of a pick grid: one per LED of the module, row r and column c (from 1) standing for
// the LED in pixel row r - 1 and pixel column c - 1. The header row and column number them. A
// cell shows the picks made on it in the current pass: red with its pick number, or orange with
// its numbers when picked more than once ("3,7"; with more, the first and last: "3…9"). Other
// cells show the guide marks that help the user count: in the row grid every cell of rows 1, 5,
// 9, ...; in the column grid every cell of columns 1, 9, 17, ... and of rows 4, 8, 12, ...
// Cells the camera asks the user to look at are marked blue, over any other colour.
class PickGridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    static const QColor kPicked;
    static const QColor kRepeated;
    static const QColor kGuide;
    static const QColor kMarked;

    PickGridModel(PickGrid grid, const PassPicks& picks, QObject* parent = nullptr);

    // The module the grid stands for.
    void setModuleSize(int width, int height);
    // The picks changed: every cell is drawn again.
    void picksChanged();
    void setPickFont(const QFont& font) { m_pickFont = font; }
    // The cells to mark (x the column, y the row, from 1); none to clear.
    void setMarked(const QList<QPoint>& cells);
    bool isGuide(int row, int col) const;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    QColor background(int row, int col) const;

    PickGrid m_grid;
    const PassPicks& m_picks;
    int m_width = 1;
    int m_height = 1;
    QFont m_pickFont;
    QList<QPoint> m_marked;
};
