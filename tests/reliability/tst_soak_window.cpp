#include "SimWindow.h"
#include "SoakRun.h"

// A long session through the window against the simulated controller: 100 downloads, a fault
// on every third (see SoakRun). After each: the caption or message it ends in, the port closed,
// and (for a good one) the image in the controller; the download after a fault is a good one.
// The controller is restarted before every download: a simulated controller keeps every packet
// it has seen, which would count as growth of this process.
class SoakWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hundredDownloadsWithFaultsLeaveNothingBehind();

private:
    static void download(SimWindow& w, int n);
    static void checkEnd(SimWindow& w, int n, const SoakRun::Fault& fault);
};

void SoakWindowTest::download(SimWindow& w, int n) {
    MapImage image;
    image.set(100, static_cast<std::uint8_t>(n));
    image.set(2047, static_cast<std::uint8_t>(n / 256 + 1));
    w.session().mapOpened(image);
    w.captions.clear();
    w.notifier.messages.clear();
    QVERIFY(w.press(w.window->downloadButton(), 8000));
}

void SoakWindowTest::checkEnd(SimWindow& w, int n, const SoakRun::Fault& fault) {
    QVERIFY2(!w.port.isOpen(), qPrintable(QString::number(n)));
    if (fault.hangsUp()) {
        QCOMPARE(w.notifier.messages, QStringList{u("串口被占用")});
        QCOMPARE(w.captions.last(),
                 u("下载") + QString::number(fault.faults.hangUpAtDataPacket - 1));
        return;
    }
    QVERIFY(w.notifier.messages.isEmpty());
    if (fault.name) {
        QCOMPARE(w.captions.last(), u("下载失败"));
        return;
    }
    QCOMPARE(w.captions.size(), 18);
    QCOMPARE(w.captions.last(), u("下载完成"));
    const QByteArray image = w.sim->image();  // packets 1 and 16 of this download
    QCOMPARE(static_cast<int>(static_cast<unsigned char>(image.at(100))), n % 256);
    QCOMPARE(static_cast<int>(image.at(2047)), n / 256 + 1);
}

void SoakWindowTest::hundredDownloadsWithFaultsLeaveNothingBehind() {
    SimWindow w;
    download(w, 0);  // the first download sets up what every later one reuses
    SoakRun run;
    for (int n = 1; n <= 100; ++n) {
        const SoakRun::Fault fault = run.faultFor(n);
        w.sim.reset();
        w.sim = std::make_unique<SimulatorThread>(fault.faults, w.device);
        download(w, n);
        checkEnd(w, n, fault);
    }
    run.finish("window: 100 downloads");
}

QTEST_MAIN(SoakWindowTest)
#include "tst_soak_window.moc"
