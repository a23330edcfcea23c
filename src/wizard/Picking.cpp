#include "Picking.h"

#include <QCoreApplication>

#include "Errors.h"
#include "FlexGrid.h"
#include "Link.h"
#include "OEControls.h"
#include "Packets.h"
#include "PickCount.h"
#include "PickMarks.h"
#include "PickValue.h"
#include "StepAdvance.h"
#include "StepDisplay.h"
#include "WindowState.h"

namespace {
constexpr int kRowPage = 4;
constexpr int kRowPicksAt = 8;
constexpr int kColumnPicksAt = 24;
constexpr int kColumnPickStride = 8;

}  // namespace

void Picking::onHangGridClicked() {
    const FlexGrid& grid = *m_x.c.HangGrid;
    if (m_rowPickYielding) {
        m_deferredRowPicks.append(QPoint(grid.col(), grid.row()));
        return;
    }
    pickRow(grid.row(), grid.col());
    while (!m_deferredRowPicks.isEmpty()) {
        const QPoint cell = m_deferredRowPicks.takeFirst();
        pickRow(cell.y(), cell.x());
    }
}

void Picking::pickRow(int row, int col) {
    try {
        if (m_x.state.StepNum != kRowPage) {
            return;  // a deferred pick whose page has gone
        }
        const Int16 value = PickValue::encode(row, col, m_x.state.dataBuffer.at(0));
        m_x.rowMarks.add(row, col);
        const unsigned pagesBefore = m_display.pagesShown();
        m_rowPickYielding = true;
        QCoreApplication::processEvents();
        m_rowPickYielding = false;
        if (m_x.state.StepNum != kRowPage || m_display.pagesShown() != pagesBefore) {
            return;
        }
        storeRowPick(value);
    } catch (const std::exception&) {
        m_rowPickYielding = false;  // the row pick ends silently, keeping what it did
    }
}

void Picking::storeRowPick(Int16 value) {
    m_x.state.dataBuffer.set(m_x.state.DataBufferP + kRowPicksAt, value);
    m_x.state.DataBufferP += 1;
    m_x.state.rowPicksMade = m_x.state.DataBufferP;
    m_x.state.picksUnsaved = true;
    PickCount::show(m_x);
    m_x.link.sendPacket(Packets::hangTest(m_x.state.DataBufferP.value()));
    if (m_x.state.DataBufferP == m_x.state.dataBuffer.at(3)) {
        m_advance.onNextBClicked();
    }
}

void Picking::onLieGridClicked() {
    const FlexGrid& grid = *m_x.c.LieGrid;
    const int row = grid.row();
    const int col = grid.col();
    try {
        const Int16 value = PickValue::encode(row, col, m_x.state.dataBuffer.at(0));
        const Int16 slot = m_x.state.DataBufferP + kColumnPicksAt;
        if (slot.value() >= DataBuffer::kSize) {
            return;  // no room for another column pick
        }
        m_x.columnMarks.add(row, col);
        m_x.state.dataBuffer.set(slot, value);
        m_x.state.DataBufferP += kColumnPickStride;
        m_x.state.picksUnsaved = true;
        PickCount::show(m_x);
        m_x.link.sendPacket(Packets::lieTest(m_x.state.DataBufferP.value()));
    } catch (const std::exception&) {
        // Ends silently like the row pick: what was stored and painted stays.
    }
}
