#include <optional>

#include "SimWindow.h"
#include "SoakRun.h"

// A long session through the window against the simulated controller: 100 downloads, a fault
// on every third (see SoakRun), after a download 0 that sets up what they all reuse. After each:
// the caption or message it ends in, the port closed, and (for a good one) the image in the
// controller; the download after a fault is a good one. The controller is restarted before every
// download: a simulated controller keeps every packet it has seen, which would count as growth of
// this process.
class SoakWindowTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void hundredDownloadsWithFaultsLeaveNothingBehind() {
        SimWindow w;
        std::optional<SoakRun> run;  // begins once the first download has set up what all reuse
        for (int n = 0; n <= 100; ++n) {
            const SoakRun::Fault fault = run ? run->faultFor(n) : SoakRun::Fault();
            w.sim.reset();
            w.sim = std::make_unique<SimulatorThread>(fault.faults, w.device);
            MapImage image;  // this download's own bytes in every packet
            image.assign(QByteArray(2048, static_cast<char>(n)));
            w.session().mapOpened(image);
            w.captions.clear();
            w.notifier.messages.clear();
            QVERIFY(w.press(w.window->downloadButton(), 8000));
            QVERIFY2(!w.port.isOpen(), qPrintable(QString::number(n)));
            const int hangUp = fault.faults.hangUpAtDataPacket;
            QCOMPARE(w.notifier.messages, hangUp ? QStringList{u("串口被占用")} : QStringList());
            if (fault.name) {
                QCOMPARE(w.captions.last(),
                         hangUp ? u("下载") + QString::number(hangUp - 1) : u("下载失败"));
            } else {
                QCOMPARE(w.captions, downloadCaptions(16) << u("下载完成"));
                QCOMPARE(w.sim->image(), image.toBytes());
            }
            if (!run) {
                run.emplace();
            }
        }
        run->finish("window: 100 downloads");
    }
};

QTEST_MAIN(SoakWindowTest)
#include "tst_soak_window.moc"
