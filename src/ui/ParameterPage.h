#pragma once

#include <QGroupBox>

#include "session/ModuleParameters.h"

class QComboBox;
class QLineEdit;

// The first page's group "单元板参数": the module's width and height in LEDs, its colour, scan
// count and red-green count. The list boxes also take typed text.
class ParameterPage : public QGroupBox {
    Q_OBJECT
public:
    explicit ParameterPage(QWidget* parent);

    // What the page holds now; a typed list text counts as the entry it equals.
    ParameterInput input() const;
    // The defaults: width 64, height 32, "单色", scan 16, red-green 2.
    void selectDefaults();

    QLineEdit* widthEdit() const { return m_width; }
    QLineEdit* heightEdit() const { return m_height; }
    QComboBox* colourBox() const { return m_colour; }
    QComboBox* scanBox() const { return m_scan; }
    QComboBox* redGreenBox() const { return m_redGreen; }

private:
    QLineEdit* m_width = nullptr;
    QLineEdit* m_height = nullptr;
    QComboBox* m_colour = nullptr;
    QComboBox* m_scan = nullptr;
    QComboBox* m_redGreen = nullptr;
};
