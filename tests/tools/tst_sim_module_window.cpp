#include <QLabel>
#include <QtTest>

#include "ModuleWindow.h"

// The module's window: dots where the LEDs are, round, inside the window, with the state.

namespace {

bool isRed(QRgb pixel) {
    return qRed(pixel) > 200 && qGreen(pixel) < 100 && qBlue(pixel) < 100;
}

bool isGrey(QRgb pixel) {
    return qRed(pixel) > 30 && qRed(pixel) < 100 && qRed(pixel) == qGreen(pixel);
}

}  // namespace

class ModuleWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void litLedsAreRoundRedDotsInPlaceAtAnySize_data();
    void litLedsAreRoundRedDotsInPlaceAtAnySize();
};

void ModuleWindowTest::litLedsAreRoundRedDotsInPlaceAtAnySize_data() {
    QTest::addColumn<QSize>("size");
    QTest::newRow("wide") << QSize(900, 300);
    QTest::newRow("tall") << QSize(300, 600);
    QTest::newRow("small") << QSize(200, 150);
}

void ModuleWindowTest::litLedsAreRoundRedDotsInPlaceAtAnySize() {
    QFETCH(QSize, size);
    // 16 x 4 with its top-left and bottom-right LEDs lit.
    ModuleSnapshot module{QSize(16, 4), QBitArray(64),
                          QStringLiteral("16x4 scan 2, wiring straight")};
    module.lit.setBit(0);
    module.lit.setBit(63);
    ModuleWindow window;
    window.showModule(module);
    window.resize(size);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    const QImage shot = window.grab().toImage();
    const QLabel* state = window.findChild<QLabel*>();
    QCOMPARE(state->text(), module.state);

    QRect topLeft;
    QRect bottomRight;
    int grey = 0;
    for (int y = 0; y < shot.height(); ++y) {
        for (int x = 0; x < shot.width(); ++x) {
            grey += isGrey(shot.pixel(x, y)) ? 1 : 0;
            if (isRed(shot.pixel(x, y))) {
                QRect& dot = x < shot.width() / 2 ? topLeft : bottomRight;
                dot |= QRect(x, y, 1, 1);
            }
        }
    }
    QVERIFY(!topLeft.isEmpty() && !bottomRight.isEmpty());
    QVERIFY(topLeft.bottom() < bottomRight.top());
    QVERIFY(bottomRight.bottom() < state->geometry().top());
    QVERIFY2(std::abs(topLeft.width() - topLeft.height()) <= 1, "a lit dot is round");
    QVERIFY(std::abs(bottomRight.width() - topLeft.width()) <= 1);
    QVERIFY(std::abs(bottomRight.height() - topLeft.height()) <= 1);
    // 62 dark dots against 2 lit ones.
    QVERIFY(grey > 20 * topLeft.width() * topLeft.height());
}

QTEST_MAIN(ModuleWindowTest)
#include "tst_sim_module_window.moc"
