#include "FrameStack.h"

#include <QRegion>
#include <QWidget>

void FrameStack::add(QWidget* frame) {
    m_order.removeAll(frame);
    m_order.append(frame);
    frame->raise();
    refresh();
}

void FrameStack::bringToFront(QWidget* frame) {
    add(frame);
}

void FrameStack::refresh() {
    QRegion above;
    for (auto it = m_order.crbegin(); it != m_order.crend(); ++it) {
        QWidget* frame = *it;
        const bool covered = QRegion(frame->geometry()).subtracted(above).isEmpty();
        frame->setVisible(!covered);
        above += frame->geometry();
    }
}
