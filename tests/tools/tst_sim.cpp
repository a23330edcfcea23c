#include <QLabel>
#include <QProcess>
#include <QSerialPort>
#include <QtTest>
#include <csignal>

#include "ControllerModel.h"
#include "ModuleFamilies.h"
#include "ModuleWindow.h"
#include "PacketFramer.h"
#include "SimulatorThread.h"

using namespace Qt::StringLiterals;
using namespace ModuleFamilies;

// The simulated controller: the framer, the controller's answers, log and module, the virtual
// module's wirings and pictures, the module's window, the line faults, and the program as a
// person runs it. Wirings, pictures and maps are those of ModuleFamilies.h, defined by the
// tests; how the module follows a whole wizard is the closed loop's (tests/loop).

namespace {
QByteArray hex(const char* text) {
    return QByteArray::fromHex(text);
}

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
    void framerCutsTheStreamIntoPackets_data();
    void framerCutsTheStreamIntoPackets();
    void answersLogsAndDrivesTheModule_data();
    void answersLogsAndDrivesTheModule();
    void everyFamilyMapsChainBitsOneToOneOntoTheModule_data();
    void everyFamilyMapsChainBitsOneToOneOntoTheModule();
    void moduleShowsWhatItsSizeAndMapAllow_data();
    void moduleShowsWhatItsSizeAndMapAllow();
    void windowDrawsLitLedsAsRoundRedDotsInPlaceAtAnySize();
    void lineTimeHoldsTheAnswerBackAndAHangUpClosesTheLine();
    void optionsAreCheckedAndExplained_data();
    void optionsAreCheckedAndExplained();
    void programShowsTheModuleTakesADownloadAndEndsOnASignal_data();
    void programShowsTheModuleTakesADownloadAndEndsOnASignal();
};

// Each stream is fed in three pieces: its first 2 bytes, the next 5, the rest.
void SimulatorTest::framerCutsTheStreamIntoPackets_data() {
    QTest::addColumn<QByteArray>("stream");
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<int>("skipped");
    const QByteArray hang = test("0400000000");
    QTest::newRow("two packets") << kReadAddress + hang << QList{kReadAddress, hang} << 0;
    QTest::newRow("stray byte before") << hex("06") + hang << QList{hang} << 1;
    QTest::newRow("5A without A5") << hex("5A00") + hang << QList{hang} << 2;
    QTest::newRow("a length no packet has") << hex("5AA50E") + hang << QList{hang} << 3;
    QTest::newRow("5A 5A A5") << hex("5A") + hang << QList{hang} << 1;
}

void SimulatorTest::framerCutsTheStreamIntoPackets() {
    QFETCH(QByteArray, stream);
    PacketFramer framer;
    QList<QByteArray> cut;
    for (const QByteArray& piece : {stream.left(2), stream.mid(2, 5), stream.mid(7)}) {
        cut += framer.feed(piece);
    }
    QTEST(cut, "packets");
    QTEST(framer.takeSkipped(), "skipped");
}

