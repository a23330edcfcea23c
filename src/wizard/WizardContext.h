#pragma once

struct OEControls;
struct WindowState;
class FrameStack;
class Link;
class Notifier;
class PickMarks;

// What the wizard's handlers touch: the window's controls, its state and page stack, the
// serial line and the message seam. All are owned by the window and the program, and outlive
// the wizard.
struct WizardContext {
    const OEControls& c;
    WindowState& state;
    FrameStack& frames;
    Link& link;
    Notifier& notifier;
    // What the two pick grids show of the picks of the current pass.
    PickMarks& rowMarks;
    PickMarks& columnMarks;
};
