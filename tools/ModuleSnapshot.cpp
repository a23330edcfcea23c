#include "ModuleSnapshot.h"

bool ModuleSnapshot::isLit(int x, int y) const {
    return x >= 0 && y >= 0 && x < size.width() && y < size.height() &&
           lit.testBit(y * size.width() + x);
}

QSet<QPoint> ModuleSnapshot::litLeds() const {
    QSet<QPoint> leds;
    for (int y = 0; y < size.height(); ++y) {
        for (int x = 0; x < size.width(); ++x) {
            if (isLit(x, y)) {
                leds.insert({x, y});
            }
        }
    }
    return leds;
}

QStringList ModuleSnapshot::rows() const {
    QStringList lines;
    for (int y = 0; y < size.height(); ++y) {
        QString line(size.width(), QLatin1Char('.'));
        for (int x = 0; x < size.width(); ++x) {
            if (isLit(x, y)) {
                line[x] = QLatin1Char('#');
            }
        }
        lines.append(line);
    }
    return lines;
}

QByteArray ModuleSnapshot::toText() const {
    QByteArray text;
    for (const QString& line : rows()) {
        text += line.toLatin1() + '\n';
    }
    return text + state.toUtf8() + '\n';
}
