#pragma once

#include <QComboBox>

#include "link/PortNames.h"

// The serial port list "COM1".."COM12". Each entry's tooltip names the device it stands for,
// looked up again whenever the list is opened. Choosing an entry (again, too) names the port
// and the device it stands for at that moment: nothing moves a chosen port to another device
// afterwards.
class PortList : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kPorts = 12;

    PortList(const PortNames& names, QWidget* parent);

    // Chooses entry index as the user does.
    void choose(int index);
    // Gives every entry the tooltip of the device it stands for now.
    void refreshToolTips();
    // Opens the list, its tooltips refreshed first.
    void showPopup() override;

Q_SIGNALS:
    void portChosen(const QString& label, const QString& device);

private:
    const PortNames& m_names;
};
