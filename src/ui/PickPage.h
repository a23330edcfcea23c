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
    // The object name the page goes by in the window ("HangFrame", "LieFrame").
    const char* frameName() const { return m_frameName; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    const char* m_frameName;
    PickGridView* m_grid = nullptr;
};
