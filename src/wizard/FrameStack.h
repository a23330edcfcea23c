#pragma once

#include <QVector>

class QWidget;

// Frames that share one area of the window, stacked like sheets of paper: the frame brought to
// the front last lies on top. A frame that the frames above it cover completely is hidden, so
// it can neither be seen nor take the keyboard focus; exactly one page shows at a time.
class FrameStack {
public:
    // Frames are added bottom first, in the order the window creates them.
    void add(QWidget* frame);
    void bringToFront(QWidget* frame);
    // Shows or hides each frame by what covers it now (after frames were moved).
    void refresh();
    QWidget* front() const { return m_order.isEmpty() ? nullptr : m_order.last(); }

private:
    QVector<QWidget*> m_order;  // bottom to top
};
