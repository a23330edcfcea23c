#include <QByteArray>
#include <QMap>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <functional>

#include "FakeSerialPort.h"
#include "TestBytes.h"
#include "core/Errors.h"
#include "link/DownloadExchange.h"
#include "link/Link.h"
#include "link/Packets.h"
#include "link/PortNames.h"
#include "link/ScreenAddress.h"

namespace {

using Environment = QMap<QString, QString>;
ExchangeOutcome finish(QSignalSpy& spy) {
    if (spy.isEmpty() && !spy.wait(5000)) {
        return {ExchangeOutcome::Kind::Done, -1, QStringLiteral("never finished")};
    }

    return spy.takeFirst().at(0).value<ExchangeOutcome>();
}

}  // namespace

// Every packet kind byte for byte; how the port list's numbers become devices; and which packet
// a download reports when its port fails. The link over a real pseudo-terminal: its answer waits
// are tst_exchange_timing's, what the controller and the line can do wrong the fault matrix's
// (tests/e2e).
class LinkTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void packetsHaveTheirExactBytes() {
        const std::pair<QByteArray, QByteArray> cases[] = {
            {Packets::cellTest(255, 255, 1, 255), hex("5AA50DFFFF60FE0000FFFF01FF")},
            {Packets::disTest(255), hex("5AA50DFFFF60020002FFFFFFFF")},
            {Packets::hangTest(300), hex("5AA50DFFFF602900042C010000")},  // low byte first
            {Packets::hangTest(65535), hex("5AA50DFFFF60040004FFFF0000")},
            {Packets::setAddress(255, {10, 0, 0, 255}),
             hex("5AA528FFFF0A05000FFF0A0000FF") + zeros(26)},
        };
        for (const auto& [built, expected] : cases) {
            QCOMPARE(built.toHex(' '), expected.toHex(' '));
        }
    }

    void mapDataAndClosingPacketsCarryTheirBytes() {
        QByteArray ramp;  // 00, 01, .. 7F: their XOR is 00
        for (int i = 0; i < 128; ++i) {
            ramp.append(static_cast<char>(i));
        }
        QCOMPARE(Packets::mapDataPacket(3, ramp), hex("5AA588FF03610000") + ramp);
        QByteArray last = zeros(128);
        last[127] = '\x80';
        QCOMPARE(Packets::mapDataPacket(15, last).at(6), '\x80');  // the checksum covers every byte
        const QByteArray tail(127, '\x5C');
        QCOMPARE(Packets::downLoadEnd(16, tail), hex("5AA588FF100A040004") + tail);
    }

    void valuesOutsideAByteAreRefused() {
        const std::function<QByteArray()> refused[] = {
            [] { return Packets::cellTest(64, 32, 0, 256); },
            [] { return Packets::oeBlink(-1); },
            [] { return Packets::lieTest(65536); },
            [] {
                return Packets::setAddress(0, {192, 168, 0, -1});
            },
            [] { return Packets::mapDataPacket(300, zeros(128)); },
            [] { return Packets::mapDataPacket(0, zeros(127)); },
            [] { return Packets::downLoadEnd(-1, zeros(127)); },
            [] { return Packets::downLoadEnd(16, zeros(128)); },
        };
        for (const auto& build : refused) {
            QVERIFY_THROWS_EXCEPTION(RangeError, build());
        }
    }

    void numberPicksTheDevice_data() {
        QTest::addColumn<QStringList>("devices");
        QTest::addColumn<Environment>("environment");
        QTest::addColumn<QStringList>("expected");  // COM1, COM2, ... then one beyond the list
        const QStringList mixed = {u"/dev/ttyS1"_qs,   u"/dev/ttyUSB10"_qs, u"/dev/ttyS0"_qs,
                                   u"/dev/ttyACM0"_qs, u"/dev/ttyUSB2"_qs,  u"/dev/ttyAMA0"_qs};
        QTest::newRow("adapters first, numbers by value")
            << mixed << Environment{}
            << QStringList{u"/dev/ttyACM0"_qs, u"/dev/ttyUSB2"_qs, u"/dev/ttyUSB10"_qs,
                           u"/dev/ttyAMA0"_qs, u"/dev/ttyS0"_qs,   u"/dev/ttyS1"_qs,
                           QString()};
        QTest::newRow("the variable wins, an empty one does not")
            << QStringList{u"/dev/ttyS0"_qs}
            << Environment{{u"LUMOTRIX_COM1"_qs, QString()}, {u"LUMOTRIX_COM2"_qs, u"/tmp/sim"_qs}}
            << QStringList{u"/dev/ttyS0"_qs, u"/tmp/sim"_qs, QString()};
    }

    // COM1, COM2, ... in the list order, then one number beyond the list; a tooltip names the
    // device or says there is none.
    void numberPicksTheDevice() {
        QFETCH(QStringList, devices);
        QFETCH(Environment, environment);
        QFETCH(QStringList, expected);
        const PortNames names(
            [devices] { return devices; },
            [environment](const QString& name) { return environment.value(name); });
        for (int n = 1; n <= expected.size(); ++n) {
            QCOMPARE(names.deviceName(n), expected.at(n - 1));
        }
    }

    // The screen number and IP address from the window's five boxes (boxes) or the command
    // line's "A.B.C.D" (dotted): each value read as a number box is, 0..255, the first value
    // refused named.
    void addressTextsAreReadOrTheFirstBadValueNamed_data() {
        QTest::addColumn<QString>("screen");
        QTest::addColumn<QStringList>("boxes");  // empty: the IP is `dotted`
        QTest::addColumn<QString>("dotted");
        QTest::addColumn<QString>("outcome");  // "screen ip", or what was refused and its text
        const QStringList sound = {u"192"_qs, u"168"_qs, u"0"_qs, u"100"_qs};
        QTest::newRow("boxes") << u" 7 "_qs << QStringList{u"10.4"_qs, u"０"_qs, u""_qs, u"9x"_qs}
                               << QString() << u"7 10.0.0.9"_qs;
        QTest::newRow("screen 256") << u"256"_qs << QStringList{u"-1"_qs, u"0"_qs, u"0"_qs, u"0"_qs}
                                    << QString() << u"screen: 256"_qs;
        QTest::newRow("screen -1") << u"-1"_qs << sound << QString() << u"screen: -1"_qs;
        QTest::newRow("octet 3") << u"255"_qs << QStringList{u"1"_qs, u"2"_qs, u"-1"_qs, u"256"_qs}
                                 << QString() << u"octet 3: -1"_qs;
        QTest::newRow("dotted") << u"3"_qs << QStringList() << u"192.168.0.103"_qs
                                << u"3 192.168.0.103"_qs;
        QTest::newRow("dotted, three parts")
            << u"3"_qs << QStringList() << u"1.2.3"_qs << u"form: 1.2.3"_qs;
        QTest::newRow("dotted, five parts")
            << u"3"_qs << QStringList() << u"1.2.3.4.5"_qs << u"form: 1.2.3.4.5"_qs;
        QTest::newRow("dotted, screen first")
            << u"300"_qs << QStringList() << u"1.2"_qs << u"screen: 300"_qs;
        QTest::newRow("dotted, octet 4")
            << u"0"_qs << QStringList() << u"1.2.3.256"_qs << u"octet 4: 256"_qs;
    }

    void addressTextsAreReadOrTheFirstBadValueNamed() {
        QFETCH(QString, screen);
        QFETCH(QStringList, boxes);
        QFETCH(QString, dotted);
        QFETCH(QString, outcome);
        const ScreenAddress::Reading reading =
            boxes.isEmpty() ? ScreenAddress::read(screen, dotted)
                            : ScreenAddress::read(screen, {boxes[0], boxes[1], boxes[2], boxes[3]});
        QString got;
        switch (reading.refused) {
            case ScreenAddress::Refused::Nothing:
                got = QString::number(reading.address->screen) + u' ' + reading.address->ipText();
                break;
            case ScreenAddress::Refused::Screen:
                got = u"screen: "_qs + reading.text;
                break;
            case ScreenAddress::Refused::IpForm:
                got = u"form: "_qs + reading.text;
                break;
            case ScreenAddress::Refused::IpOctet:
                got = u"octet %1: "_qs.arg(reading.octet) + reading.text;
                break;
        }
        QCOMPARE(got, outcome);
        QCOMPARE(reading.address.has_value(), reading.refused == ScreenAddress::Refused::Nothing);
    }

    void failedWriteIsReportedAtThePacketBeingWritten_data() {
        QTest::addColumn<int>("write");
        QTest::newRow("data packet 1") << 1;
        QTest::newRow("data packet 5") << 5;
        QTest::newRow("closing packet") << 17;
    }

    void failedWriteIsReportedAtThePacketBeingWritten() {
        QFETCH(int, write);
        FakeSerialPort port;
        port.answers = QList<QByteArray>(16, hex("06"));
        port.failOnWrite = write;
        Link link(port);
        link.choosePort(QStringLiteral("COM1"), QStringLiteral("/dev/fake"));
        DownloadExchange download(link);
        QSignalSpy finished(&download, &DownloadExchange::finished);
        download.start(QByteArray(2048, '\0'));
        const ExchangeOutcome outcome = finish(finished);
        QCOMPARE(outcome.kind, ExchangeOutcome::Kind::PortFailed);
        QCOMPARE(outcome.packet, write);
        QVERIFY(!link.isOpen());
    }
};

QTEST_GUILESS_MAIN(LinkTest)
#include "tst_link.moc"