void SimulatorTest::answersLogsAndDrivesTheModule_data() {
    QTest::addColumn<SimulatorFaults>("faults");
    QTest::addColumn<QList<QByteArray>>("packets");
    QTest::addColumn<QString>("log");        // of the last packet
    QTest::addColumn<QByteArray>("answer");  // to it, then the stray bytes after it
    // The LEDs of a 16 x 4 scan 2 module wired straight, lit in OE state 2 and display state 1
    // (the defaults), one row after the other; "-" stands for 8 dark LEDs.
    QTest::addColumn<QString>("leds");
    QTest::addColumn<QString>("state");  // how the state line ends before " | last: " and the log
    SimulatorFaults plain, nak3, silent2, never, garbage, shortRead, hang2, stray;
    nak3.nakDataPacket = 3;
    silent2.silentDataPacket = 2;
    never.neverAnswer = true;
    garbage.garbageAnswer = true;
    shortRead.shortAddressAnswer = true;
    hang2.hangUpAtDataPacket = 2;
    stray.strayAfterTest = hex("06");
    const auto row = [](const char* name, const SimulatorFaults& faults,
                        const QList<QByteArray>& packets, const char* log, const char* answer,
                        const QString& leds = {}, const char* state = "") {
        QTest::newRow(name) << faults << packets << QString::fromLatin1(log) << hex(answer)
                            << QString(leds).replace(u'-', u"........"_s)
                            << QString::fromLatin1(state);
    };
    row("cell test", plain, {hex("5AA50DFFFF6070000040200010")},
        "CellTest width=64 height=32 colour=0 scan=16", "", QString(2048, u'#'));
    row("stray after a test packet", stray, {kHangTest16}, "HangTest count=16", "06");
    // Checksum 1D = 10 ^ 07 ^ 0A ^ 01 ^ 02 ^ 03, the XOR of bytes 8..39.
    row("read address after set address", plain, {kSetAddress, kReadAddress},
        "ReadAddress -> 5A A5 28 FF FF 0A 1D 00",
        "5AA528FFFF0A1D0010 0000000000000000 07 00000000 0A010203 0000000000000000000000000000");
    // Screen 0 and 192.168.0.100 before any SetAddress: 1C = 10 ^ C0 ^ A8 ^ 64.
    row("short read", shortRead, {kReadAddress}, "ReadAddress -> 5A A5 28 FF FF 0A 1C 00",
        "5AA528FFFF0A1C001000");
    row("never answers", never, {kSetAddress}, "SetAddress screen=7 ip=10.1.2.3", "");
    row("garbage", garbage, {kReadAddress}, "ReadAddress -> A5 13 FF 00 C3", "A513FF00C3");
    row("NAK to 3 at 3", nak3, {dataPacket(2)}, "MapDataPacket #3 checksum ok -> 15", "15");
    row("silent at 2", silent2, {dataPacket(1)}, "MapDataPacket #2 checksum ok, not answering", "");
    row("hang up at 2", hang2, {dataPacket(0), dataPacket(1)},
        "MapDataPacket #2 checksum ok, hanging up", "");
    row("data packet 17", plain, {dataPacket(16)}, "MapDataPacket #17 beyond the image, ignored",
        "");
    row("unknown setting", plain, {hex("5AA528FFFF0A070007") + QByteArray(31, '\0')},
        "unknown packet 5A A5 28 FF FF 0A 07 00 07", "");
    row("bad checksum", plain, {kHangTest16.left(6) + hex("15") + kHangTest16.mid(7)},
        "HangTest checksum BAD (got 15, want 14), ignored", "");
    row("DisTest FF is state 2: inverted; OE not sent is right", plain,
        {kCell16x4Scan2, test("02FFFFFFFF"), test("0401000000")}, "HangTest count=1", "",
        QString(16, u'#') + u".###############"_s + QString(32, u'#'));
    row("HangTest S: past the last address", plain, {kCell16x4Scan2, test("0402000000")},
        "HangTest count=2", "", u"--------"_s,
        "showing nothing: every row address done | OE level not set, display level not set");
    row("LieTest 257: past the chain", plain, {kCell16x4Scan2, test("0301010000")},
        "LieTest count=257", "", u"--------"_s);
    // The all-zero map would turn this module dark (OE state 1).
    row("DownLoadEnd after 1 data packet changes nothing", plain,
        {kCell16x4Scan2, dataPacket(0), hex("5AA588FF100A040004") + QByteArray(127, '\x33')},
        "DownLoadEnd #17 checksum ok", "", QString(64, u'#'));
}

