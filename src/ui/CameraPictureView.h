#pragma once

#include <QWidget>

#include "camera/CameraSnapshot.h"

// The camera's newest picture, scaled to fit, with what was read in it drawn over it: a ring
// on every LED found (filled as its score rises), row 1 and column 1 traced and labelled so that
// a wrong rotation or mirror shows at once, the LED read as lit ringed green, and the
// candidates of a doubt ringed blue with their scores.
class CameraPictureView : public QWidget {
    Q_OBJECT
public:
    explicit CameraPictureView(QWidget* parent = nullptr);

    void show(const CameraSnapshot& snapshot);
    const CameraSnapshot& snapshot() const { return m_snapshot; }
    QSize sizeHint() const override { return {640, 360}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void drawLeds(QPainter& painter) const;
    void drawFirstRowAndColumn(QPainter& painter) const;
    void drawReading(QPainter& painter) const;
    QPointF toView(QPointF picturePoint) const;
    QPointF ledAt(int row, int col) const;
    double ledRadius() const;

    CameraSnapshot m_snapshot;
    QRectF m_target;
};
