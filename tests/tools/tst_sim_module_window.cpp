#include <QLabel>
#include <QtTest>

#include "ModuleWindow.h"

// The module's window: lit LEDs as round red dots in place, inside the window, above the state.
class ModuleWindowTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void litLedsAreRoundRedDotsInPlaceAtAnySize();
};

void ModuleWindowTest::litLedsAreRoundRedDotsInPlaceAtAnySize() {
    // 16 x 4 with its top-left and bottom-right LEDs lit.
    ModuleSnapshot module{QSize(16, 4), QBitArray(64), QStringLiteral("16x4 scan 2")};
    module.lit.setBit(0);
    module.lit.setBit(63);
    for (const QSize size : {QSize(900, 300), QSize(300, 600), QSize(200, 150)}) {
        ModuleWindow window;
        window.showModule(module);
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = window.grab().toImage();
        QRect dots[2];  // top-left, bottom-right
        for (int i = 0; i < shot.width() * shot.height(); ++i) {
            const QRgb pixel = shot.pixel(i % shot.width(), i / shot.width());
            if (qRed(pixel) > 200 && qGreen(pixel) < 100 && qBlue(pixel) < 100) {
                dots[i % shot.width() < shot.width() / 2 ? 0 : 1] |=
                    QRect(i % shot.width(), i / shot.width(), 1, 1);
            }
        }
        const QLabel* state = window.findChild<QLabel*>();
        QCOMPARE(state->text(), module.state);
        QVERIFY(!dots[0].isEmpty() && dots[0].bottom() < dots[1].top());
        QVERIFY(dots[1].bottom() < state->geometry().top());
        QVERIFY2(std::abs(dots[0].width() - dots[0].height()) <= 1, "a dot is round");
        QVERIFY(std::abs(dots[1].width() - dots[0].width()) <= 1);
    }
}

QTEST_MAIN(ModuleWindowTest)
#include "tst_sim_module_window.moc"