void SimulatorTest::answersLogsAndDrivesTheModule() {
    QFETCH(SimulatorFaults, faults);
    QFETCH(QList<QByteArray>, packets);
    QFETCH(QString, log);
    QFETCH(QByteArray, answer);
    QFETCH(QString, state);
    ControllerModel model;
    model.setFaults(faults);
    ControllerModel::Reaction reaction;
    for (const QByteArray& packet : packets) {
        reaction = model.handle(packet);
    }
    QCOMPARE(reaction.log, log);
    QCOMPARE((reaction.answer + reaction.stray).toHex(' '), answer.toHex(' '));
    QCOMPARE(reaction.hangUp, log.endsWith("hanging up"_L1));
    QTEST(model.moduleSnapshot().rows().join(QString()), "leds");
    const QString line = model.moduleSnapshot().state;
    QVERIFY2(line.endsWith(state + " | last: "_L1 + log), qPrintable(line));
}

void SimulatorTest::everyFamilyMapsChainBitsOneToOneOntoTheModule_data() {
    QTest::addColumn<QString>("family");
    QTest::addColumn<Size>("m");
    for (const char* family : {"straight", "stripe", "reversed", "from-right", "random:7"}) {
        for (const Size m : {Size{64, 32, 16}, {64, 32, 8}, {32, 16, 4}, {128, 32, 16}}) {
            QTest::addRow("%s %dx%d scan %d", family, m.w, m.h, m.s)
                << QString::fromLatin1(family) << m;
        }
    }
}

// Bit j of a group is its j-th LED from the left, and each address places its groups as
// address 0 does, shifted by whole rows; a random wiring follows its seed.
void SimulatorTest::everyFamilyMapsChainBitsOneToOneOntoTheModule() {
    QFETCH(QString, family);
    QFETCH(Size, m);
    const Wiring wiring = *Wiring::fromName(family);
    const auto at = [&wiring, m](int a, int b) { return wiring.ledOf({m.w, m.h, m.s}, a, b); };
    QSet<QPoint> leds;
    int moved = 0;
    for (int i = 0, chain = m.w * m.h / m.s; i < m.w * m.h; ++i) {
        const int a = i / chain;
        const int b = i % chain;
        QCOMPARE(at(a, b), led(family, m, a, b));
        QCOMPARE(at(a, b), at(0, b) + QPoint(0, at(a, 0).y() - at(0, 0).y()));
        QCOMPARE(at(a, b).x() % 8, b % 8);
        QVERIFY(QRect(0, 0, m.w, m.h).contains(at(a, b)));
        moved += Wiring::fromName(u"random:8"_s)->ledOf({m.w, m.h, m.s}, a, b) != at(a, b);
        leds.insert(at(a, b));
    }
    QCOMPARE(leds.size(), m.w * m.h);
    QVERIFY(!family.startsWith("random"_L1) || moved > m.w * m.h / 2);
}

void SimulatorTest::moduleShowsWhatItsSizeAndMapAllow_data() {
    // A module wired straight after CellTest, then, unless `at` is -1, the matching map with byte
    // `at` set to value: the LEDs lit, how many are out of place and a part of the state line.
    QTest::addColumn<Size>("m");
    QTest::addColumn<int>("at");
    QTest::addColumn<int>("value");
    QTest::addColumn<QSet<QPoint>>("lit");
    QTest::addColumn<int>("outOfPlace");
    QTest::addColumn<QString>("state");
    const auto refused = [](const char* name, Size m, const char* reason) {
        QTest::newRow(name) << m << -1 << 0 << QSet<QPoint>() << -1
                            << u"cannot describe this module: "_s + QString::fromLatin1(reason);
    };
    refused("128x64 scan 32", {128, 64, 32}, "scan count 32 is above 16");
    refused("64x32 scan 1", {64, 32, 1},
            "a chain of 256 groups of 8 is more than the 128 a map holds");
    refused("width 60", {60, 32, 16}, "width 60 is not a multiple of 8");
    refused("height 30", {64, 30, 16}, "height 30 is not a multiple of scan count 16");
    refused("scan 0", {64, 32, 0}, "width, height and scan count must be above 0");
    QTest::newRow("128 groups fit") << Size{64, 16, 1} << -1 << 0 << picture(64, 16, true) << -1
                                    << u"64x16 scan 1, wiring straight"_s;
    const Size m{64, 32, 16};
    QTest::newRow("no column entries")
        << m << 14 << 0 << QSet<QPoint>() << 2048
        << u"the test picture through the map | OE level 2 (right), display level 1 (right) | "
           u"2048 LEDs out of place"_s;
}

