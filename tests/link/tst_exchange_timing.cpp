#include <QByteArray>
#include <QSignalSpy>
#include <QTest>

#include "SimulatorThread.h"
#include "core/Errors.h"
#include "link/AddressExchange.h"
#include "link/DownloadExchange.h"
#include "link/Link.h"
#include "link/QtSerialPort.h"

using namespace std::chrono_literals;

Q_DECLARE_METATYPE(ExchangeOutcome::Kind)

// The answer waits the controller depends on, through the exchanges the program runs, against
// a simulated controller that answers every request after a chosen delay: the first data
// packet's answer is looked at after 500 ms, every other answer after 100 ms. The margins are
// wide because these machines are shared. And the port's report of a line that went away.
class ExchangeTimingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersWithinTheWaitAreTakenAndLaterOnesAreNot_data() {
        QTest::addColumn<QString>("exchange");
        QTest::addColumn<int>("delay");
        QTest::addColumn<ExchangeOutcome::Kind>("kind");
        QTest::addColumn<int>("packet");  // where the exchange ended
        using K = ExchangeOutcome::Kind;
        QTest::newRow("first data packet at 350 ms") << "download" << 350 << K::NotAccepted << 2;
        QTest::newRow("first data packet at 700 ms") << "download" << 700 << K::NotAccepted << 1;
        QTest::newRow("every data packet at 20 ms") << "download" << 20 << K::Done << 17;
        QTest::newRow("later data packets at 250 ms") << "download" << 250 << K::NotAccepted << 2;
        QTest::newRow("set at 20 ms") << "set" << 20 << K::Done << 1;
        QTest::newRow("set at 250 ms") << "set" << 250 << K::NotAccepted << 1;
        QTest::newRow("read at 20 ms") << "read" << 20 << K::Done << 1;
        QTest::newRow("read at 250 ms") << "read" << 250 << K::NotAccepted << 1;
    }

    void answersWithinTheWaitAreTakenAndLaterOnesAreNot() {
        QFETCH(QString, exchange);
        QFETCH(int, delay);
        QFETCH(ExchangeOutcome::Kind, kind);
        QFETCH(int, packet);
        SimulatorFaults faults;
        faults.answerDelay = std::chrono::milliseconds(delay);
        SimulatorThread sim(faults);
        QtSerialPort port;
        Link link(port);
        link.choosePort(QStringLiteral("COM1"), sim.devicePath());
        DownloadExchange download(link);
        AddressExchange address(link);
        QSignalSpy downloaded(&download, &DownloadExchange::finished);
        QSignalSpy addressed(&address, &AddressExchange::finished);
        if (exchange == QLatin1String("download")) {
            download.start(QByteArray(2048, '\0'));
        } else if (exchange == QLatin1String("set")) {
            address.startSet(ScreenAddress{1, {10, 0, 0, 1}});
        } else {
            address.startRead();
        }
        QSignalSpy& spy = exchange == QLatin1String("download") ? downloaded : addressed;
        QVERIFY(spy.wait(5000));
        const auto outcome = spy.first().at(0).value<ExchangeOutcome>();
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(outcome.packet, packet);
    }

    // A line hung up under an open port is reported as a device gone by the write that finds it,
    // not left for the next read.
    void writeToAVanishedDeviceSaysItIsGone() {
        SimulatorThread sim;
        QtSerialPort port;
        port.open(sim.devicePath());
        sim.hangUp();
        try {
            port.write(QByteArray(13, '\0'));
            QFAIL("the write went unnoticed");
        } catch (const PortError& e) {
            QVERIFY2(QByteArray(e.what()).contains("device vanished"), e.what());
        }
        QVERIFY(!port.isOpen());
    }
};

QTEST_GUILESS_MAIN(ExchangeTimingTest)
#include "tst_exchange_timing.moc"
