#include <QByteArray>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QPoint>
#include <QProcess>
#include <QRect>
#include <QSerialPort>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <csignal>

#include "ControllerModel.h"
#include "ModuleFamilies.h"
#include "SimulatorThread.h"
#include "TestBytes.h"
#include "VirtualModule.h"

using namespace Qt::StringLiterals;
using namespace ModuleFamilies;

// The simulated controller: its answers, log and module, the module's window, and the program
// as a person runs it. How the module follows a whole wizard, wired in every family, is the
// closed loop's (tests/loop); how the program meets each fault, the fault matrix's (tests/e2e);
// how the framer cuts any stream into packets, its fuzz target's (fuzz/).

namespace {
// The packet with its checksum, the XOR of bytes 8 to its end, in byte 6.
QByteArray withChecksum(QByteArray packet) {
    for (int i = 8; i < packet.size(); ++i) {
        packet[6] = static_cast<char>(packet.at(6) ^ packet.at(i));
    }

    return packet;
}

// A test packet from its sub-code and bytes 9..12, e.g. "0401000000"; a data packet from its
// sequence byte and 128 image bytes.
QByteArray test(const char* subCodeAndBytes) {
    return withChecksum(hex("5AA50DFFFF600000") + hex(subCodeAndBytes));
}
QByteArray dataPacket(int sequence, const QByteArray& bytes = QByteArray(128, '\0')) {
    return withChecksum(hex("5AA588FF") + static_cast<char>(sequence) + hex("610000") + bytes);
}

const QByteArray kHangTest16 = hex("5AA50DFFFF6014000410000000");
// Byte 14 lies outside the checksum span of SetAddress, bytes 8..13.
const QByteArray kSetAddress = hex("5AA528FFFF0A02000F070A01020301") + QByteArray(25, '\0');
const QByteArray kReadAddress = hex("5AA528FFFF0A100010") + QByteArray(31, '\0');
const QByteArray kCell16x4Scan2 = test("0010040002");
}  // namespace

Q_DECLARE_METATYPE(SimulatorFaults)
Q_DECLARE_METATYPE(ModuleFamilies::Size)

class SimulatorTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void answersLogsAndDrivesTheModule_data() {
        QTest::addColumn<SimulatorFaults>("faults");
        QTest::addColumn<QList<QByteArray>>("packets");
        QTest::addColumn<QString>("log");        // of the last packet
        QTest::addColumn<QByteArray>("answer");  // to it, then the stray bytes after it
        // How many LEDs the module, wired straight, then lights: after CellTest every one until a
        // test packet says otherwise, none if a map cannot describe it.
        QTest::addColumn<int>("lit");
        // How each fault keeps an answer back, spoils or cuts it, the fault matrix shows
        // (tests/e2e); the stray bytes after a test packet it only survives.
        SimulatorFaults plain, stray;
        stray.strayAfterTest = hex("06");
        const auto row = [](const char* name, const SimulatorFaults& faults,
                            const QList<QByteArray>& packets, const char* log, const char* answer,
                            int lit = 0) {
            QTest::newRow(name) << faults << packets << QString::fromLatin1(log) << hex(answer)
                                << lit;
        };
        row("stray after a test packet", stray, {kHangTest16}, "HangTest count=16", "06");
        // Checksum 1D = 10 ^ 07 ^ 0A ^ 01 ^ 02 ^ 03, the XOR of bytes 8..39.
        row("read address after set address", plain, {kSetAddress, kReadAddress},
            "ReadAddress -> 5A A5 28 FF FF 0A 1D 00",
            "5AA528FFFF0A1D0010 0000000000000000 07 00000000 0A010203 "
            "0000000000000000000000000000");
        row("data packet 17", plain, {dataPacket(16)},
            "MapDataPacket #17 beyond the image, ignored", "");
        row("bad checksum", plain, {kHangTest16.left(6) + hex("15") + kHangTest16.mid(7)},
            "HangTest checksum BAD (got 15, want 14), ignored", "");
        row("HangTest S: past the last address", plain, {kCell16x4Scan2, test("0402000000")},
            "HangTest count=2", "");
        // The all-zero map would turn this module dark (OE state 1).
        row("DownLoadEnd after 1 data packet changes nothing", plain,
            {kCell16x4Scan2, dataPacket(0), hex("5AA588FF100A040004") + QByteArray(127, '\x33')},
            "DownLoadEnd #17 checksum ok", "", 64);
    }

    void answersLogsAndDrivesTheModule() {
        QFETCH(SimulatorFaults, faults);
        QFETCH(QList<QByteArray>, packets);
        QFETCH(QByteArray, answer);
        ControllerModel model;
        model.setFaults(faults);
        ControllerModel::Reaction reaction;
        for (const QByteArray& packet : packets) {
            reaction = model.handle(packet);
        }
        QTEST(reaction.log, "log");
        QCOMPARE((reaction.answer + reaction.stray).toHex(' '), answer.toHex(' '));
        QTEST(static_cast<int>(model.moduleSnapshot().litLeds().size()), "lit");
    }

    void everyFamilyMapsChainBitsOneToOneOntoTheModule_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<Size>("m");
        for (const char* family : {"straight", "stripe", "reversed", "from-right", "random:7"}) {
            for (const Size m : {Size{64, 32, 16}, {64, 32, 8}, {32, 16, 4}, {128, 32, 16}}) {
                QTest::addRow("%s %dx%d scan %d", family, m.w, m.h, m.s)
                    << QString::fromLatin1(family) << m;
            }
        }
    }

    // Every LED is lit by exactly one chain bit, the one the family's own description names.
    void everyFamilyMapsChainBitsOneToOneOntoTheModule() {
        QFETCH(QString, family);
        QFETCH(Size, m);
        const Wiring wiring = *Wiring::fromName(family);
        QSet<QPoint> leds;
        for (int i = 0, chain = m.w * m.h / m.s; i < m.w * m.h; ++i) {
            const QPoint at = wiring.ledOf({m.w, m.h, m.s}, i / chain, i % chain);
            QCOMPARE(at, led(family, m, i / chain, i % chain));
            QVERIFY(QRect(0, 0, m.w, m.h).contains(at));
            leds.insert(at);
        }
        QCOMPARE(leds.size(), m.w * m.h);
    }

    // The sizes at each limit of what a map can describe: refused with the reason, or lit whole.
    void moduleRefusesWhatAMapCannotDescribe() {
        const std::pair<Size, const char*> sizes[] = {
            {{128, 64, 32}, "scan count 32 is above 16"},
            {{64, 32, 1}, "a chain of 256 groups of 8 is more than the 128 a map holds"},
            {{60, 32, 16}, "width 60 is not a multiple of 8"},
            {{64, 30, 16}, "height 30 is not a multiple of scan count 16"},
            {{64, 32, 0}, "width, height and scan count must be above 0"},
            {{64, 16, 1}, nullptr}};  // 128 groups fit
        for (const auto& [m, reason] : sizes) {
            VirtualModule module;
            module.cellTest(m.w, m.h, m.s);
            const ModuleSnapshot shown = module.snapshot();
            QCOMPARE(
                shown.state.contains(u"cannot describe this module: "_s + QLatin1String(reason)),
                reason != nullptr);
            QCOMPARE(shown.litLeds().size(), reason ? 0 : m.w * m.h);
        }
    }

    // A dead LED stays dark whatever lights it; the LED before it in its chain still lights.
    void deadLedNeverLights() {
        ModuleTruth truth;
        truth.deadLed = ModuleTruth::ChainPosition{0, 70};
        VirtualModule module(truth);
        module.cellTest(64, 32, 16);
        const QSet<QPoint> lit = module.snapshot().litLeds();
        QCOMPARE(lit.size(), 64 * 32 - 1);
        QVERIFY(!lit.contains({6, 16}));  // wired straight: address 0, bit 70
        module.lieTest(70);
        QVERIFY(module.snapshot().litLeds().isEmpty());
        module.lieTest(69);
        QCOMPARE(module.snapshot().litLeds(), QSet<QPoint>{QPoint(5, 16)});
    }

    void programShowsTheModuleTakesADownloadAndEndsOnASignal_data() {
        QTest::addColumn<int>("signal");
        QTest::newRow("Ctrl+C") << SIGINT;
        QTest::newRow("kill") << SIGTERM;
    }

    // One session with the window on a line of 19200 bit/s: the module follows the wizard's packets
    // in the file, then a download of an image whose 128-byte slices all differ, then the end on a
    // signal. How the simulator hangs up, the fault matrix shows (tests/e2e).
    void programShowsTheModuleTakesADownloadAndEndsOnASignal() {
        QTemporaryDir dir;
        const auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
        QProcess sim;
        // "--window" first, where it decides what kind of application runs; "--late 0": a number
        // option takes 0.
        sim.start(QStringLiteral(SIM_PATH),
                  {u"--window"_s, u"--link"_s, path("COM1"), u"--image"_s, path("image.bin"),
                   u"--module-out"_s, path("module.txt"), u"--wiring"_s, u"stripe"_s, u"--oe-lit"_s,
                   u"1"_s, u"--display-lit"_s, u"2"_s, u"--late"_s, u"0"_s, u"--line-time"_s});
        QVERIFY(sim.waitForReadyRead(5000));
        QCOMPARE(sim.readLine().trimmed(), path("COM1").toLocal8Bit());
        const auto file = [&path](const char* name) { return readFile(path(name)); };
        QSerialPort line(path("COM1"));
        QVERIFY(line.open(QIODevice::ReadWrite));
        // OE 00 and display FF are the states this module lights in; LieTest 8 lights bit 8.
        line.write(test("0008040002") + test("0100000000") + test("02FFFFFFFF") +
                   test("0308000000"));
        QTRY_VERIFY_WITH_TIMEOUT(
            file("module.txt")
                .startsWith("........\n........\n#.......\n........\n8x4 scan 2, wiring stripe"),
            5000);
        QByteArray image(2048, '\0');
        std::generate(image.begin(), image.end(), [i = 0]() mutable { return char(i++ % 251); });
        QElapsedTimer sinceWrite;
        sinceWrite.start();
        for (int n = 0; n < 16; ++n) {
            line.write(dataPacket(n, image.mid(n * 128, 128)));
        }
        line.write(hex("5AA588FF100A040004") + image.right(127));
        QByteArray answers;
        QTRY_COMPARE_WITH_TIMEOUT(answers += line.readAll(), QByteArray(16, '\x06'), 5000);
        // 16 x 136 bytes out and the last 06 back at 10 bits a byte and 19200 bit/s take 1.13 s; a
        // pty alone would answer at once.
        QVERIFY2(sinceWrite.elapsed() >= 1132, qPrintable(QString::number(sinceWrite.elapsed())));
        QTRY_COMPARE_WITH_TIMEOUT(file("image.bin"), image, 5000);
        QFETCH(int, signal);
        ::kill(static_cast<pid_t>(sim.processId()), signal);
        QVERIFY(sim.waitForFinished(5000));
        QCOMPARE(sim.exitCode(), 0);
        QVERIFY(!QFileInfo::exists(path("COM1")));
    }
};

QTEST_MAIN(SimulatorTest)
#include "tst_sim.moc"
