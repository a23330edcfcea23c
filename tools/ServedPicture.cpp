#include "ServedPicture.h"

#include <algorithm>

float ServedPicture::level(int x, int y) const {
    if (x < 0 || y < 0 || x >= leds.width() || y >= leds.height()) {
        return 0;
    }
    const int index = y * leds.width() + x;
    if (lit.testBit(index)) {
        return 1;
    }
    const auto part = std::find_if(partlyLit.begin(), partlyLit.end(),
                                   [index](const auto& led) { return led.first == index; });
    return part == partlyLit.end() ? 0 : part->second;
}

QSet<QPoint> ServedPicture::litLeds() const {
    QSet<QPoint> shown;
    const int width = std::max(1, leds.width());
    for (int i = 0; i < lit.size(); ++i) {
        if (lit.testBit(i)) {
            shown.insert({i % width, i / width});
        }
    }
    return shown;
}
