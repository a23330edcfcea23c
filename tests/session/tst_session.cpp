#include <QByteArray>
#include <QElapsedTimer>
#include <QPoint>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

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
Q_DECLARE_METATYPE(PickGrid)

namespace {

ParameterInput defaults() {
    return {QStringLiteral("64"), QStringLiteral("32"), 0, QStringLiteral("16"), 1};
}

QList<int> words(const ScanMapBuffer& buffer) {
    QList<int> all;
    for (int i = 0; i < MapLayout::kBufferWords; ++i) {
        all.append(buffer.at(i).value());
    }
    return all;
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
            r.session.pick(PickGrid::Rows, k, k);  // the 16th pick moves on to the column page
        }
        QCOMPARE(r.session.page(), Page::ColumnOrder);
        for (int k = 0; k < 8; ++k) {
            r.session.pick(PickGrid::Columns, 1, 1 + 8 * k);
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
        QCOMPARE(r.session.buffer().at(0).value(), 0);  // width
        QCOMPARE(r.session.buffer().at(3).value(), 0);  // scan count
    }

    void goingBackReRunsThePageEntry() {
        Rig r;
        r.walkTo(Page::RowOrder);
        r.session.pick(PickGrid::Rows, 1, 1);
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

    // What a pick does at the edges, the same on both grids: a module of 255 x 255 at scan 16,
    // `before` picks made first (their packets failing, so the row page stays in front), then
    // one pick on `cell`.
    void picksAtTheirLimits_data() {
        QTest::addColumn<PickGrid>("grid");
        QTest::addColumn<int>("before");
        QTest::addColumn<bool>("portFails");
        QTest::addColumn<QPoint>("cell");      // x = column, y = row
        QTest::addColumn<int>("word");         // where the pick is stored; -1: nowhere
        QTest::addColumn<QByteArray>("sent");  // the packet it sends; empty: none
        const QPoint cell(3, 2);               // pixel number 2 * 255 + 3 = 258
        const auto both = [&](const char* name, int rowsBefore, int columnsBefore, bool portFails,
                              QPoint at, int rowWord, int columnWord, const char* rowPacket,
                              const char* columnPacket) {
            QTest::addRow("rows: %s", name)
                << PickGrid::Rows << rowsBefore << portFails << at << rowWord << hex(rowPacket);
            QTest::addRow("columns: %s", name) << PickGrid::Columns << columnsBefore << portFails
                                               << at << columnWord << hex(columnPacket);
        };
        both("first", 0, 0, false, cell, 8, 24, "5AA50DFFFF6005000401000000",
             "5AA50DFFFF600B000308000000");
        both("17th", 16, 16, false, cell, 24, 152, "5AA50DFFFF6015000411000000",
             "5AA50DFFFF608B000388000000");  // 8 x 17 = 136: 88 00
        both("pixel past 16 bits", 0, 0, false, QPoint(255, 129), -1, -1, "", "");
        both("port fails", 0, 0, true, cell, 8, 24, "", "");
        both("last word of the buffer", 1039, 127, false, cell, 1047, 1040,
             "5AA50DFFFF6010000410040000", "5AA50DFFFF6007000300040000");
        both("past the buffer's end", 1040, 128, false, cell, -1, -1, "", "");
    }

    void picksAtTheirLimits() {
        QFETCH(PickGrid, grid);
        QFETCH(int, before);
        QFETCH(bool, portFails);
        QFETCH(QPoint, cell);
        QFETCH(int, word);
        QFETCH(QByteArray, sent);
        Rig r;
        r.walkTo(grid == PickGrid::Rows ? Page::RowOrder : Page::ColumnOrder,
                 {QStringLiteral("255"), QStringLiteral("255"), 0, QStringLiteral("16"), 1});
        r.port.failWrite = true;
        for (int k = 0; k < before; ++k) {
            r.session.pick(grid, 1, 1);
        }
        r.port.failWrite = portFails;
        const QList<int> wordsBefore = words(r.session.buffer());
        r.session.pick(grid, cell.y(), cell.x());
        QCOMPARE(r.port.written, sent.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{sent});
        QCOMPARE(r.session.picks(grid).count(), before + (word < 0 ? 0 : 1));
        QList<int> expected = wordsBefore;
        if (word >= 0) {
            expected[word] = 258;
        }
        QCOMPARE(words(r.session.buffer()), expected);
        QVERIFY(r.notifier.messages.isEmpty());  // a pick that fails says nothing
        QCOMPARE(r.session.page(), grid == PickGrid::Rows ? Page::RowOrder : Page::ColumnOrder);
    }

    // 完成 needs every row address 0..S-1 to hold a pick made since the parameters were stored,
    // in this pass of the row page or an earlier one; a pick taken back no longer counts.
    void completeCountsTheRowAddressesThatHoldAPick() {
        Rig r;
        const ParameterInput scan4{u("64"), u("32"), 0, u("4"), 1};
        r.walkTo(Page::RowOrder, scan4);
        for (int k = 1; k <= 4; ++k) {
            r.session.pick(PickGrid::Rows, k, 1);
        }
        r.session.previous();  // back to the rows, then on again without picking
        r.session.next({});
        QCOMPARE(r.session.buildMap().toBytes().mid(16, 8), hex("0000010002000300"));
        r.session.previous();
        r.session.pick(PickGrid::Rows, 9, 9);  // address 0 again: the later pick replaces it
        r.session.pick(PickGrid::Rows, 7, 7);
        r.session.undo();  // address 1 taken back
        r.session.next({});
        QVERIFY_THROWS_EXCEPTION(InputError, r.session.buildMap());
        try {
            r.session.buildMap();
        } catch (const InputError& e) {
            QCOMPARE(QString::fromUtf8(e.what()),
                     u("行选择未完成：已选 3 行，需要 4 行。请返回第3步选完后再保存"));
        }
        r.session.previous();
        r.session.pick(PickGrid::Rows, 9, 9);
        r.session.pick(PickGrid::Rows, 2, 2);
        r.session.next({});
        QCOMPARE(r.session.buildMap().toBytes().mid(16, 8), hex("0808010102000300"));
        while (r.session.page() != Page::Parameters) {
            r.session.previous();
        }
        r.walkTo(Page::ColumnOrder, scan4);  // the parameters stored again: nothing is picked
        QVERIFY_THROWS_EXCEPTION(InputError, r.session.buildMap());
    }

    void undoTakesBackTheLastPickOfThePageShown() {
        Rig r;
        r.walkTo(Page::RowOrder);
        r.session.undo();  // nothing to take back
        r.session.pick(PickGrid::Rows, 5, 3);
        r.session.pick(PickGrid::Rows, 2, 2);
        r.session.pick(PickGrid::Rows, 5, 3);
        r.session.undo();
        QCOMPARE(r.port.written.last(), hex("5AA50DFFFF6006000402000000"));
        QCOMPARE(r.session.picks(PickGrid::Rows).picksAt(5, 3), QList<int>{1});
        QCOMPARE(r.session.buffer().at(10).value(), 259);  // kept until the next pick overwrites it
        r.session.pick(PickGrid::Rows, 4, 4);
        QCOMPARE(r.session.buffer().at(10).value(), 196);
        r.walkTo(Page::ColumnOrder);
        r.session.pick(PickGrid::Columns, 1, 1);
        r.session.pick(PickGrid::Columns, 1, 9);
        r.session.undo();
        QCOMPARE(r.port.written.last(), hex("5AA50DFFFF600B000308000000"));
    }

    // While an address exchange runs nothing else that sends may start, and afterwards
    // everything may again; the download first returns the wizard to its first page.
    void exchangeLocksEverythingElseThatSends() {
        Rig r;
        QSignalSpy status(&r.commands, &ControllerCommands::statusChanged);
        r.port.answers = {hex("06")};
        r.commands.setAddress(u("0"), {u("192"), u("168"), u("0"), u("100")});
        for (Control c : {Control::Previous, Control::Next, Control::Undo, Control::Complete,
                          Control::Open, Control::Download, Control::SetAddress,
                          Control::ReadAddress, Control::PortChoice, Control::Grids}) {
            QVERIFY(!r.session.isEnabled(c));
        }
        r.session.next(defaults());
        QCOMPARE(r.session.page(), Page::Parameters);
        QCOMPARE(r.port.written,
                 QList<QByteArray>{hex("5AA528FFFF0A03000F00C0A80064") + zeros(26)});
        QTRY_COMPARE(status.size(), 2);
        QCOMPARE(status.at(1).at(0).toString(), u("设置成功"));
        QVERIFY(!r.port.isOpen());
        QVERIFY(r.session.isEnabled(Control::Next));
        r.session.mapOpened(MapImage());
        r.commands.download();
        QCOMPARE(r.session.page(), Page::Parameters);
        QVERIFY(!r.session.isEnabled(Control::Next));
        QCOMPARE(status.last().at(0).toString(), u("下载0"));
    }

    void addressBoxesAreCheckedBeforeThePortIsTouched() {
        Rig r;
        QSignalSpy status(&r.commands, &ControllerCommands::statusChanged);
        r.commands.setAddress(u("256"), {u("192"), u("168"), u("0"), u("100")});
        r.commands.setAddress(u("0"), {u("192"), u("168"), u("-1"), u("100")});
        QCOMPARE(r.notifier.messages, (QStringList{u("屏号必须是 0 到 255 之间的整数"),
                                                   u("IP地址每一段必须是 0 到 255 之间的整数")}));
        QVERIFY(status.isEmpty());
        QVERIFY(r.port.openedDevices.isEmpty());
    }
};

QTEST_GUILESS_MAIN(SessionTest)
#include "tst_session.moc"
