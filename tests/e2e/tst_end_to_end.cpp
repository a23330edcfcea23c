#include "SimWindow.h"

namespace {

// The map this session makes: 64 x 32, single colour, scan 16, red-green "2", OE "2亮",
// display "1亮", row pick r on row r, column r; column picks on row 1, columns 1, 9, .. 57.
const QByteArray kMapHead =
    hex("40002000000010000100010000004000"                                   // header
        "0000010102020303040405050606070708080909 0A0A0B0B0C0C0D0D0E0E0F0F"  // 16 row entries
        "00070006000500040003000200010000");                                 // 8 column entries

}  // namespace

// One complete session through the real window against the simulated controller: every packet
// the controller receives, the saved file and the downloaded image, byte for byte.
class EndToEndTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeSessionSendsExactlyTheExpectedPackets() {
        SimWindow w;
        const QString file = w.dir.filePath(QStringLiteral("module.bin"));

        w.next()->click();             // page 1 -> 2 with the defaults
        QVERIFY(w.waitForPackets(2));  // CellTest, then the first OE blink
        w.window->polarityPage(Page::OePolarity)->choiceButtons()[1]->click();  // "2亮"
        w.next()->click();                                                      // page 2 -> 3
        QVERIFY(w.waitForPackets(4));  // chosen OE polarity, first display blink
        w.next()->click();             // "1亮", page 3 -> 4
        for (int r = 1; r <= 16; ++r) {
            w.pick(PickGrid::Rows, r, r);  // the 16th pick moves on to page 5
        }
        QCOMPARE(w.session().page(), Page::ColumnOrder);
        for (int k = 0; k < 8; ++k) {
            w.pick(PickGrid::Columns, 1, 1 + 8 * k);
        }
        w.dialogs.answers = {file, file};
        w.window->completeButton()->click();
        w.window->openButton()->click();
        QVERIFY(w.press(w.window->downloadButton(), 8000));
        QVERIFY(w.press(w.setButton()));
        QVERIFY(w.press(w.readButton()));

        QList<QByteArray> expected = {
            hex("5AA50DFFFF6070000040200010"),  // CellTest 64, 32, single colour, scan 16
            hex("5AA50DFFFF6001000100000000"),  // OE blink, state "1"
            hex("5AA50DFFFF6000000101000000"),  // OE polarity "2亮"
            hex("5AA50DFFFF6002000200000000"),  // display blink, state "1"
            hex("5AA50DFFFF6002000200000000"),  // display polarity "1亮"
        };
        for (int k = 0; k <= 16; ++k) {
            expected << testPacket(k, 4);  // row page: HangTest 0, then one per pick
        }
        for (int k = 0; k <= 8; ++k) {
            expected << testPacket(8 * k, 3);  // column page: LieTest 0, then one per pick
        }
        expected << hex("5AA588FF00613000") + kMapHead + zeros(64);  // data packet 1, checksum 30
        for (int n = 1; n < 16; ++n) {
            expected << hex("5AA588FF") + static_cast<char>(n) + hex("610000") + zeros(128);
        }
        expected << hex("5AA588FF100A040004") + zeros(127);           // closing packet
        expected << hex("5AA528FFFF0A03000F00C0A80064") + zeros(26);  // SetAddress
        expected << hex("5AA528FFFF0A100010") + zeros(31);            // ReadAddress
        QVERIFY(w.waitForPackets(static_cast<int>(expected.size())));
        QTest::qWait(50);
        QCOMPARE(w.sim->packets(), expected);

        const QByteArray bytes = readFile(file);
        QCOMPARE(bytes, kMapHead + zeros(2048 - 64));
        QCOMPARE(w.sim->image(), bytes);
        QCOMPARE(w.captions, downloadCaptions(16) << u("下载完成") << u("设置地址") << u("设置成功")
                                                  << u("读出地址") << u("读出成功"));
        QCOMPARE(w.ip(0)->text(), u("192"));
        QCOMPARE(w.ip(3)->text(), u("100"));
        QVERIFY(w.notifier.messages.isEmpty());
        QVERIFY(!w.port.isOpen());
        QCOMPARE(w.session().page(), Page::Parameters);
    }
};

QTEST_MAIN(EndToEndTest)
#include "tst_end_to_end.moc"
