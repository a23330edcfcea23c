#include "ui/ParameterPage.h"

#include "ui/Controls.h"

using namespace Controls;

ParameterPage::ParameterPage(QWidget* parent) : QGroupBox(tr("单元板参数"), parent) {
    label(this, "Label1", tr("宽度"), 480, 495, 735, 255);
    m_width = textBox(this, "LedWidth", QStringLiteral("64"), 1320, 480, 735, 270);
    label(this, "Label2", tr("高度"), 480, 975, 735, 255);
    m_height = textBox(this, "LedHeigh", QStringLiteral("32"), 1320, 960, 735, 270);
    label(this, "Label3", tr("颜色"), 480, 1440, 735, 255);
    m_colour = listBox(this, "LedColor", {tr("单色"), tr("双色")}, 1320, 1440, 735, 300);
    label(this, "Label4", tr("扫描周期"), 480, 1920, 735, 255);
    const QStringList scans = {QStringLiteral("16"), QStringLiteral("8"), QStringLiteral("4"),
                               QStringLiteral("1")};
    m_scan = listBox(this, "LedScan", scans, 1320, 1920, 735, 300);
    label(this, "Label5", tr("红绿数量"), 480, 2400, 735, 255);
    const QStringList counts = {QStringLiteral("1"), QStringLiteral("2"), QStringLiteral("3"),
                                QStringLiteral("4")};
    m_redGreen = listBox(this, "LedInNum", counts, 1320, 2400, 735, 300);
}

void ParameterPage::selectDefaults() {
    m_colour->setCurrentIndex(0);
    m_scan->setCurrentIndex(0);
    m_redGreen->setCurrentIndex(1);
}

ParameterInput ParameterPage::input() const {
    return {m_width->text(), m_height->text(), chosenEntry(m_colour), m_scan->currentText(),
            chosenEntry(m_redGreen)};
}