void SimulatorTest::moduleShowsWhatItsSizeAndMapAllow() {
    QFETCH(Size, m);
    QFETCH(int, at);
    QFETCH(int, value);
    QFETCH(QString, state);
    VirtualModule module;
    module.cellTest(m.w, m.h, m.s);
    if (at >= 0) {
        QByteArray image = map(u"straight"_s, m);
        image[at] = static_cast<char>(value);
        module.showMap(image);
    }
    QTEST(module.snapshot().litLeds(), "lit");
    QTEST(module.snapshot().outOfPlace, "outOfPlace");
    QVERIFY2(module.snapshot().state.contains(state), qPrintable(module.snapshot().state));
}

void SimulatorTest::windowDrawsLitLedsAsRoundRedDotsInPlaceAtAnySize() {
    // 16 x 4 with its top-left and bottom-right LEDs lit.
    ModuleSnapshot module{QSize(16, 4), QBitArray(64), u"16x4 scan 2"_s};
    module.lit.setBit(0);
    module.lit.setBit(63);
    for (const QSize size : {QSize(900, 300), QSize(300, 600), QSize(200, 150)}) {
        ModuleWindow window;
        window.showModule(module);
        window.resize(size);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = window.grab().toImage();
        QRect dots[2];  // top-left, bottom-right
        for (int i = 0; i < shot.width() * shot.height(); ++i) {
            const QRgb pixel = shot.pixel(i % shot.width(), i / shot.width());
            if (qRed(pixel) > 200 && qGreen(pixel) < 100 && qBlue(pixel) < 100) {
                dots[i % shot.width() < shot.width() / 2 ? 0 : 1] |=
                    QRect(i % shot.width(), i / shot.width(), 1, 1);
            }
        }
        const QLabel* state = window.findChild<QLabel*>();
        QCOMPARE(state->text(), module.state);
        QVERIFY(!dots[0].isEmpty() && dots[0].bottom() < dots[1].top());
        QVERIFY(dots[1].bottom() < state->geometry().top());
        QVERIFY2(std::abs(dots[0].width() - dots[0].height()) <= 1, "a dot is round");
        QVERIFY(std::abs(dots[1].width() - dots[0].width()) <= 1);
    }
}

void SimulatorTest::lineTimeHoldsTheAnswerBackAndAHangUpClosesTheLine() {
    SimulatorFaults faults;
    faults.lineTime = true;
    faults.hangUpAtDataPacket = 2;
    SimulatorThread sim(faults);
    QSerialPort line(sim.devicePath());
    QVERIFY(line.open(QIODevice::ReadWrite));
    QElapsedTimer sinceWrite;
    sinceWrite.start();
    line.write(dataPacket(0));
    QVERIFY(line.waitForReadyRead(5000));
    QCOMPARE(line.readAll(), QByteArray("\x06"));
    // 136 bytes out and 1 byte back at 10 bits a byte and 19200 bit/s take 71.4 ms; a pty
    // alone would answer at once.
    QVERIFY2(sinceWrite.elapsed() >= 71, qPrintable(QString::number(sinceWrite.elapsed())));
    line.write(dataPacket(1));
    // The closed line shows as a read error or a lost resource, depending on when it is seen.
    QTRY_VERIFY_WITH_TIMEOUT(
        line.error() == QSerialPort::ResourceError || line.error() == QSerialPort::ReadError, 5000);
}

