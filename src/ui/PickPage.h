#pragma once

#include <QGroupBox>

#include "session/Page.h"

class PassPicks;
class PickGridView;

// A pick page ("第3步 行选择" or "第4步 列选择"): the grid in which the user clicks the LED that
// lights, below the page's caption. The grid grows with the page.
class PickPage : public QGroupBox {
    Q_OBJECT
public:
    PickPage(PickGrid grid, const PassPicks& picks, QWidget* parent);

    PickGridView* grid() const { return m_grid; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    PickGridView* m_grid = nullptr;
};
