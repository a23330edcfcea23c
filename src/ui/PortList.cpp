#include "ui/PortList.h"

PortList::PortList(const PortNames& names, QWidget* parent) : QComboBox(parent), m_names(names) {
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    for (int n = 1; n <= kPorts; ++n) {
        addItem(QStringLiteral("COM%1").arg(n));
    }
    connect(this, &QComboBox::activated, this, &PortList::choose);
}

void PortList::choose(int index) {
    if (index < 0 || index >= count()) {
        return;
    }
    if (currentIndex() != index) {
        setCurrentIndex(index);
    }
    const QString device = m_names.deviceName(index + 1);
    setToolTip(PortNames::toolTip(device));
    Q_EMIT portChosen(itemText(index), device);
}

void PortList::refreshToolTips() {
    for (int i = 0; i < count(); ++i) {
        setItemData(i, PortNames::toolTip(m_names.deviceName(i + 1)), Qt::ToolTipRole);
    }
}

void PortList::showPopup() {
    refreshToolTips();
    QComboBox::showPopup();
}
