#include <QSignalSpy>
#include <QtTest>

#include "FakeSerialPort.h"
#include "RecordingNotifier.h"
#include "TestBytes.h"
#include "link/Link.h"
#include "session/ControllerCommands.h"
#include "session/MappingSession.h"

using Control = MappingSession::Control;

Q_DECLARE_METATYPE(ParameterInput)
Q_DECLARE_METATYPE(Page)
Q_DECLARE_METATYPE(Lit)

namespace {

ParameterInput defaults() {
    return {QStringLiteral("64"), QStringLiteral("32"), 0, QStringLiteral("16"), 1};
}

struct Rig {
    FakeSerialPort port;
    Link link{port};
    RecordingNotifier notifier;
    MappingSession session{link, notifier};
    ControllerCommands commands{session, link, notifier};

    Rig() { link.choosePort(QStringLiteral("COM1"), QStringLiteral("/dev/fake")); }
    // Walks forward with the given parameters until page is in front.
    void walkTo(Page page, const ParameterInput& input = defaults()) {
        while (session.page() != page) {
            session.next(input);
        }
        port.written.clear();
    }
};

}  // namespace

// The wizard's rules on the mapping session alone, without a widget: what each action stores,
// sends and allows, with the packets written out byte by byte.
class SessionTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void wholeModuleWalkBuildsTheMap() {
        Rig r;
        r.session.next(defaults());
        r.session.choose(Page::OePolarity, Lit::StateTwo);
        r.session.next({});
        r.session.next({});
        for (int k = 1; k <= 16; ++k) {
            r.session.pickRow(k, k);  // the 16th pick moves on to the column page
        }
        QCOMPARE(r.session.page(), Page::ColumnOrder);
        for (int k = 0; k < 8; ++k) {
            r.session.pickColumn(1, 1 + 8 * k);
        }
        QList<QByteArray> expected = {
            hex("5AA50DFFFF6070000040200010"),  // CellTest 64, 32, single colour, scan 16
            hex("5AA50DFFFF6000000101000000"),  // OE polarity "2亮"
            hex("5AA50DFFFF6002000200000000"),  // display polarity "1亮"
        };
        for (int k = 0; k <= 16; ++k) {
            expected << testPacket(k, 4);  // row page: HangTest 0, then one per pick
        }
        for (int k = 0; k <= 8; ++k) {
            expected << testPacket(8 * k, 3);  // column page: LieTest 0, then one per pick
        }
        QCOMPARE(r.port.written, expected);
        QCOMPARE(r.port.openedDevices, QStringList{u("/dev/fake")});
        QCOMPARE(r.session.buildMap().toBytes(),
                 hex("40002000000010000100010000004000"
                     "0000010102020303040405050606070708080909 0A0A0B0B0C0C0D0D0E0E0F0F"
                     "00070006000500040003000200010000") +
                     zeros(2048 - 64));
        QVERIFY(r.session.hasUnsavedPicks());
    }

    // Width and height take the number the text begins with, the scan count only a number; each
    // field that refuses its text names itself, and then nothing is stored or sent.
    void parameterFieldsAreCheckedBeforeAnythingIsStored_data() {
        QTest::addColumn<ParameterInput>("input");  // the defaults but for one field
        QTest::addColumn<QString>("outcome");       // the CellTest sent, or the message shown
        const auto row = [](const char* name, auto field, auto text, const char* outcome) {
            ParameterInput input = defaults();
            input.*field = text;
            QTest::newRow(name) << input << u(outcome);
        };
        row("width 8x", &ParameterInput::width, u("8x"), "5aa50dffff6038000008200010");
        row("scan ' 8 '", &ParameterInput::scanCount, u(" 8 "), "5aa50dffff6068000040200008");
        row("width 256", &ParameterInput::width, u("256"), "宽度必须在 1 到 255 之间");
        row("height 0", &ParameterInput::height, u("0"), "高度必须在 1 到 255 之间");
        row("colour -1", &ParameterInput::colourEntry, -1, "请从列表中选择颜色（单色或双色）");
        row("scan 8x", &ParameterInput::scanCount, u("8x"), "扫描周期必须在 1 到 16 之间");
        row("scan 17", &ParameterInput::scanCount, u("17"), "扫描周期必须在 1 到 16 之间");
        row("red-green 4", &ParameterInput::redGreenEntry, 4, "请从列表中选择红绿数量（1 到 4）");
    }

    void parameterFieldsAreCheckedBeforeAnythingIsStored() {
        QFETCH(ParameterInput, input);
        QFETCH(QString, outcome);
        Rig r;
        r.session.next(input);
        if (outcome.startsWith(QLatin1String("5aa5"))) {
            QCOMPARE(r.port.written, QList<QByteArray>{hex(outcome.toLatin1())});
            return;
        }
        QCOMPARE(r.notifier.messages, QStringList{outcome});
        QVERIFY(r.port.written.isEmpty());
        QCOMPARE(r.session.page(), Page::Parameters);
        QCOMPARE(r.session.buffer().at(0).value() + r.session.buffer().at(3).value(), 0);
    }

    void goingBackReRunsThePageEntry() {
        Rig r;
        r.walkTo(Page::RowOrder);
        r.session.pickRow(1, 1);
        r.session.next({});  // leaving the row page early is allowed
        QCOMPARE(r.session.page(), Page::ColumnOrder);
        r.session.previous();
        QCOMPARE(r.session.picks(PickGrid::Rows).count(), 0);  // the row picks start over
        QCOMPARE(r.port.written.last(), hex("5AA50DFFFF6004000400000000"));
        r.session.previous();
        r.session.previous();
        r.session.choose(Page::OePolarity, Lit::StateTwo);
        QSignalSpy choices(&r.session, &MappingSession::choiceChanged);
        r.session.previous();
        QCOMPARE(r.session.page(), Page::Parameters);
        QVERIFY(!r.session.isEnabled(Control::Previous));
        r.session.next(defaults());
        QCOMPARE(r.session.choice(Page::OePolarity), Lit::StateOne);
        QCOMPARE(choices.size(), 1);
    }

    void blinkShowsStateOneAt20MsThenAlternatesEveryTwoSeconds() {
        Rig r;
        r.walkTo(Page::OePolarity);
        QSignalSpy shown(&r.session, &MappingSession::blinkShown);
        QElapsedTimer clock;
        clock.start();
        QVERIFY(shown.wait(1000));
        const qint64 first = clock.elapsed();
        QVERIFY(shown.wait(4000));
        const qint64 second = clock.elapsed();
        const qint64 period = second - first;
        QVERIFY2(first < 500 && period >= 1500 && period <= 2800,
                 qPrintable(QString::number(period)));
        QCOMPARE(shown.at(0).at(1).value<Lit>(), Lit::StateOne);
        QCOMPARE(shown.at(1).at(1).value<Lit>(), Lit::StateTwo);
        QCOMPARE(r.port.written, (QList<QByteArray>{hex("5AA50DFFFF6001000100000000"),
                                                    hex("5AA50DFFFF60010001FFFFFFFF")}));
        r.session.next({});  // the display page: its own blink, the OE blink stopped
        QVERIFY(shown.wait(1000));
        QCOMPARE(shown.last().at(0).value<Page>(), Page::DisplayPolarity);
        QCOMPARE(r.port.written.mid(2), (QList<QByteArray>{hex("5AA50DFFFF6001000100000000"),
                                                           hex("5AA50DFFFF6002000200000000")}));
    }

    void blinkPortFailureIsToldOnceWhileItsMessageIsOpen() {
        Rig r;
        r.notifier.readingMs = 2300;  // longer than a blink period, as a user reading it
        r.session.next(defaults());
        r.port.failWrite = true;
        QSignalSpy shown(&r.session, &MappingSession::blinkShown);
        QTRY_COMPARE_WITH_TIMEOUT(shown.size(), 2, 5000);
        QCOMPARE(r.notifier.messages, QStringList{u("串口被占用")});
        QTRY_COMPARE_WITH_TIMEOUT(r.notifier.messages.size(), 2, 5000);  // the blink went on
    }

    void rowPickFailuresEndThePickSilently() {
        Rig r;
        r.walkTo(Page::RowOrder,
                 {QStringLiteral("255"), QStringLiteral("255"), 0, QStringLiteral("1"), 1});
        r.session.pickRow(129, 255);  // pixel 32895 does not fit 16 bits: nothing changes
        QCOMPARE(r.session.picks(PickGrid::Rows).count(), 0);
        QVERIFY(r.port.written.isEmpty());
        r.port.failWrite = true;
        r.session.pickRow(2, 3);  // stored and counted, but no packet and no advance
        QCOMPARE(r.session.buffer().at(8).value(), 258);
        QCOMPARE(r.session.picks(PickGrid::Rows).picksAt(2, 3), QList<int>{1});
        QCOMPARE(r.session.page(), Page::RowOrder);
        QVERIFY(r.notifier.messages.isEmpty());
        r.port.failWrite = false;
        r.session.pickRow(1, 1);  // the count has passed the scan count: still no advance
        QCOMPARE(r.session.page(), Page::RowOrder);
        QCOMPARE(r.port.written, QList<QByteArray>{hex("5AA50DFFFF6006000402000000")});
    }

    void columnPicksStopAt128() {
        Rig r;
        r.walkTo(Page::ColumnOrder);
        for (int k = 0; k < 128; ++k) {
            r.session.pickColumn(k / 64 + 1, k % 64 + 1);
        }
        QCOMPARE(r.port.written.at(16), hex("5AA50DFFFF608B000388000000"));  // 17th: 136 = 88 00
        QCOMPARE(r.port.written.last(), hex("5AA50DFFFF6007000300040000"));  // 1024
        QCOMPARE(r.session.buffer().at(1040).value(), 128);
        r.session.pickColumn(3, 1);
        QCOMPARE(r.port.written.size(), 128);
        QCOMPARE(r.session.picks(PickGrid::Columns).count(), 128);
        r.port.failWrite = true;
        r.session.undo();
        r.session.pickColumn(3, 1);  // the port failed: kept, and nothing said about it
        QCOMPARE(r.session.buffer().at(1040).value(), 129);
        QCOMPARE(r.notifier.messages, QStringList{u("串口被占用")});  // the undo's, not the pick's
    }

    void undoTakesBackTheLastPickOfThePageShown() {
        Rig r;
        r.walkTo(Page::RowOrder);
        r.session.undo();  // nothing to take back
        r.session.pickRow(5, 3);
        r.session.pickRow(2, 2);
        r.session.pickRow(5, 3);
        r.session.undo();
        QCOMPARE(r.port.written.last(), hex("5AA50DFFFF6006000402000000"));
        QCOMPARE(r.session.picks(PickGrid::Rows).picksAt(5, 3), QList<int>{1});
        QCOMPARE(r.session.buffer().at(10).value(), 259);  // kept until the next pick overwrites it
        r.session.pickRow(4, 4);
        QCOMPARE(r.session.buffer().at(10).value(), 196);
        r.walkTo(Page::ColumnOrder);
        r.session.pickColumn(1, 1);
        r.session.pickColumn(1, 9);
        r.session.undo();
        QCOMPARE(r.port.written.last(), hex("5AA50DFFFF600B000308000000"));
    }

    void exchangeLocksEverythingElseThatSends() {
        Rig r;
        r.walkTo(Page::OePolarity);
        QSignalSpy status(&r.commands, &ControllerCommands::statusChanged);
        r.port.answers = {hex("06")};
        r.commands.setAddress({QStringLiteral("0"), {u("192"), u("168"), u("0"), u("100")}});
        for (Control c : {Control::Previous, Control::Next, Control::Undo, Control::Complete,
                          Control::Open, Control::Download, Control::SetAddress,
                          Control::ReadAddress, Control::PortChoice, Control::Grids}) {
            QVERIFY(!r.session.isEnabled(c));
        }
        r.session.next({});
        QCOMPARE(r.session.page(), Page::OePolarity);
        QTest::qWait(300);  // the blink is held meanwhile
        QCOMPARE(r.port.written,
                 QList<QByteArray>{hex("5AA528FFFF0A03000F00C0A80064") + zeros(26)});
        QTRY_COMPARE(status.size(), 2);
        QCOMPARE(status.at(1).at(0).toString(), u("设置成功"));
        QVERIFY(!r.port.isOpen());
        QVERIFY(r.session.isEnabled(Control::Next));
        QTRY_COMPARE_WITH_TIMEOUT(r.port.written.size(), 2, 3000);  // and goes on afterwards
        r.session.mapOpened(MapImage());
        r.commands.download();
        QCOMPARE(r.session.page(), Page::Parameters);
        QVERIFY(!r.session.isEnabled(Control::Next));
        QCOMPARE(status.last().at(0).toString(), u("下载0"));
    }

    void addressBoxesAreCheckedBeforeThePortIsTouched() {
        Rig r;
        QSignalSpy status(&r.commands, &ControllerCommands::statusChanged);
        r.commands.setAddress({QStringLiteral("256"), {u("192"), u("168"), u("0"), u("100")}});
        r.commands.setAddress({QStringLiteral("0"), {u("192"), u("168"), u("-1"), u("100")}});
        QCOMPARE(r.notifier.messages, (QStringList{u("屏号必须是 0 到 255 之间的整数"),
                                                   u("IP地址每一段必须是 0 到 255 之间的整数")}));
        QVERIFY(status.isEmpty());
        QVERIFY(r.port.openedDevices.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SessionTest)
#include "tst_session.moc"
