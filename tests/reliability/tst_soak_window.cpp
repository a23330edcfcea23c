#include "SimWindow.h"
#include "SoakSupport.h"

// A long session through the window against the simulated controller: 100 downloads, a fault
// drawn from a fixed seed on every third. After each: the caption or message it ends in, the
// port closed, and (for a good one) the image in the controller; the download after a fault
// is a good one. At the end the process holds as many files as at the start and its resident
// memory has grown by less than 2 MiB. The controller is restarted before every download: a
// simulated controller keeps every packet it has seen, which would count as growth of this
// process.
class SoakWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hundredDownloadsWithFaultsLeaveNothingBehind();

private:
    static void download(SimWindow& w, int n);
    static void checkGood(SimWindow& w, int n);
    static void checkFault(SimWindow& w, const Soak::Fault& fault);
};

void SoakWindowTest::download(SimWindow& w, int n) {
    MapImage image;
    image.set(100, static_cast<std::uint8_t>(n));
    image.set(2047, static_cast<std::uint8_t>(n / 256 + 1));
    w.session().mapOpened(image);
    w.captions.clear();
    w.notifier.messages.clear();
    w.window->downloadButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(w.idle(), 8000);
}

void SoakWindowTest::checkGood(SimWindow& w, int n) {
    QCOMPARE(w.captions.size(), 18);
    QCOMPARE(w.captions.last(), u("下载完成"));
    QVERIFY(w.notifier.messages.isEmpty());
    const QByteArray image = w.sim->image();  // packets 1 and 16 of this download
    QCOMPARE(static_cast<int>(static_cast<unsigned char>(image.at(100))), n % 256);
    QCOMPARE(static_cast<int>(image.at(2047)), n / 256 + 1);
}

void SoakWindowTest::checkFault(SimWindow& w, const Soak::Fault& fault) {
    if (fault.hangsUp) {
        QCOMPARE(w.notifier.messages, QStringList{u("串口被占用")});
        QCOMPARE(w.captions.last(),
                 u("下载") + QString::number(fault.faults.hangUpAtDataPacket - 1));
    } else {
        QVERIFY(w.notifier.messages.isEmpty());
        QCOMPARE(w.captions.last(), u("下载失败"));
    }
}

void SoakWindowTest::hundredDownloadsWithFaultsLeaveNothingBehind() {
    SimWindow w;
    std::mt19937 random(20240611);
    download(w, 0);  // the first download sets up what every later one reuses
    const int files = Soak::openFiles();
    const qint64 resident = Soak::residentBytes();
    QMap<QString, int> faults;
    for (int n = 1; n <= 100; ++n) {
        const bool faulty = n % 3 == 0;
        const Soak::Fault fault = faulty ? Soak::drawFault(random) : Soak::Fault{};
        w.sim.reset();
        w.sim = std::make_unique<SimulatorThread>(fault.faults, w.device);
        download(w, n);
        QVERIFY2(!w.port.isOpen(), qPrintable(QString::number(n)));
        if (faulty) {
            checkFault(w, fault);
            ++faults[QString::fromLatin1(fault.name)];
        } else {
            checkGood(w, n);
        }
    }
    const qint64 grown = Soak::residentBytes() - resident;
    qInfo(
        "window: 100 downloads, faults %s; open files %d before, %d after; resident "
        "memory %lld KiB before, grown by %lld KiB",
        Soak::tally(faults).constData(), files, Soak::openFiles(), resident / 1024, grown / 1024);
    QCOMPARE(Soak::openFiles(), files);
    QVERIFY(grown < 2 * 1024 * 1024);
}

QTEST_MAIN(SoakWindowTest)
#include "tst_soak_window.moc"
