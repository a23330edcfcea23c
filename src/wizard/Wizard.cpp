#include "Wizard.h"

#include <QPushButton>

#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "OEControls.h"

Wizard::Wizard(const OEControls& controls, WindowState& state, FrameStack& frames, Link& link,
               Notifier& notifier)
    : m_rowMarks(*controls.HangGrid, PickMarks::Guides::Rows),
      m_columnMarks(*controls.LieGrid, PickMarks::Guides::Columns),
      m_x{controls, state, frames, link, notifier, m_rowMarks, m_columnMarks},
      m_display(m_x),
      m_advance(m_x, m_display),
      m_blink(m_x),
      m_picking(m_x, m_display, m_advance),
      m_undo(m_x) {
    const OEControls& c = m_x.c;
    QObject::connect(c.Pre, &QPushButton::clicked, [this] { m_display.onPreClicked(); });
    QObject::connect(c.NextB, &QPushButton::clicked, [this] { m_advance.onNextBClicked(); });
    QObject::connect(c.OeTimer, &IntervalTimer::tick, [this] { m_blink.onOeTimerTick(); });
    QObject::connect(c.DisTimer, &IntervalTimer::tick, [this] { m_blink.onDisTimerTick(); });
    QObject::connect(c.HangGrid, &FlexGrid::dataCellClicked,
                     [this] { m_picking.onHangGridClicked(); });
    QObject::connect(c.LieGrid, &FlexGrid::dataCellClicked,
                     [this] { m_picking.onLieGridClicked(); });
    QObject::connect(c.Undo, &QPushButton::clicked, [this] { m_undo.onUndoClicked(); });
}
