#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>

#include "QtSerialPort.h"
#include "RecordingNotifier.h"
#include "ScriptedDialogs.h"
#include "SimulatorThread.h"
#include "StatusLabel.h"
#include "Lumotrix.h"

using namespace std::chrono_literals;

// The window's exchanges over a real serial port (a pseudo-terminal) against the simulated
// controller.
class ExchangesPtyTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup();

    void downloadOfAnOpenedFileLeavesItsBytesInTheController();
    void nakToDataPacket1FailsTheDownload();
    void hangUpMidDownloadIsReportedAndTheNextExchangeReopens();
    void portHeldElsewhereStopsTheDownloadBeforeItSends();
    void setThenReadBringsTheValuesBack();
    void lateAnswersFail_data();
    void lateAnswersFail();
    void shortReadAnswerFailsWithoutTouchingTheBoxes();
    void strayBytesFromTestPacketsAreNotTakenForAnAnswer();

private:
    void start(const SimulatorFaults& faults = {});
    void waitUntilIdle(int ms = 6000) {
        QTRY_VERIFY_WITH_TIMEOUT(!m_program->commands().isBusy(), ms);
    }
    const OEControls& c() { return m_program->window().controls(); }

    std::unique_ptr<SimulatorThread> m_sim;
    std::unique_ptr<QtSerialPort> m_port;
    RecordingNotifier m_notifier;
    ScriptedDialogs m_dialogs;
    std::unique_ptr<Lumotrix> m_program;
    QStringList m_captions;
};

namespace {
QString u(const char* s) { return QString::fromUtf8(s); }
}  // namespace

void ExchangesPtyTest::init() {
    m_notifier.messages.clear();
    m_captions.clear();
}

void ExchangesPtyTest::start(const SimulatorFaults& faults) {
    m_sim = std::make_unique<SimulatorThread>(faults);
    QVERIFY2(m_sim->isRunning(), qPrintable(m_sim->errorString()));
    m_port = std::make_unique<QtSerialPort>();
    // Asked at every open: after a hang-up the simulator offers a fresh device.
    m_program = std::make_unique<Lumotrix>(Lumotrix::Seams{
        *m_port, m_notifier, m_dialogs, [this](int) { return m_sim->devicePath(); }});
    m_program->startUp();
    connect(qobject_cast<StatusLabel*>(c().Label6), &StatusLabel::captionChanged, this,
            [this](const QString& text) { m_captions.append(text); });
}

void ExchangesPtyTest::cleanup() {
    m_program.reset();
    m_port.reset();
    m_sim.reset();
}

void ExchangesPtyTest::downloadOfAnOpenedFileLeavesItsBytesInTheController() {
    start();
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("map.bin"));
    QByteArray bytes(2048, '\0');
    for (int i = 0; i < 2048; ++i) {
        bytes[i] = static_cast<char>((i * 31 + i / 256) & 0xFF);
    }
    QFile f(file);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    f.close();
    m_dialogs.answers = {file};
    c().Open->click();
    QVERIFY(c().DownLoad->isEnabled());

    c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_captions.first(), u("下载0"));
    QCOMPARE(m_captions.last(), u("下载完成"));
    QCOMPARE(m_captions.size(), 18);
    QVERIFY(m_sim->waitForLog(QStringLiteral("DownLoadEnd"), 2s));
    QCOMPARE(m_sim->image(), bytes);
    QStringList dataPackets = m_sim->log().filter(QStringLiteral("MapDataPacket #"));
    QCOMPARE(dataPackets.size(), 16);
    for (int n = 0; n < 16; ++n) {
        QVERIFY2(dataPackets[n].contains(QStringLiteral("#%1 checksum ok").arg(n)),
                 qPrintable(dataPackets[n]));
    }
    QVERIFY(!m_port->isOpen());
    QVERIFY(m_notifier.messages.isEmpty());
}

void ExchangesPtyTest::nakToDataPacket1FailsTheDownload() {
    SimulatorFaults faults;
    faults.nakDataPacket = 1;
    start(faults);
    c().DownLoad->setEnabled(true);
    c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_captions, (QStringList{u("下载0"), u("下载失败")}));
    QCOMPARE(m_sim->log().filter(QStringLiteral("MapDataPacket")).size(), 1);
    QVERIFY(!m_port->isOpen());
}

