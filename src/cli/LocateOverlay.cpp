#include "cli/LocateOverlay.h"

#include <QPainter>

#include "vision/LedReader.h"

namespace {

QPointF at(const LedGrid& grid, int row, int column) {
    const PicturePoint c = grid.led(row, column).centre;
    // The finder counts from pixel centres, the painter from pixel corners.
    return {c.x + 0.5, c.y + 0.5};
}

void ring(QPainter& p, QPointF centre, double radius, const QColor& colour, double width) {
    p.setPen(QPen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, radius, radius);
}

void markLeds(QPainter& p, const LedGrid& grid, double radius) {
    for (int row = 0; row < grid.height(); ++row) {
        for (int column = 0; column < grid.width(); ++column) {
            QColor colour(0, 200, 255);
            if (row == 0) {
                colour = Qt::yellow;
            } else if (column == 0) {
                colour = Qt::magenta;
            }
            ring(p, at(grid, row, column), radius, colour, 1);
        }
    }
    const QPointF first = at(grid, 0, 0);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::yellow);
    p.drawRect(QRectF(first.x() - radius, first.y() - radius, 2 * radius, 2 * radius));
}

}  // namespace

QImage LocateOverlay::draw(const QImage& picture, const LedGrid& grid, const LedReading& reading) {
    QImage out = picture.convertToFormat(QImage::Format_RGB32);
    QPainter p(&out);
    p.setRenderHint(QPainter::Antialiasing);
    const double radius = std::max(1.5, 0.3 * grid.typicalPitch());
    markLeds(p, grid, radius);
    if (reading.isCertain()) {
        ring(p, at(grid, reading.led.row, reading.led.column), 2.2 * radius, Qt::green, 3);
        return out;
    }
    for (const LedScore& s : reading.candidates) {
        if (s.score > LedReader::kUnlitScore) {
            ring(p, at(grid, s.row, s.column), 2.2 * radius, QColor(255, 140, 0), 2);
        }
    }
    p.setPen(QPen(Qt::red, 6));
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRectF(3, 3, out.width() - 6, out.height() - 6));
    return out;
}
