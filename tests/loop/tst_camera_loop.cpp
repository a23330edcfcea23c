#include <QPoint>
#include <QSettings>
#include <QSize>
#include <QTemporaryDir>
#include <QTest>

#include "CameraStream.h"
#include "ModuleFamilies.h"
#include "SimWindow.h"
#include "session/CameraWalk.h"
#include "ui/CameraControl.h"

using namespace ModuleFamilies;
using namespace Qt::StringLiterals;
using State = CameraWalk::State;

// The wizard walked hands-free: the program watches the simulator's virtual camera over its
// Motion-JPEG stream, and the only input after the parameters is F5 on 第1步 and F5 at the
// orientation stop. The map it saves must be the map the module's wiring calls for, and once
// downloaded, every LED shows its own pixel.
class CameraLoopTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settings.path());
    }

    void handsFreeWalkMakesTheWiringsMap() {
        const Size m{32, 16, 4};
        SimWindow w({}, {*Wiring::fromName(u"stripe"_s), Level::Two, Level::One});
        CameraOptions camera;
        camera.view.frame = QSize(640, 360);
        QVERIFY2(w.sim->startCamera(camera), qPrintable(w.sim->errorString()));
        w.session().next({u"32"_s, u"16"_s, 0, u"4"_s, 0});
        CameraControl& control = *w.window->camera();
        control.useSource(u"http://127.0.0.1:%1/"_s.arg(w.sim->camera()->port()));
        control.toggleWalk();  // F5 on 第1步
        CameraWalk& walk = *control.walk();
        QTRY_COMPARE_WITH_TIMEOUT(walk.state(), State::Stopped, 20000);
        // the orientation stop, before a pick
        QVERIFY2(w.session().page() == Page::RowOrder, qPrintable(walk.status()));
        QCOMPARE(walk.marked(), QList<QPoint>{led(u"stripe"_s, m, 0, 0) + QPoint(1, 1)});
        control.toggleWalk();  // F5: the setting is right
        QTRY_COMPARE_WITH_TIMEOUT(walk.state(), State::Ready, 20000);

        w.dialogs.answers = {w.dir.filePath(u"module.bin"_s)};
        w.window->completeButton()->click();
        QCOMPARE(readFile(w.dir.filePath(u"module.bin"_s)).toHex(),
                 map(u"stripe"_s, m, 1, 0).toHex());
        w.window->downloadButton()->click();
        QTRY_VERIFY_WITH_TIMEOUT(w.captions.contains(u"下载完成"_s), 10000);
        QCOMPARE(w.sim->outOfPlace(), 0);
        QVERIFY(w.notifier.messages.isEmpty());
    }

private:
    QTemporaryDir m_settings;
};

QTEST_MAIN(CameraLoopTest)
#include "tst_camera_loop.moc"