void ExchangesPtyTest::hangUpMidDownloadIsReportedAndTheNextExchangeReopens() {
    SimulatorFaults faults;
    faults.hangUpAtDataPacket = 3;
    start(faults);
    c().DownLoad->setEnabled(true);
    c().DownLoad->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), u("下载2"));
    QCOMPARE(m_notifier.messages, QStringList{u("串口被占用")});
    QVERIFY(!m_port->isOpen());

    m_sim->setFaults({});
    c().Command1->click();  // the simulator offers a fresh device at the same path
    waitUntilIdle();
    QCOMPARE(m_captions.last(), u("设置成功"));
    QCOMPARE(m_notifier.messages.size(), 1);
}

void ExchangesPtyTest::portHeldElsewhereStopsTheDownloadBeforeItSends() {
    start();
    QProcess holder;
    holder.start(QStringLiteral(PORT_HOLDER_PATH), {m_sim->devicePath()});
    QVERIFY(holder.waitForReadyRead(5000));
    m_program->window().state().StepNum = 3;
    c().DownLoad->setEnabled(true);
    c().DownLoad->click();
    QCOMPARE(m_program->window().state().StepNum.value(), 1);
    waitUntilIdle();
    QCOMPARE(m_captions, QStringList{u("下载0")});
    QCOMPARE(m_notifier.messages, QStringList{u("串口被占用")});
    QVERIFY(m_sim->log().filter(QStringLiteral("MapDataPacket")).isEmpty());
    holder.closeWriteChannel();
    QVERIFY(holder.waitForFinished(5000));
}

void ExchangesPtyTest::setThenReadBringsTheValuesBack() {
    start();
    c().Text2->setText(QStringLiteral("7"));
    c().Text3->setText(QStringLiteral("168"));
    c().Text4->setText(QStringLiteral("1"));
    c().Text5->setText(QStringLiteral("10"));
    c().Command1->click();
    waitUntilIdle();
    QCOMPARE(m_captions, (QStringList{u("设置地址"), u("设置成功")}));
    QVERIFY(m_sim->waitForLog(QStringLiteral("SetAddress screen=7 ip=192.168.1.10"), 2s));
    for (QLineEdit* box : {c().Text2, c().Text1, c().Text3, c().Text4, c().Text5}) {
        box->setText(QStringLiteral("0"));
    }
    c().Command2->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), u("读出成功"));
    QCOMPARE(QStringList({c().Text2->text(), c().Text1->text(), c().Text3->text(),
                          c().Text4->text(), c().Text5->text()}),
             QStringList({u("7"), u("192"), u("168"), u("1"), u("10")}));
    QVERIFY(!m_port->isOpen());
}

void ExchangesPtyTest::lateAnswersFail_data() {
    QTest::addColumn<bool>("read");
    QTest::newRow("set") << false;
    QTest::newRow("read") << true;
}

void ExchangesPtyTest::lateAnswersFail() {
    QFETCH(bool, read);
    SimulatorFaults faults;
    faults.answerDelay = 300ms;
    start(faults);
    (read ? c().Command2 : c().Command1)->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), read ? u("读出失败") : u("设置失败"));
    QCOMPARE(c().Text1->text(), u("192"));
    QVERIFY(!m_port->isOpen());
}

void ExchangesPtyTest::shortReadAnswerFailsWithoutTouchingTheBoxes() {
    SimulatorFaults faults;
    faults.shortAddressAnswer = true;
    start(faults);
    c().Text2->setText(QStringLiteral("42"));
    c().Command2->click();
    waitUntilIdle();
    QCOMPARE(m_captions, (QStringList{u("读出地址"), u("读出失败")}));
    QCOMPARE(c().Text2->text(), u("42"));
    QVERIFY(m_notifier.messages.isEmpty());
}

void ExchangesPtyTest::strayBytesFromTestPacketsAreNotTakenForAnAnswer() {
    SimulatorFaults faults;
    faults.strayAfterTest = QByteArray("\x06", 1);
    start(faults);
    c().NextB->click();  // CellTest: the controller reacts with a stray 06
    QVERIFY(m_sim->waitForLog(QStringLiteral("CellTest"), 2s));
    QTest::qWait(50);
    faults.neverAnswer = true;
    m_sim->setFaults(faults);
    c().Command1->click();
    waitUntilIdle();
    QCOMPARE(m_captions.last(), u("设置失败"));
}

QTEST_MAIN(ExchangesPtyTest)
#include "tst_exchanges_pty.moc"
