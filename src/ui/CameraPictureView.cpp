#include "ui/CameraPictureView.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

const QColor kFirstRow(255, 140, 0);
const QColor kFirstColumn(255, 0, 200);
const QColor kLit(0, 220, 0);
const QColor kCandidate(30, 144, 255);
const QColor kLed(0, 200, 255);

}  // namespace

CameraPictureView::CameraPictureView(QWidget* parent) : QWidget(parent) {
    setMinimumSize(320, 180);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CameraPictureView::show(const CameraSnapshot& snapshot) {
    m_snapshot = snapshot;
    update();
}

QPointF CameraPictureView::toView(QPointF p) const {
    const double scale = m_target.width() / std::max(1, m_snapshot.picture.width());
    return m_target.topLeft() + p * scale;
}

QPointF CameraPictureView::ledAt(int row, int col) const {
    return toView(m_snapshot.leds.value(row * m_snapshot.module.width() + col));
}

// A third of the distance between the first two LEDs of row 1, on screen.
double CameraPictureView::ledRadius() const {
    if (m_snapshot.module.width() < 2) {
        return 3;
    }
    const QPointF step = ledAt(0, 1) - ledAt(0, 0);
    return std::max(2.0, std::hypot(step.x(), step.y()) / 3);
}

void CameraPictureView::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_snapshot.picture.isNull()) {
        return;
    }
    const QSizeF size =
        QSizeF(m_snapshot.picture.size()).scaled(QSizeF(this->size()), Qt::KeepAspectRatio);
    m_target = QRectF(QPointF((width() - size.width()) / 2, (height() - size.height()) / 2), size);
    painter.drawImage(m_target, m_snapshot.picture);
    painter.setRenderHint(QPainter::Antialiasing);
    drawLeds(painter);
    drawFirstRowAndColumn(painter);
    drawReading(painter);
}

void CameraPictureView::drawLeds(QPainter& painter) const {
    const double r = ledRadius();
    for (qsizetype i = 0; i < m_snapshot.leds.size(); ++i) {
        const double score = std::clamp<double>(m_snapshot.scores.value(i), 0, 1);
        QColor fill = kLed;
        fill.setAlphaF(0.15 + 0.6 * score);
        painter.setPen(QPen(kLed, 1));
        painter.setBrush(score >= 0.5 ? QBrush(fill) : Qt::NoBrush);
        painter.drawEllipse(toView(m_snapshot.leds[i]), r, r);
    }
}

// Row 1 and column 1 traced through their LEDs, each labelled at its first LED.
void CameraPictureView::drawFirstRowAndColumn(QPainter& painter) const {
    const int w = m_snapshot.module.width();
    const int h = m_snapshot.module.height();
    if (m_snapshot.leds.size() != qsizetype(w) * h || w < 1 || h < 1) {
        return;
    }
    const auto trace = [&](const QColor& colour, int count, auto at, const QString& label) {
        QPainterPath path(at(0));
        for (int i = 1; i < count; ++i) {
            path.lineTo(at(i));
        }
        painter.setPen(QPen(colour, 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(path);
        painter.drawText(at(0) + QPointF(-4 * ledRadius(), -2 * ledRadius()), label);
    };
    trace(
        kFirstRow, w, [&](int i) { return ledAt(0, i); }, tr("第1行"));
    trace(
        kFirstColumn, h, [&](int i) { return ledAt(i, 0); }, tr("第1列"));
}

void CameraPictureView::drawReading(QPainter& painter) const {
    const CameraReading& reading = m_snapshot.reading;
    const double r = ledRadius() * 2;
    painter.setBrush(Qt::NoBrush);
    if (reading.doubt == CameraReading::Doubt::None && !m_snapshot.leds.isEmpty()) {
        painter.setPen(QPen(kLit, 3));
        painter.drawEllipse(ledAt(reading.led.y() - 1, reading.led.x() - 1), r, r);
        return;
    }
    painter.setPen(QPen(kCandidate, 2));
    for (const QPoint& cell : reading.candidates) {
        const QPointF at = ledAt(cell.y() - 1, cell.x() - 1);
        painter.drawEllipse(at, r, r);
        const float score =
            m_snapshot.scores.value((cell.y() - 1) * m_snapshot.module.width() + cell.x() - 1);
        painter.drawText(at + QPointF(r, -r), QString::number(score, 'f', 2));
    }
}
