#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "AddressPanel.h"
#include "CliRunner.h"
#include "MainWindow.h"
#include "MapFile.h"
#include "QtSerialPort.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"
#include "SimulatorThread.h"

// The window and lumotrix-cli put the same bytes on the line for the same map file and the
// same address values: each drives its own simulated controller, and the packets the two
// controllers received are compared byte for byte.
class CliSameBytesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void windowAndCliSendIdenticalPackets();
};

namespace {
QString u(const char* s) {
    return QString::fromUtf8(s);
}
}  // namespace

void CliSameBytesTest::windowAndCliSendIdenticalPackets() {
    SimulatorThread windowSim;
    SimulatorThread cliSim;
    QVERIFY(windowSim.isRunning() && cliSim.isRunning());
    QByteArray image(2048, '\0');
    for (int i = 0; i < image.size(); ++i) {
        image[i] = static_cast<char>((i * 13 + i / 128) & 0xFF);
    }
    QTemporaryDir dir;
    const QString file = dir.filePath(u("map.bin"));
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly) && f.write(image) == image.size());
    f.close();

    QtSerialPort port;
    RecordingNotifier notifier;
    ScriptedDialogs dialogs;
    const PortNames names([] { return QStringList(); },
                          [&windowSim](const QString&) { return windowSim.devicePath(); });
    MainWindow window({port, notifier, dialogs, names});
    window.session().mapOpened(MapFile::load(file));

    // Both downloads run at once: the window's on this thread's event loop, which the CLI's
    // wait keeps turning.
    window.commands().download();
    const CliRun download = runCli({u("download"), file, u("--port"), cliSim.devicePath()});
    QCOMPARE(download.code, 0);
    QTRY_VERIFY_WITH_TIMEOUT(!window.commands().isBusy(), 5000);

    AddressPanel* panel = window.addressPanel();
    panel->screenNumberEdit()->setText(u("9"));
    const char* ip[] = {"172", "16", "254", "3"};
    for (int i = 0; i < 4; ++i) {
        panel->ipEdits()[i]->setText(u(ip[i]));
    }
    panel->setAddressButton()->click();
    QTRY_VERIFY_WITH_TIMEOUT(!window.commands().isBusy(), 2000);
    const CliRun set = runCli({u("set-address"), u("--port"), cliSim.devicePath(), u("--screen"),
                               u("9"), u("--ip"), u("172.16.254.3")});
    QCOMPARE(set.code, 0);
    QVERIFY(notifier.messages.isEmpty());

    const QList<QByteArray> fromWindow = windowSim.packets();
    const QList<QByteArray> fromCli = cliSim.packets();
    QCOMPARE(fromCli.size(), 18);
    QCOMPARE(fromCli, fromWindow);
    QCOMPARE(fromCli.first().left(6), QByteArray::fromHex("5AA588FF0061"));
    QCOMPARE(fromCli.at(16).left(9), QByteArray::fromHex("5AA588FF100A040004"));
    QCOMPARE(fromCli.at(17).left(14), QByteArray::fromHex("5AA528FFFF0A47000F09AC10FE03"));
    QCOMPARE(cliSim.image(), image);
}

QTEST_MAIN(CliSameBytesTest)
#include "tst_cli_same_bytes.moc"
