#include <unistd.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include "TestBytes.h"
#include "core/Errors.h"
#include "mapfile/MapFile.h"

// A save killed at any moment (SIGKILL to a process saving in a loop, 200 times) leaves the
// map file either as it was or as the new map, whole. A kill between the new map getting a
// temporary name and its rename leaves that file ("map.bin.XXXXXX") beside the map; it never
// makes a later save or open fail. The process saving in a loop is this program, started as
// "tst_killed_saves --save-loop FILE".
class KilledSavesTest : public QObject {
    Q_OBJECT
public:
    // Saves map(0) and map(1) over path in turn with MapFile::save, until killed. Writes "b" to
    // standard output before each save and "e" after it, so that whoever kills it can tell
    // whether the kill landed inside a save. A save that fails writes its reason on standard
    // error and returns 1.
    static int saveLoop(const QString& path) {
        for (int n = 0; mark("b"); n = 1 - n) {
            MapImage image;
            image.assign(map(n));
            try {
                MapFile::save(path, image);
            } catch (const FileError& e) {
                qWarning("%s", e.what());
                return 1;
            }
            mark("e");  // if that fails, so does the next "b", which ends the loop
        }
        return 1;
    }

private Q_SLOTS:
    void killedSavesLeaveTheOldMapOrTheNewOneWhole() {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("map.bin"));
        MapImage first;
        first.assign(map(0));
        MapFile::save(path, first);
        QRandomGenerator random(7);
        int inside = 0;
        for (int kill = 0; kill < 200; ++kill) {
            QProcess child;
            child.start(QCoreApplication::applicationFilePath(),
                        {QStringLiteral("--save-loop"), path});
            QVERIFY(child.waitForReadyRead(5000));   // its first save has begun
            QThread::usleep(random.bounded(12001));  // 0 to 12 ms
            child.kill();
            QVERIFY(child.waitForFinished(5000));
            QVERIFY2(child.exitStatus() == QProcess::CrashExit,  // killed, not ended by a failure
                     child.readAllStandardError().constData());
            inside += child.readAllStandardOutput().endsWith('b') ? 1 : 0;
            const QByteArray bytes = MapFile::load(path).toBytes();
            QVERIFY2(isAWholeMap(bytes), qPrintable(QStringLiteral("after kill %1").arg(kill)));
        }
        // The map and, beside it, only new maps, whole, that never got their name.
        const QStringList files = QDir(dir.path()).entryList(QDir::Files);
        const QRegularExpression named(QStringLiteral("^map\\.bin(\\.\\w{6})?$"));
        for (const QString& name : files) {
            QVERIFY2(named.match(name).hasMatch(), qPrintable(name));
            QVERIFY2(isAWholeMap(readFile(dir.filePath(name))), qPrintable(name));
        }
        qInfo("200 kills, %d inside a save; %lld temporary files left beside the map", inside,
              static_cast<long long>(files.size() - 1));
        QVERIFY(inside >= 100);
        MapFile::save(path, first);  // and one more save and open with every leftover there
        QCOMPARE(MapFile::load(path).toBytes(), map(0));
    }

private:
    // Map 0 is all 0xA0, map 1 all 0x0B, so that any mixture of the two, or either cut short, is
    // neither.
    static QByteArray map(int which) { return QByteArray(2048, which == 0 ? '\xA0' : '\x0B'); }
    static bool isAWholeMap(const QByteArray& bytes) { return bytes == map(0) || bytes == map(1); }
    static bool mark(const char* marker) { return ::write(STDOUT_FILENO, marker, 1) == 1; }
};

int main(int argc, char** argv) {
    if (argc == 3 && qstrcmp(argv[1], "--save-loop") == 0) {
        return KilledSavesTest::saveLoop(QString::fromLocal8Bit(argv[2]));
    }

    QCoreApplication app(argc, argv);
    KilledSavesTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_killed_saves.moc"
