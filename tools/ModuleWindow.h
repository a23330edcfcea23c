#pragma once

#include <QWidget>

#include "ModuleSnapshot.h"

class QLabel;

// The virtual module in a window of its own: one round dot an LED, bright red when lit and dark
// grey when not, on black, scaled to fit the window whatever its size; under the dots, the
// module's state line. Draws nothing but the state before the first CellTest.
class ModuleWindow : public QWidget {
    Q_OBJECT

public:
    explicit ModuleWindow(QWidget* parent = nullptr);

    // Draws this module from now on.
    void showModule(const ModuleSnapshot& module);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRectF dotsArea() const;

    ModuleSnapshot m_module;
    QLabel* m_stateLabel = nullptr;
};
