#include <unistd.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include "../wizard/WindowFixture.h"

// Complete and Open on the real window: real files in a temporary folder, scripted dialogs.
class MapFilesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init();
    void cleanup() { m_f.reset(); }

    void completeWritesTheImageAndEnablesDownload();
    void cancelledSaveWritesNothingButKeepsTheRebuiltImage();
    void saveThenOpenGivesTheSameImage();
    void openedBytesBeyond303SurviveTheNextSave();
    void savingTheSamePicksTwiceGivesTheSameFile();
    void saveReplacesALongerFileWithExactly2048Bytes();
    void rowsNotPickedInThisPassAreRefused_data();
    void rowsNotPickedInThisPassAreRefused();
    void unwritableTargetsAreReportedAndChangeNothing_data();
    void unwritableTargetsAreReportedAndChangeNothing();
    void unreadableFilesAreReportedAndChangeNothing_data();
    void unreadableFilesAreReportedAndChangeNothing();
    void openTakesTheFirst2048BytesOfALongerFile();
    void openTouchesNothingButTheImage();

private:
    // Walks the wizard to page 5 with all 16 rows picked and the given column picks on row 1.
    void pickAll(const QList<int>& columns = {1, 9, 17});
    QString path(const char* name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    static QByteArray read(const QString& file) {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    static void write(const QString& file, const QByteArray& bytes) {
        QFile f(file);
        QVERIFY(f.open(QIODevice::WriteOnly));
        QCOMPARE(f.write(bytes), bytes.size());
    }

    std::unique_ptr<QTemporaryDir> m_dir;  // a fresh folder for every test
    std::unique_ptr<WindowFixture> m_f;
};

void MapFilesTest::init() {
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
    m_f = std::make_unique<WindowFixture>();
}

void MapFilesTest::pickAll(const QList<int>& columns) {
    m_f->goToPage(4);
    for (int r = 1; r <= 16; ++r) {
        m_f->pick(m_f->c().HangGrid, r, r + 1);
    }
    QCOMPARE(m_f->state().StepNum.value(), 5);
    for (int col : columns) {
        m_f->pick(m_f->c().LieGrid, 1, col);
    }
}

void MapFilesTest::completeWritesTheImageAndEnablesDownload() {
    pickAll();
    m_f->dialogs.answers = {path("map.bin")};
    m_f->c().Complete->click();
    QCOMPARE(m_f->dialogs.asked, QStringList{QStringLiteral("save bin Files(*.bin)|*.bin")});
    const QByteArray file = read(path("map.bin"));
    QCOMPARE(file.size(), 2048);
    QCOMPARE(file.left(16), QByteArray::fromHex("40002000000010000100000000001800"));
    QCOMPARE(file.mid(16, 4), QByteArray::fromHex("00010102"));
    QCOMPARE(file.mid(48, 6), QByteArray::fromHex("000200010000"));
    QCOMPARE(file, m_f->state().mapImage.toBytes());
    QVERIFY(m_f->c().DownLoad->isEnabled());
    QCOMPARE(m_f->word(7), 24);
    QVERIFY(m_f->notifier.messages.isEmpty());
    QCOMPARE(m_f->state().StepNum.value(), 5);  // the page stays
}

void MapFilesTest::cancelledSaveWritesNothingButKeepsTheRebuiltImage() {
    pickAll();
    m_f->c().Complete->click();  // no answer scripted: the user cancels
    QCOMPARE(m_f->dialogs.asked.size(), 1);
    QVERIFY(QDir(m_dir->path()).entryList(QDir::Files).isEmpty());
    QCOMPARE(m_f->state().mapImage.toBytes().left(2), QByteArray::fromHex("4000"));
    QVERIFY(!m_f->c().DownLoad->isEnabled());
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void MapFilesTest::saveThenOpenGivesTheSameImage() {
    pickAll();
    m_f->dialogs.answers = {path("a.bin")};
    m_f->c().Complete->click();
    const QByteArray saved = m_f->state().mapImage.toBytes();
    m_f->state().mapImage = MapImage();
    m_f->dialogs.answers = {path("a.bin")};
    m_f->c().Open->click();
    QCOMPARE(m_f->dialogs.asked.last(), QStringLiteral("open bin Files(*.bin)|*.bin"));
    QCOMPARE(m_f->state().mapImage.toBytes(), saved);
}

void MapFilesTest::openedBytesBeyond303SurviveTheNextSave() {
    QByteArray other(2048, '\x11');
    write(path("other.bin"), other);
    m_f->dialogs.answers = {path("other.bin")};
    m_f->c().Open->click();
    QVERIFY(m_f->c().DownLoad->isEnabled());
    pickAll({1});
    m_f->dialogs.answers = {path("new.bin")};
    m_f->c().Complete->click();
    const QByteArray file = read(path("new.bin"));
    QCOMPARE(file.mid(304), other.mid(304));
    QCOMPARE(file.mid(50, 254), other.mid(50, 254));  // column entries beyond the one pick
    QCOMPARE(file.mid(48, 2), QByteArray::fromHex("0000"));
}

void MapFilesTest::savingTheSamePicksTwiceGivesTheSameFile() {
    pickAll({8, 16});
    m_f->dialogs.answers = {path("one.bin"), path("two.bin")};
    m_f->c().Complete->click();
    m_f->c().Complete->click();
    QCOMPARE(read(path("one.bin")), read(path("two.bin")));
    QCOMPARE(read(path("two.bin")).mid(10, 2), QByteArray::fromHex("0001"));
}

void MapFilesTest::saveReplacesALongerFileWithExactly2048Bytes() {
    write(path("old.bin"), QByteArray(5000, '\x7f'));
    pickAll();
    m_f->dialogs.answers = {path("old.bin")};
    m_f->c().Complete->click();
    QCOMPARE(read(path("old.bin")).size(), 2048);
    QCOMPARE(read(path("old.bin")), m_f->state().mapImage.toBytes());
}

void MapFilesTest::rowsNotPickedInThisPassAreRefused_data() {
    QTest::addColumn<bool>("earlierPass");
    QTest::newRow("left the row page early") << false;
    QTest::newRow("rows of an earlier pass") << true;
}

void MapFilesTest::rowsNotPickedInThisPassAreRefused() {
    QFETCH(bool, earlierPass);
    if (earlierPass) {
        pickAll();
        m_f->clickPre();  // back to the row page: the picks start over
    } else {
        m_f->goToPage(4);
    }
    for (int r = 1; r <= 3; ++r) {
        m_f->pick(m_f->c().HangGrid, r, 1);
    }
    m_f->clickNext();
    m_f->dialogs.answers = {path("x.bin")};
    const QByteArray imageBefore = m_f->state().mapImage.toBytes();
    m_f->c().Complete->click();
    QCOMPARE(m_f->notifier.messages,
             QStringList{QString::fromUtf8(
                 "行选择未完成：已选 3 行，需要 16 行。请返回第3步选完后再保存")});
    QVERIFY(m_f->dialogs.asked.isEmpty());
    QVERIFY(!QFile::exists(path("x.bin")));
    QCOMPARE(m_f->state().mapImage.toBytes(), imageBefore);
    QVERIFY(!m_f->c().DownLoad->isEnabled());
}

void MapFilesTest::unwritableTargetsAreReportedAndChangeNothing_data() {
    QTest::addColumn<QString>("target");
    QTest::addColumn<bool>("needsNonRoot");
    QTest::newRow("folder under a plain file") << "plain/inside.bin" << false;
    QTest::newRow("a folder stands at the name") << "folder" << false;
    QTest::newRow("proc file system") << "/proc/lumotrix-map.bin" << false;
    QTest::newRow("read-only folder") << "locked/map.bin" << true;
}

void MapFilesTest::unwritableTargetsAreReportedAndChangeNothing() {
    QFETCH(QString, target);
    QFETCH(bool, needsNonRoot);
    if (needsNonRoot && ::geteuid() == 0) {
        QSKIP("root writes into read-only folders; the other rows show real refusals");
    }
    write(path("plain"), "x");
    QVERIFY(QDir(m_dir->path()).mkpath(QStringLiteral("folder/kept")));
    QVERIFY(QDir(m_dir->path()).mkdir(QStringLiteral("locked")));
    QFile::setPermissions(path("locked"), QFile::ReadOwner | QFile::ExeOwner);
    const QString full = target.startsWith(QLatin1Char('/')) ? target : m_dir->filePath(target);

    pickAll();
    m_f->dialogs.answers = {full};
    m_f->c().Complete->click();
    QCOMPARE(m_f->notifier.messages.size(), 1);
    QVERIFY2(m_f->notifier.messages.first().startsWith(QString::fromUtf8("无法保存文件 ") +
                                                       QDir::toNativeSeparators(full) +
                                                       QString::fromUtf8("：")),
             qPrintable(m_f->notifier.messages.first()));
    QVERIFY(!m_f->c().DownLoad->isEnabled());
    QVERIFY(QDir(path("folder/kept")).exists());
    QStringList leftovers = QDir(m_dir->path()).entryList(QDir::Files);
    QCOMPARE(leftovers, QStringList{QStringLiteral("plain")});  // no temporary file left
}

void MapFilesTest::unreadableFilesAreReportedAndChangeNothing_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("reason");
    QTest::newRow("missing") << "missing.bin" << -1 << QString::fromUtf8("文件不存在");
    QTest::newRow("short") << "short.bin" << 100
                           << QString::fromUtf8("只有 100 字节，地图文件应为 2048 字节");
    QTest::newRow("empty") << "empty.bin" << 0
                           << QString::fromUtf8("只有 0 字节，地图文件应为 2048 字节");
    QTest::newRow("one byte short")
        << "2047.bin" << 2047 << QString::fromUtf8("只有 2047 字节，地图文件应为 2048 字节");
}

void MapFilesTest::unreadableFilesAreReportedAndChangeNothing() {
    QFETCH(QString, name);
    QFETCH(int, size);
    QFETCH(QString, reason);
    const QString file = m_dir->filePath(name);
    if (size >= 0) {
        write(file, QByteArray(size, '\x33'));
    }
    m_f->state().mapImage.set(0, 0x42);
    m_f->dialogs.answers = {file};
    m_f->c().Open->click();
    QCOMPARE(
        m_f->notifier.messages,
        QStringList{
            QString::fromUtf8("无法打开文件 %1：%2").arg(QDir::toNativeSeparators(file), reason)});
    QCOMPARE(m_f->state().mapImage.at(0), 0x42);
    QCOMPARE(m_f->state().mapImage.at(1), 0);
    QVERIFY(!m_f->c().DownLoad->isEnabled());
}

void MapFilesTest::openTakesTheFirst2048BytesOfALongerFile() {
    QByteArray bytes(2048, '\x01');
    bytes += QByteArray(100, '\x02');
    write(path("long.bin"), bytes);
    m_f->dialogs.answers = {path("long.bin")};
    m_f->c().Open->click();
    QCOMPARE(m_f->state().mapImage.toBytes(), QByteArray(2048, '\x01'));
    QVERIFY(m_f->notifier.messages.isEmpty());
}

void MapFilesTest::openTouchesNothingButTheImage() {
    m_f->goToPage(4);
    m_f->pick(m_f->c().HangGrid, 2, 2);
    write(path("m.bin"), QByteArray(2048, '\x05'));
    m_f->port.written.clear();
    m_f->dialogs.answers = {path("m.bin")};
    m_f->c().Open->click();
    QCOMPARE(m_f->state().StepNum.value(), 4);
    QCOMPARE(m_f->state().DataBufferP.value(), 1);
    QCOMPARE(m_f->word(8), 66);
    QVERIFY(m_f->port.written.isEmpty());
    QVERIFY(m_f->c().DownLoad->isEnabled());
    m_f->c().Open->click();  // cancelled: nothing changes
    QCOMPARE(m_f->state().mapImage.toBytes(), QByteArray(2048, '\x05'));
}

QTEST_MAIN(MapFilesTest)
#include "tst_map_files.moc"
