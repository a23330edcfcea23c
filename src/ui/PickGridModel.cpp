#include "ui/PickGridModel.h"

#include <QGuiApplication>
#include <QPalette>
#include <QStringList>

#include "session/PassPicks.h"

const QColor PickGridModel::kPicked = QColor(0xFF, 0x00, 0x00);
const QColor PickGridModel::kRepeated = QColor(0xFF, 0x8C, 0x00);
const QColor PickGridModel::kGuide = QColor(0xC0, 0xC0, 0xC0);
const QColor PickGridModel::kMarked = QColor(0x1E, 0x90, 0xFF);

namespace {

// The guide marks of a grid: every cell of the rows first, first + every, ... and of the
// columns likewise; every = 0 marks no row or no column.
struct GuideMarks {
    PickGrid grid;
    int firstRow;
    int everyRow;
    int firstCol;
    int everyCol;
};

const GuideMarks kGuideMarks[] = {
    {PickGrid::Rows, 1, 4, 0, 0},
    {PickGrid::Columns, 4, 4, 1, 8},
};

bool onLine(int index, int first, int every) {
    return every > 0 && index >= first && (index - first) % every == 0;
}

QString numbersText(const QList<int>& numbers) {
    if (numbers.size() <= 2) {
        QStringList parts;
        for (int n : numbers) {
            parts << QString::number(n);
        }
        return parts.join(QLatin1Char(','));
    }
    return QString::number(numbers.first()) + QChar(0x2026) + QString::number(numbers.last());
}

}  // namespace

PickGridModel::PickGridModel(PickGrid grid, const PassPicks& picks, QObject* parent)
    : QAbstractTableModel(parent), m_grid(grid), m_picks(picks) {}

void PickGridModel::setModuleSize(int width, int height) {
    beginResetModel();
    m_width = width;
    m_height = height;
    endResetModel();
}

void PickGridModel::picksChanged() {
    Q_EMIT dataChanged(index(0, 0), index(m_height - 1, m_width - 1));
}

bool PickGridModel::isGuide(int row, int col) const {
    const GuideMarks& marks =
        *std::find_if(std::begin(kGuideMarks), std::end(kGuideMarks),
                      [this](const GuideMarks& m) { return m.grid == m_grid; });
    return onLine(row, marks.firstRow, marks.everyRow) ||
           onLine(col, marks.firstCol, marks.everyCol);
}

void PickGridModel::setMarked(const QList<QPoint>& cells) {
    m_marked = cells;
    picksChanged();
}

QColor PickGridModel::background(int row, int col) const {
    if (m_marked.contains(QPoint(col, row))) {
        return kMarked;
    }
    const qsizetype picks = m_picks.picksAt(row, col).size();
    if (picks > 0) {
        return picks == 1 ? kPicked : kRepeated;
    }
    return isGuide(row, col) ? kGuide : QGuiApplication::palette().color(QPalette::Base);
}

int PickGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_height;
}

int PickGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_width;
}

QVariant PickGridModel::data(const QModelIndex& index, int role) const {
    const int row = index.row() + 1;
    const int col = index.column() + 1;
    switch (role) {
        case Qt::BackgroundRole:
            return background(row, col);
        case Qt::DisplayRole:
            return numbersText(m_picks.picksAt(row, col));
        case Qt::FontRole:
            return m_pickFont;
        case Qt::ForegroundRole: {
            // Light text on the red of a pick and the blue of a mark, dark text on lighter cells.
            const QColor back = background(row, col);
            return back == kPicked || back == kMarked ? QColor(Qt::white) : QColor(Qt::black);
        }
        default:
            return {};
    }
}

QVariant PickGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role == Qt::DisplayRole) {
        return QString::number(section + 1);
    }
    if (role == Qt::TextAlignmentRole) {
        return static_cast<int>(Qt::AlignCenter);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}
