#include <QColor>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPoint>
#include <QProcess>
#include <QSize>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>

#include "CameraScene.h"
#include "CliCall.h"

// lumotrix-cli locate on pictures the virtual camera wrote: a 32 x 16 module at 640 x 360 seen
// a little from the side, once upright and once lying turned and mirrored. The LEDs lit in the
// step pictures are known, so the rows and columns printed can be checked (counted from 1).

namespace {

CliRun runCli(const QStringList& args) {
    return runCli(args, PortNames(), false);
}

const QSize kLeds(32, 16);

// Writes folder/NAME.jpg for the dark and the lit module and for each step: LED (column, row)
// from 0 alone lit, or both of a pair.
void writePictures(const QString& folder, const CameraView& view) {
    const CameraScene scene(kLeds, view);
    quint32 seed = 0;
    const auto write = [&](const QString& name, const std::vector<float>& levels) {
        PictureEffects effects;
        effects.noiseSeed = ++seed;
        QFile file(folder + QLatin1Char('/') + name + QStringLiteral(".jpg"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(scene.encode(scene.draw(levels, effects)));
    };
    const std::vector<float> dark(static_cast<size_t>(kLeds.width() * kLeds.height()), 0.f);
    write(QStringLiteral("dark"), dark);
    write(QStringLiteral("lit"), std::vector<float>(dark.size(), 1.f));
    const auto lone = [&](std::initializer_list<QPoint> cells) {
        std::vector<float> levels = dark;
        for (const QPoint c : cells) {
            levels[static_cast<size_t>(c.y() * kLeds.width() + c.x())] = 1;
        }
        return levels;
    };
    write(QStringLiteral("row4-column8"), lone({{7, 3}}));
    write(QStringLiteral("row16-column1"), lone({{0, 15}}));
    write(QStringLiteral("two"), lone({{7, 3}, {8, 3}}));
}

}  // namespace

class CliLocateTest : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_dir;

private Q_SLOTS:
    void initTestCase() {
        QDir::setCurrent(m_dir.path());
        CameraView view;
        view.frame = QSize(640, 360);
        view.yaw = 15;
        view.tilt = -10;
        QVERIFY(QDir().mkpath(QStringLiteral("upright")));
        writePictures(QStringLiteral("upright"), view);
        view.rotation = 270;
        view.mirrored = true;
        QVERIFY(QDir().mkpath(QStringLiteral("turned")));
        writePictures(QStringLiteral("turned"), view);
    }

    // out: lines that must appear, in order, separated by "|"; err: a part of standard error.
    void locatePrintsEachStepsLedOrWhyItDoubts_data() {
        QTest::addColumn<QString>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        const QString common =
            QStringLiteral("locate --module 32x16 --dark %1/dark.jpg --lit %1/lit.jpg ");
        const auto row = [&](const char* name, const char* folder, const char* rest, int code,
                             const char* out, const char* err) {
            QTest::newRow(name) << common.arg(QLatin1String(folder)) + QLatin1String(rest) << code
                                << QString::fromUtf8(out) << QString::fromUtf8(err);
        };
        row("one LED each, then two", "upright",
            "upright/row4-column8.jpg upright/row16-column1.jpg upright/two.jpg", 5,
            "upright/row4-column8.jpg  row 4, column 8  (score|"
            "upright/row16-column1.jpg  row 16, column 1  (score|"
            "upright/two.jpg  doubt: more than one LED is lit (row 4, column ",
            "calibrated 32 x 16 LEDs");
        row("turned and mirrored", "turned",
            "--rotate 270 --mirror turned/row4-column8.jpg turned/row16-column1.jpg", 0,
            "turned/row4-column8.jpg  row 4, column 8|turned/row16-column1.jpg  row 16, column 1",
            "");
        row("turned, not said so", "turned", "turned/row4-column8.jpg", 4, "",
            "cannot calibrate: the picture shows 16 x 32 LEDs where 32 x 16 were expected: it is "
            "turned a quarter; give --rotate 90 or 270");
        row("the wrong size", "upright", "upright/two.jpg", 4, "", "");
        row("a step that is not there", "upright", "upright/row4-column8.jpg missing.jpg", 4,
            "upright/row4-column8.jpg  row 4, column 8", "cannot read the picture missing.jpg");
        row("no step", "upright", "", 4, "", "expected at least 1 argument(s)");
    }

    void locatePrintsEachStepsLedOrWhyItDoubts() {
        QFETCH(QString, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QStringList arguments = args.split(QLatin1Char(' '), Qt::SkipEmptyParts);
        if (QString::fromLatin1(QTest::currentDataTag()) == QLatin1String("the wrong size")) {
            arguments[2] = QStringLiteral("16x32");
        }
        const CliRun run = runCli(arguments);
        QCOMPARE(run.code, code);
        qsizetype from = 0;
        for (const QString& line : out.split(QLatin1Char('|'), Qt::SkipEmptyParts)) {
            from = run.out.indexOf(line, from);
            QVERIFY2(from >= 0, qPrintable(line + QStringLiteral(" in:\n") + run.out));
        }
        QVERIFY2(run.err.contains(err), qPrintable(run.err));
    }

    void jsonAndOverlaysTellTheSame() {
        const CliRun run = runCli(QStringLiteral("locate --module 32x16 --dark upright/dark.jpg "
                                                 "--lit upright/lit.jpg --json --overlay overlays "
                                                 "upright/row16-column1.jpg upright/two.jpg")
                                      .split(QLatin1Char(' ')));
        QCOMPARE(run.code, 5);
        const QJsonObject report = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(report[QStringLiteral("module")][QStringLiteral("width")].toInt(), 32);
        const QJsonArray steps = report.value(QStringLiteral("steps")).toArray();
        QCOMPARE(steps.size(), 2);
        const QJsonValue lone = steps[0];
        QCOMPARE(lone[QStringLiteral("certain")].toBool(), true);
        QCOMPARE(lone[QStringLiteral("row")].toInt(), 16);
        QCOMPARE(lone[QStringLiteral("column")].toInt(), 1);
        const QJsonValue two = steps[1];
        QCOMPARE(two[QStringLiteral("doubt")].toString(), QStringLiteral("severalLit"));
        const QJsonArray candidates = two[QStringLiteral("candidates")].toArray();
        QVERIFY(candidates.size() >= 2);
        QCOMPARE(candidates[0][QStringLiteral("row")].toInt(), 4);
        const QImage certain(QStringLiteral("overlays/row16-column1.png"));
        const QImage doubtful(QStringLiteral("overlays/two.png"));
        QCOMPARE(certain.size(), QSize(640, 360));
        QCOMPARE(doubtful.size(), QSize(640, 360));
        // The doubtful picture is framed in red; the certain one is not.
        QCOMPARE(QColor(doubtful.pixel(3, 180)), QColor(Qt::red));
        QVERIFY(QColor(certain.pixel(3, 180)) != QColor(Qt::red));
    }

    // The doubt's exit code reaches the shell through the program's own main().
    void theProgramEndsWithTheDoubtCode() {
        QProcess cli;
        cli.start(QStringLiteral(LUMOTRIX_CLI_PATH),
                  QStringLiteral("locate --module 32x16 --dark upright/dark.jpg --lit "
                                 "upright/lit.jpg upright/two.jpg")
                      .split(QLatin1Char(' ')));
        QVERIFY(cli.waitForFinished(20000));
        QCOMPARE(cli.exitCode(), 5);
    }
};

QTEST_MAIN(CliLocateTest)
#include "tst_cli_locate.moc"
