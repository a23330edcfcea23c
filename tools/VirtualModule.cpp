#include "VirtualModule.h"

#include <cstdlib>

#include "DownloadedMap.h"

namespace {

bool testPicture(int x, int y, int width, int height) {
    const int middle = height / 2;
    const int fromTip = width - 1 - x;
    const bool shaft = y == middle && x >= width / 2;
    const bool head = std::abs(y - middle) == fromTip && fromTip <= height / 4;
    return x == 0 || y == 0 || x == y || shaft || head;
}

}  // namespace

void VirtualModule::cellTest(int width, int height, int scanCount) {
    m_known = true;
    m_size = {width, height, scanCount};
    m_leds.clear();
    if (m_size.whyNotDescribable().isEmpty()) {
        const int chain = m_size.chainLength();
        m_leds.reserve(static_cast<std::size_t>(scanCount * chain));
        for (int i = 0; i < scanCount * chain; ++i) {
            m_leds.push_back(m_truth.wiring.ledOf(m_size, i / chain, i % chain));
        }
    }
    m_content = Content::AllLeds;
    m_outOfPlace = -1;
}

void VirtualModule::oeTest(Level level) {
    m_oeLevel = level;
    m_content = Content::AllLeds;
}

void VirtualModule::disTest(Level level) {
    m_displayLevel = level;
    m_content = Content::AllLeds;
}

void VirtualModule::hangTest(int count) {
    m_content = Content::RowAddress;
    m_contentIndex = count;
}

void VirtualModule::lieTest(int count) {
    m_content = Content::ChainBit;
    m_contentIndex = count;
}

void VirtualModule::showMap(const QByteArray& image) {
    if (!describable()) {
        return;
    }
    const DownloadedMap map(image);
    m_oeLevel = map.oeLevel();
    m_displayLevel = map.displayLevel();
    m_mapMadeFor = map.madeFor();
    drawPicture(map);
    m_content = Content::Picture;
}

// Every chain bit lights its true LED with the pixel the map sends it.
void VirtualModule::drawPicture(const DownloadedMap& map) {
    m_picture = QBitArray(m_size.width * m_size.height);
    m_outOfPlace = 0;
    const int chain = m_size.chainLength();
    for (int i = 0; i < static_cast<int>(m_leds.size()); ++i) {
        const QPoint led = m_leds[static_cast<std::size_t>(i)];
        const std::optional<QPoint> pixel = map.pixelFor(m_size, i / chain, i % chain);
        if (pixel != led) {
            ++m_outOfPlace;
        }
        if (pixel && testPicture(pixel->x(), pixel->y(), m_size.width, m_size.height)) {
            m_picture.setBit(led.y() * m_size.width + led.x());
        }
    }
}

QPoint VirtualModule::ledOf(int address, int bit) const {
    return m_leds[static_cast<std::size_t>(address * m_size.chainLength() + bit)];
}

QBitArray VirtualModule::content() const {
    QBitArray shown(m_size.width * m_size.height);
    const auto light = [&shown, this](QPoint led) {
        shown.setBit(led.y() * m_size.width + led.x());
    };
    switch (m_content) {
        case Content::AllLeds:
            shown.fill(true);
            break;
        case Content::RowAddress:
            if (m_contentIndex < m_size.scanCount) {
                light(ledOf(m_contentIndex, 0));
            }
            break;
        case Content::ChainBit:
            if (m_contentIndex < m_size.chainLength()) {
                light(ledOf(0, m_contentIndex));
            }
            break;
        case Content::Picture:
            shown = m_picture;
            break;
        case Content::Nothing:
            break;
    }
    return shown;
}

QBitArray VirtualModule::lit() const {
    if (!describable() || !oeRight()) {
        return QBitArray(m_size.width * m_size.height);
    }
    QBitArray shown = displayRight() ? content() : ~content();
    const std::optional<ModuleTruth::ChainPosition> dead = m_truth.deadLed;
    if (dead && dead->address >= 0 && dead->address < m_size.scanCount && dead->bit >= 0 &&
        dead->bit < m_size.chainLength()) {
        const QPoint led = ledOf(dead->address, dead->bit);
        shown.clearBit(led.y() * m_size.width + led.x());
    }
    return shown;
}

ModuleSnapshot VirtualModule::snapshot() const {
    return {QSize(m_size.width, m_size.height), lit(), state(), m_outOfPlace};
}

QString VirtualModule::state() const {
    if (!m_known) {
        return QStringLiteral("no module yet: waiting for CellTest");
    }
    const QString module = QStringLiteral("%1, wiring %2 (OE lit %3, display lit %4)")
                               .arg(m_size.name(), m_truth.wiring.name(), levelName(m_truth.oeLit),
                                    levelName(m_truth.displayLit));
    if (!describable()) {
        return module + QStringLiteral(" | a map cannot describe this module: ") +
               m_size.whyNotDescribable();
    }
    QString text = module + QStringLiteral(" | showing ") + contentText() + QStringLiteral(" | ") +
                   levelsText();
    if (m_content == Content::Picture) {
        text += QStringLiteral(" | %1 LEDs out of place").arg(m_outOfPlace);
    }
    return text;
}

QString VirtualModule::contentText() const {
    switch (m_content) {
        case Content::AllLeds:
            return QStringLiteral("all LEDs");
        case Content::RowAddress:
            return m_contentIndex < m_size.scanCount
                       ? QStringLiteral("row address %1").arg(m_contentIndex)
                       : QStringLiteral("nothing: every row address done");
        case Content::ChainBit:
            return m_contentIndex < m_size.chainLength()
                       ? QStringLiteral("chain bit %1 of address 0").arg(m_contentIndex)
                       : QStringLiteral("nothing: end of the chain");
        case Content::Picture:
            return m_mapMadeFor == m_size
                       ? QStringLiteral("the test picture through the map")
                       : QStringLiteral("the test picture through a map made for %1")
                             .arg(m_mapMadeFor.name());
        case Content::Nothing:
            break;
    }
    return QStringLiteral("nothing");
}

QString VirtualModule::levelsText() const {
    const auto level = [](const QString& signal, const std::optional<Level>& sent, bool right,
                          const QString& wrongEffect) {
        if (!sent) {
            return signal + QStringLiteral(" level not set");
        }
        return signal + QStringLiteral(" level ") + levelName(*sent) +
               (right ? QStringLiteral(" (right)")
                      : QStringLiteral(" (wrong: ") + wrongEffect + QLatin1Char(')'));
    };
    return level(QStringLiteral("OE"), m_oeLevel, oeRight(), QStringLiteral("all dark")) +
           QStringLiteral(", ") +
           level(QStringLiteral("display"), m_displayLevel, displayRight(),
                 QStringLiteral("inverted"));
}
