#pragma once

#include <QWidget>
#include <functional>

#include "FrameStack.h"
#include "OEControls.h"
#include "WindowState.h"

class Link;

// The one window: it creates every control at its place, holds the state of a mapping run and
// runs start-up. What the buttons, grids and timers do lives with the subsystems, which the
// program wires to controls(); the window itself handles no event but the port choice, which it
// passes on to the link.
class OE : public QWidget {
    Q_OBJECT
public:
    // The client area, in twips.
    static constexpr int kClientWidthTwips = 6570;
    static constexpr int kClientHeightTwips = 4770;

    // comm is the window's serial line; it must outlive the window.
    explicit OE(Link& comm, QWidget* parent = nullptr);

    const OEControls& controls() const { return m_c; }
    WindowState& state() { return m_state; }
    const WindowState& state() const { return m_state; }
    FrameStack& frames() { return m_frames; }

    // Brings the parameter page to the front: Cell, then Frame1.
    void showParameterPage();
    // Puts the new window into its first state; sends nothing and leaves the port closed.
    void startUp();
    // Asked when the user closes the window; the window stays open when it returns false.
    void setCloseGuard(std::function<bool()> mayClose) { m_mayClose = std::move(mayClose); }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void createFrames();
    void createBottomRow();
    void createParameterFields();
    void createAddressFields();
    void createStepFrames();
    void setFocusOrder();

    Link& m_comm;
    OEControls m_c;
    WindowState m_state;
    FrameStack m_frames;
    std::function<bool()> m_mayClose;
};
