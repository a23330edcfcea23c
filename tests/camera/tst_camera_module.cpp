#include <QFileInfo>
#include <QSignalSpy>
#include <QTest>

#include "camera/LocalCameras.h"

// Loading the local-camera module as the program does, in a process of its own: once Qt's
// QVideoFrame::toImage() has run (as tst_local_camera does) Qt 6.4 crashes in its own plugin
// loader when the module then asks for the camera list, which the program never does.
class CameraModuleTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // The module is loaded only when asked for; on this machine it finds no camera, and a
    // camera that is not there is lost with a plain sentence.
    void theModuleLoadsAtFirstUseAndAMissingCameraIsLost() {
        LocalCameras cameras({QFileInfo(QStringLiteral(LUMOTRIX_CAMERA_MODULE)).path()});
        QVERIFY(!cameras.isLoaded());
        cameras.cameras();  // none on this machine
        QVERIFY2(cameras.isLoaded(), qPrintable(cameras.unavailableReason()));
        std::unique_ptr<PictureSource> source(cameras.open("no-such-camera", nullptr));
        QVERIFY(source);
        QSignalSpy lost(source.get(), &PictureSource::lost);
        source->start();
        QCOMPARE(lost.size(), 0);  // never from inside start()
        QTRY_COMPARE(lost.size(), 1);
        QCOMPARE(lost[0][0].toString(), QStringLiteral("没有找到相机，请检查连接"));
        source->stop();
    }

    void withoutTheModuleThereAreNoCamerasAndAReason() {
        LocalCameras cameras({QStringLiteral("/nonexistent")});
        QVERIFY(cameras.cameras().isEmpty());
        QVERIFY(!cameras.open("x", nullptr));
        QCOMPARE(cameras.unavailableReason(),
                 QStringLiteral("没有找到相机模块 %1，请重新安装本程序")
                     .arg(LocalCameras::moduleFileName()));
    }
};

QTEST_GUILESS_MAIN(CameraModuleTest)
#include "tst_camera_module.moc"
