#include "UndoPick.h"

#include "Errors.h"
#include "FlexGrid.h"
#include "GridLayout.h"
#include "Link.h"
#include "Messages.h"
#include "Notifier.h"
#include "OEControls.h"
#include "Packets.h"
#include "PickValue.h"
#include "WindowState.h"

namespace {

// Makes the pick's cell current (row, then column) and gives it its unpicked colour.
void repaint(FlexGrid& grid, const PickValue::Cell& cell, bool guide) {
    grid.setRow(cell.row.value());
    grid.setCol(cell.col.value());
    grid.setCellBackColor(guide ? GridLayout::kGuide : GridLayout::kPlain);
}

}  // namespace

void UndoPick::onUndoClicked() {
    const Int16 step = m_x.state.StepNum;
    if (m_x.state.DataBufferP == 0 || (step != 4 && step != 5) ||
        m_x.state.dataBuffer.at(0) == 0) {
        return;
    }
    m_x.state.picksUnsaved = true;
    try {
        if (step == 4) {
            undoRowPick();
        } else {
            undoColumnPick();
        }
    } catch (const PortError&) {
        m_x.notifier.showMessage(QString::fromUtf8(Messages::kPortBusy));
    } catch (const std::exception&) {
        // A stored pick outside the grid cannot be repainted; the counter has moved back.
    }
}

void UndoPick::undoRowPick() {
    m_x.state.DataBufferP -= 1;
    m_x.state.rowPicksMade = m_x.state.DataBufferP;
    const Int16 value = m_x.state.dataBuffer.at(m_x.state.DataBufferP + 8);
    const PickValue::Cell cell = PickValue::decode(value, m_x.state.dataBuffer.at(0));
    repaint(*m_x.c.HangGrid, cell, GridLayout::isRowGuide(cell.row.value()));
    m_x.link.sendPacket(Packets::hangTest(m_x.state.DataBufferP.value()));
}

void UndoPick::undoColumnPick() {
    m_x.state.DataBufferP -= 8;
    const Int16 value = m_x.state.dataBuffer.at(m_x.state.DataBufferP + 24);
    const PickValue::Cell cell = PickValue::decode(value, m_x.state.dataBuffer.at(0));
    repaint(*m_x.c.LieGrid, cell,
            GridLayout::isColumnGridGuide(cell.row.value(), cell.col.value()));
    m_x.link.sendPacket(Packets::lieTest(m_x.state.DataBufferP.value()));
}
