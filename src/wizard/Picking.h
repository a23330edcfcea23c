#pragma once

#include <QList>
#include <QPoint>

#include "Int16.h"
#include "WizardContext.h"

class StepAdvance;
class StepDisplay;
class FlexGrid;

// The clicks on the two pick grids.
//
// A row pick (HangGrid, row page): marks the cell (red, with the number of the pick; orange when
// the cell was picked before in this pass), lets pending window events run once,
// stores the pixel number at word 8 + DataBufferP, counts it, sends HangTest with the new
// count, and when the count reaches the scan count (word 3) advances to the column page within
// the same click. If the page changed while the events ran, the pick stores, counts and sends
// nothing. A second row pick clicked while the first lets events run is taken after the first,
// so picks are stored in the order clicked. Failures end the click silently: a port failure
// keeps the pick stored, counted and red, and skips the advance.
//
// A column pick (LieGrid, column page): marks the cell, stores at word 24 + DataBufferP, adds 8,
// sends LieTest with the new value. There is room for 128 column picks; a 129th changes
// nothing. A pixel number above 32767 changes nothing in either grid. A port failure keeps the
// pick and ends the click silently.
class Picking {
public:
    Picking(const WizardContext& context, StepDisplay& display, StepAdvance& advance)
        : m_x(context), m_display(display), m_advance(advance) {}

    void onHangGridClicked();
    void onLieGridClicked();

private:
    void pickRow(int row, int col);
    void storeRowPick(Int16 value);

    WizardContext m_x;
    StepDisplay& m_display;
    StepAdvance& m_advance;
    bool m_rowPickYielding = false;
    QList<QPoint> m_deferredRowPicks;  // x = column, y = row
};
