#include "UndoPick.h"

#include "Errors.h"
#include "Link.h"
#include "Messages.h"
#include "Notifier.h"
#include "OEControls.h"
#include "Packets.h"
#include "PickCount.h"
#include "PickMarks.h"
#include "PickValue.h"
#include "WindowState.h"

void UndoPick::onUndoClicked() {
    const Int16 step = m_x.state.StepNum;
    if (m_x.state.DataBufferP == 0 || (step != 4 && step != 5) || m_x.state.dataBuffer.at(0) == 0) {
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
    m_x.rowMarks.undo(cell.row.value(), cell.col.value());
    PickCount::show(m_x);
    m_x.link.sendPacket(Packets::hangTest(m_x.state.DataBufferP.value()));
}

void UndoPick::undoColumnPick() {
    m_x.state.DataBufferP -= 8;
    const Int16 value = m_x.state.dataBuffer.at(m_x.state.DataBufferP + 24);
    const PickValue::Cell cell = PickValue::decode(value, m_x.state.dataBuffer.at(0));
    m_x.columnMarks.undo(cell.row.value(), cell.col.value());
    PickCount::show(m_x);
    m_x.link.sendPacket(Packets::lieTest(m_x.state.DataBufferP.value()));
}
