#pragma once

#include <QGroupBox>
#include <array>

#include "link/ScreenAddress.h"

class QLabel;
class QLineEdit;
class QPushButton;

// The group "设置屏号" beside the parameters: the screen number box, the four IP address boxes
// (first octet first), the buttons that write and read them, and the status line in which the
// address commands and the download report.
class AddressPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit AddressPanel(QWidget* parent);

    QString screenText() const;
    std::array<QString, 4> ipTexts() const;
    // The values the controller reported, as decimal text.
    void showAddress(const ScreenAddress& address);
    void showStatus(const QString& caption);
    void hideStatus();

    QLineEdit* screenNumberEdit() const { return m_screenNumber; }
    const std::array<QLineEdit*, 4>& ipEdits() const { return m_ip; }
    QPushButton* setAddressButton() const { return m_set; }
    QPushButton* readAddressButton() const { return m_read; }
    QLabel* statusLabel() const { return m_status; }

private:
    QLineEdit* m_screenNumber = nullptr;
    std::array<QLineEdit*, 4> m_ip{};
    QPushButton* m_set = nullptr;
    QPushButton* m_read = nullptr;
    QLabel* m_status = nullptr;
};
