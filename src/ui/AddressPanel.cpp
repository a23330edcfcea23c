#include "ui/AddressPanel.h"

#include "ui/Controls.h"
#include "ui/UiFonts.h"

using namespace Controls;

AddressPanel::AddressPanel(QWidget* parent) : QGroupBox(tr("设置屏号"), parent) {
    label(this, "Label11", tr("屏号"), 360, 480, 735, 255);
    m_screenNumber = textBox(this, "Text2", QStringLiteral("0"), 1200, 480, 375, 270);
    label(this, "Label7", tr("IP地址"), 360, 840, 735, 255);
    m_ip[0] = textBox(this, "Text1", QStringLiteral("192"), 1200, 840, 375, 270);
    QLabel* dots[] = {label(this, "Label8", QStringLiteral("."), 1560, 840, 135, 495), nullptr,
                      nullptr};
    m_ip[1] = textBox(this, "Text3", QStringLiteral("168"), 1680, 840, 375, 270);
    dots[1] = label(this, "Label9", QStringLiteral("."), 2040, 840, 135, 495);
    m_ip[2] = textBox(this, "Text4", QStringLiteral("0"), 2160, 840, 375, 270);
    dots[2] = label(this, "Label10", QStringLiteral("."), 2520, 840, 135, 495);
    m_ip[3] = textBox(this, "Text5", QStringLiteral("100"), 2640, 840, 375, 270);
    m_set = button(this, "Command1", tr("设置"), 1200, 1440, 615, 375);
    m_read = button(this, "Command2", tr("读出"), 1920, 1440, 615, 375);
    m_status = label(this, "Label6", QString(), 480, 2400, 1695, 375);
    m_status->setVisible(false);
    for (QLabel* dot : dots) {
        dot->setFont(UiFonts::simSun(15.75));
        dot->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    }
}

QString AddressPanel::screenText() const {
    return m_screenNumber->text();
}

std::array<QString, 4> AddressPanel::ipTexts() const {
    return {m_ip[0]->text(), m_ip[1]->text(), m_ip[2]->text(), m_ip[3]->text()};
}

void AddressPanel::showAddress(const ScreenAddress& address) {
    m_screenNumber->setText(QString::number(address.screen));
    for (std::size_t i = 0; i < m_ip.size(); ++i) {
        m_ip[i]->setText(QString::number(address.ip[i]));
    }
}

void AddressPanel::showStatus(const QString& caption) {
    m_status->setText(caption);
    m_status->setVisible(true);
}

void AddressPanel::hideStatus() {
    m_status->setVisible(false);
}