void SimulatorTest::optionsAreCheckedAndExplained_data() {
    QTest::addColumn<QString>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("output");  // how stdout and stderr together begin
    QTest::newRow("unknown family") << u"--wiring zigzag"_s << 2 << u"--wiring needs one of"_s;
    QTest::newRow("random without a seed") << u"--wiring random"_s << 2 << u"--wiring needs"_s;
    QTest::newRow("OE state 3") << u"--oe-lit 3"_s << 2 << u"--oe-lit needs 1 or 2"_s;
    QTest::newRow("late -1") << u"--late -1"_s << 2 << u"--late needs a number"_s;
    QTest::newRow("help") << u"--help"_s << 0 << u"Usage: "_s;
}

void SimulatorTest::optionsAreCheckedAndExplained() {
    QFETCH(QString, arguments);
    QFETCH(QString, output);
    QProcess sim;
    sim.setProcessChannelMode(QProcess::MergedChannels);
    sim.start(QStringLiteral(SIM_PATH), arguments.split(u' '));
    QVERIFY(sim.waitForFinished(5000));
    QTEST(sim.exitCode(), "exitCode");
    const QString printed = QString::fromLocal8Bit(sim.readAll());
    QVERIFY2(printed.startsWith(output), qPrintable(printed));
}

void SimulatorTest::programShowsTheModuleTakesADownloadAndEndsOnASignal_data() {
    QTest::addColumn<int>("signal");
    QTest::newRow("Ctrl+C") << SIGINT;
    QTest::newRow("kill") << SIGTERM;
}

// One session with the window: the module follows the wizard's packets in the file, then a
// download of an image whose 128-byte slices all differ, then the end on a signal.
void SimulatorTest::programShowsTheModuleTakesADownloadAndEndsOnASignal() {
    QTemporaryDir dir;
    const auto path = [&dir](const char* name) { return dir.filePath(QLatin1String(name)); };
    QProcess sim;
    // "--window" first, where it decides what kind of application runs; "--late 0": a number
    // option takes 0.
    sim.start(QStringLiteral(SIM_PATH),
              {u"--window"_s, u"--link"_s, path("COM1"), u"--image"_s, path("image.bin"),
               u"--module-out"_s, path("module.txt"), u"--wiring"_s, u"stripe"_s, u"--oe-lit"_s,
               u"1"_s, u"--display-lit"_s, u"2"_s, u"--late"_s, u"0"_s});
    QVERIFY(sim.waitForReadyRead(5000));
    QCOMPARE(sim.readLine().trimmed(), path("COM1").toLocal8Bit());
    const auto file = [&path](const char* name) {
        QFile opened(path(name));
        return opened.open(QIODevice::ReadOnly) ? opened.readAll() : QByteArray();
    };
    QSerialPort line(path("COM1"));
    QVERIFY(line.open(QIODevice::ReadWrite));
    // OE 00 and display FF are the states this module lights in; LieTest 8 lights bit 8.
    line.write(test("0008040002") + test("0100000000") + test("02FFFFFFFF") + test("0308000000"));
    QTRY_VERIFY_WITH_TIMEOUT(
        file("module.txt")
            .startsWith("........\n........\n#.......\n........\n8x4 scan 2, wiring stripe"),
        5000);
    QByteArray image(2048, '\0');
    std::generate(image.begin(), image.end(), [i = 0]() mutable { return char(i++ % 251); });
    for (int n = 0; n < 16; ++n) {
        line.write(dataPacket(n, image.mid(n * 128, 128)));
    }
    line.write(hex("5AA588FF100A040004") + image.right(127));
    QTRY_COMPARE_WITH_TIMEOUT(file("image.bin"), image, 5000);
    QFETCH(int, signal);
    ::kill(static_cast<pid_t>(sim.processId()), signal);
    QVERIFY(sim.waitForFinished(5000));
    QCOMPARE(sim.exitCode(), 0);
    QVERIFY(!QFileInfo::exists(path("COM1")));
}

QTEST_MAIN(SimulatorTest)
#include "tst_sim.moc"
