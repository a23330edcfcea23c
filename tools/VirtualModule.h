#pragma once

#include <QBitArray>
#include <QByteArray>
#include <QPoint>
#include <QString>
#include <optional>
#include <vector>

#include "Level.h"
#include "ModuleSize.h"
#include "ModuleSnapshot.h"
#include "Wiring.h"

class DownloadedMap;

// What a module really is, beyond what the program tells it: how its chains are wired and in
// which state of each polarity signal it lights.
struct ModuleTruth {
    // A place in the shift chains: bit `bit` of row address `address`.
    struct ChainPosition {
        int address = 0;
        int bit = 0;
    };

    Wiring wiring;
    Level oeLit = Level::Two;
    Level displayLit = Level::One;
    // A dead LED: the LED this chain position drives never lights. Example: {1, 70} on a
    // 64 x 32 scan 16 module wired straight is the LED at x 6, y 17.
    std::optional<ChainPosition> deadLed = std::nullopt;
};

// An LED module on the simulated controller, as the wizard's test packets and a downloaded map
// drive it. Pure: no I/O, no timing.
//
// It shows a content with two levels applied. OE level wrong: all dark. Display level wrong:
// the content inverted. A level never sent counts as right. The content:
//   after CellTest, OeTest or DisTest   every LED
//   HangTest n                          the LED of chain bit 0 of address n (none past S-1)
//   LieTest n                           the LED of chain bit n of address 0 (none past the chain)
//   a downloaded map                    the test picture through the map, with the map's
//                                       polarity bytes as the levels
// The test picture on W x H: the top row, the left column, the diagonal x = y, and an arrow
// pointing right along row H/2: its shaft x >= W/2, its head the LEDs with
// |y - H/2| = W-1-x <= H/4.
// A module a map cannot describe (ModuleSize::whyNotDescribable()) shows nothing.
class VirtualModule {
public:
    explicit VirtualModule(const ModuleTruth& truth = {}) : m_truth(truth) {}

    void cellTest(int width, int height, int scanCount);
    void oeTest(Level level);
    void disTest(Level level);
    void hangTest(int count);
    void lieTest(int count);
    // A complete download: the 2048-byte map image (see DownloadedMap).
    void showMap(const QByteArray& image);

    // The LEDs lit now, the state line and the out-of-place count.
    ModuleSnapshot snapshot() const;

private:
    enum class Content { Nothing, AllLeds, RowAddress, ChainBit, Picture };

    bool describable() const { return !m_leds.empty(); }
    QPoint ledOf(int address, int bit) const;
    void drawPicture(const DownloadedMap& map);
    QBitArray content() const;
    QBitArray lit() const;
    bool oeRight() const { return !m_oeLevel || *m_oeLevel == m_truth.oeLit; }
    bool displayRight() const { return !m_displayLevel || *m_displayLevel == m_truth.displayLit; }
    QString state() const;
    QString contentText() const;
    QString levelsText() const;

    ModuleTruth m_truth;
    bool m_known = false;
    ModuleSize m_size;
    // The wiring as a table: m_leds[address * chainLength + bit]; empty when not describable.
    std::vector<QPoint> m_leds;
    Content m_content = Content::Nothing;
    int m_contentIndex = 0;
    QBitArray m_picture;
    int m_outOfPlace = -1;
    ModuleSize m_mapMadeFor;
    std::optional<Level> m_oeLevel;
    std::optional<Level> m_displayLevel;
};
