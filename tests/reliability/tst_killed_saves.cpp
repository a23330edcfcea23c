#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QtTest>
#include <random>
#include <thread>

#include "Errors.h"
#include "MapFile.h"
#include "SaveLoopImages.h"

// A save killed at any moment (SIGKILL to a process saving in a loop, 200 times) leaves the
// map file either as it was or as the new map, whole. A kill between the new map getting a
// temporary name and its rename leaves that file ("map.bin.XXXXXX") beside the map; it never
// makes a later save or open fail.
class KilledSavesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void killedSavesLeaveTheOldMapOrTheNewOneWhole();
};

void KilledSavesTest::killedSavesLeaveTheOldMapOrTheNewOneWhole() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("map.bin"));
    MapImage first;
    first.assign(saveLoopImage(0));
    MapFile::save(path, first);
    std::mt19937 random(7);
    std::uniform_int_distribution<int> delayUs(0, 12000);
    int inside = 0;
    for (int kill = 0; kill < 200; ++kill) {
        QProcess child;
        child.start(QStringLiteral(SAVE_LOOP_PATH), {path});
        QVERIFY(child.waitForReadyRead(5000));  // its first save has begun
        std::this_thread::sleep_for(std::chrono::microseconds(delayUs(random)));
        child.kill();
        QVERIFY(child.waitForFinished(5000));
        const QByteArray markers = child.readAllStandardOutput();
        QVERIFY2(!markers.contains('f'), child.readAllStandardError().constData());
        inside += markers.endsWith('b') ? 1 : 0;
        const QByteArray bytes = MapFile::load(path).toBytes();
        QVERIFY2(bytes == saveLoopImage(0) || bytes == saveLoopImage(1),
                 qPrintable(QStringLiteral("kill %1 left %2 bytes").arg(kill).arg(bytes.size())));
    }
    const QStringList leftovers =
        QDir(dir.path())
            .entryList(QDir::Files)
            .filter(QRegularExpression(QStringLiteral("^map\\.bin\\.\\w{6}$")));
    qInfo("200 kills, %d inside a save; %lld temporary files left beside the map", inside,
          static_cast<long long>(leftovers.size()));
    QVERIFY(inside >= 100);
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), leftovers.size() + 1);
    for (const QString& name : leftovers) {  // a new map, whole, that never got its name
        QFile leftover(dir.filePath(name));
        QVERIFY(leftover.open(QIODevice::ReadOnly));
        const QByteArray bytes = leftover.readAll();
        QVERIFY(bytes == saveLoopImage(0) || bytes == saveLoopImage(1));
    }
    MapFile::save(path, first);  // and one more save and open with every leftover there
    QCOMPARE(MapFile::load(path).toBytes(), saveLoopImage(0));
}

QTEST_GUILESS_MAIN(KilledSavesTest)
#include "tst_killed_saves.moc"
