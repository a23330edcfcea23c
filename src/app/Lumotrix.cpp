#include "Lumotrix.h"

#include <QComboBox>
#include <QPushButton>

#include "Messages.h"
#include "Notifier.h"
#include "PortNames.h"

Lumotrix::Lumotrix(const Seams& seams)
    : m_notifier(seams.notifier),
      m_link(seams.port, seams.resolvePortName),
      m_window(m_link),
      m_wizard(m_window.controls(), m_window.state(), m_window.frames(), m_link, m_notifier),
      m_mapFiles(m_window.state(), seams.dialogs, m_notifier,
                 [this] { m_window.controls().DownLoad->setEnabled(true); }),
      m_commands(m_window, m_link, m_notifier) {
    m_window.setCloseGuard([this] {
        return !m_window.state().picksUnsaved ||
               m_notifier.askToDiscard(QString::fromUtf8(Messages::kDiscardPicks));
    });
    const OEControls& c = m_window.controls();
    QObject::connect(c.Complete, &QPushButton::clicked, [this] { m_mapFiles.onCompleteClicked(); });
    QObject::connect(c.Open, &QPushButton::clicked, [this] { m_mapFiles.onOpenClicked(); });
    QObject::connect(c.Command1, &QPushButton::clicked, [this] { m_commands.onCommand1Clicked(); });
    QObject::connect(c.Command2, &QPushButton::clicked, [this] { m_commands.onCommand2Clicked(); });
    QObject::connect(c.DownLoad, &QPushButton::clicked, [this] { m_commands.onDownLoadClicked(); });
}

void Lumotrix::showPortDevices(const PortNames& names) {
    QComboBox* list = m_window.controls().Combo1;
    for (int i = 0; i < list->count(); ++i) {
        list->setItemData(i, names.toolTip(i + 1), Qt::ToolTipRole);
    }
    auto showChosen = [list] {
        list->setToolTip(list->itemData(list->currentIndex(), Qt::ToolTipRole).toString());
    };
    QObject::connect(list, &QComboBox::currentIndexChanged, list, showChosen);
    showChosen();
}
