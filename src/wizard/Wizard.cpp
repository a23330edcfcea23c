#include "Wizard.h"

#include <QPushButton>

#include "FlexGrid.h"
#include "IntervalTimer.h"
#include "OEControls.h"

Wizard::Wizard(const WizardContext& context)
    : m_x(context),
      m_display(context),
      m_advance(context, m_display),
      m_blink(context),
      m_picking(context, m_display, m_advance),
      m_undo(context) {
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
