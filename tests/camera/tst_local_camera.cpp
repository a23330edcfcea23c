#include <QColor>
#include <QCoreApplication>
#include <QImage>
#include <QSize>
#include <QTest>

#include "camera/CameraFormatChoice.h"
#include "camera/GreyPlane.h"
#include "camera/SourceChoice.h"

using PixelFormat = QVideoFrameFormat::PixelFormat;
using Kind = SourceChoice::Kind;
Q_DECLARE_METATYPE(SourceChoice::Kind)

namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 6;

// The picture every test frame is made from: red, green and blue ramps that differ per pixel.
QColor pictureAt(int x, int y) {
    return QColor(30 * x + 10, 40 * y + 5, 255 - 25 * x - 9 * y);
}

int lumaAt(int x, int y) {
    const QColor c = pictureAt(x, y);
    return (77 * c.red() + 150 * c.green() + 29 * c.blue() + 128) / 256;
}

// How a test writes the picture into a format (the byte orders agree with Qt's own
// QVideoFrame::toImage(), checked once by hand: it cannot run here, as it crashes Qt 6.4 at exit
// without a graphics backend): Y (or R, G, B) at byte offsets of each pixel's
// `step` bytes in plane 0, 16-bit samples shifted left by `shift`; the other planes neutral.
struct Writing {
    int step = 1;
    int y = 0;
    int red = -1, green = -1, blue = -1, alpha = -1;
    int bits16Shift = -1;  // >= 0: plane 0 holds 16-bit little-endian samples, Y << shift
};

void writePixel(uchar* p, int x, int y, const Writing& w) {
    const QColor c = pictureAt(x, y);
    if (w.red >= 0) {
        p[w.red] = static_cast<uchar>(c.red());
        p[w.green] = static_cast<uchar>(c.green());
        p[w.blue] = static_cast<uchar>(c.blue());
        if (w.alpha >= 0) {
            p[w.alpha] = 255;
        }
        return;
    }
    if (w.bits16Shift >= 0) {
        const int sample = lumaAt(x, y) << w.bits16Shift;
        p[0] = static_cast<uchar>(sample & 0xFF);
        p[1] = static_cast<uchar>(sample >> 8);
        return;
    }
    p[w.y] = static_cast<uchar>(lumaAt(x, y));
}

// A frame of the format holding the picture; every byte not written is 128 (neutral chroma).
QVideoFrame frameOf(PixelFormat format, const Writing& w) {
    QVideoFrame frame(QVideoFrameFormat(QSize(kWidth, kHeight), format));
    if (!frame.map(QVideoFrame::WriteOnly)) {
        return {};
    }
    for (int plane = 0; plane < frame.planeCount(); ++plane) {
        std::fill_n(frame.bits(plane), frame.mappedBytes(plane), uchar{128});
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            writePixel(frame.bits(0) + y * frame.bytesPerLine(0) + x * w.step, x, y, w);
        }
    }
    frame.unmap();
    return frame;
}

CameraFormatOffer offer(int width, int height, float rate, PixelFormat format) {
    return {QSize(width, height), rate, format};
}

}  // namespace

// The local camera's parts that need no camera: which format it asks for, the grey plane of
// every pixel format Qt hands out, and choosing a source from the user's text.
class LocalCameraTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theGreyPlaneIsTheLumaOfThePicture_data() {
        QTest::addColumn<PixelFormat>("format");
        QTest::addColumn<Writing>("writing");
        using F = QVideoFrameFormat;
        const Writing plane{1, 0};
        for (const PixelFormat f :
             {F::Format_YUV420P, F::Format_YUV422P, F::Format_YV12, F::Format_NV12, F::Format_NV21,
              F::Format_IMC1, F::Format_IMC2, F::Format_IMC3, F::Format_IMC4, F::Format_Y8}) {
            QTest::newRow(F::pixelFormatToString(f).toLatin1()) << f << plane;
        }
        QTest::newRow("YUYV") << F::Format_YUYV << Writing{2, 0};
        QTest::newRow("UYVY") << F::Format_UYVY << Writing{2, 1};
        QTest::newRow("AYUV") << F::Format_AYUV << Writing{4, 1};
        QTest::newRow("Y16") << F::Format_Y16 << Writing{2, 0, -1, -1, -1, -1, 8};
        QTest::newRow("P010") << F::Format_P010 << Writing{2, 0, -1, -1, -1, -1, 8};
        QTest::newRow("P016") << F::Format_P016 << Writing{2, 0, -1, -1, -1, -1, 8};
        QTest::newRow("YUV420P10") << F::Format_YUV420P10 << Writing{2, 0, -1, -1, -1, -1, 2};
        QTest::newRow("ARGB8888") << F::Format_ARGB8888 << Writing{4, 0, 1, 2, 3, 0};
        QTest::newRow("XRGB8888") << F::Format_XRGB8888 << Writing{4, 0, 1, 2, 3, 0};
        QTest::newRow("BGRA8888") << F::Format_BGRA8888 << Writing{4, 0, 2, 1, 0, 3};
        QTest::newRow("BGRX8888") << F::Format_BGRX8888 << Writing{4, 0, 2, 1, 0, 3};
        QTest::newRow("ABGR8888") << F::Format_ABGR8888 << Writing{4, 0, 3, 2, 1, 0};
        QTest::newRow("XBGR8888") << F::Format_XBGR8888 << Writing{4, 0, 3, 2, 1, 0};
        QTest::newRow("RGBA8888") << F::Format_RGBA8888 << Writing{4, 0, 0, 1, 2, 3};
        QTest::newRow("RGBX8888") << F::Format_RGBX8888 << Writing{4, 0, 0, 1, 2, 3};
    }
    void theGreyPlaneIsTheLumaOfThePicture() {
        QFETCH(PixelFormat, format);
        QFETCH(Writing, writing);
        const QVideoFrame video = frameOf(format, writing);
        QVERIFY(video.isValid());
        CameraFrame frame;
        QVERIFY(GreyPlane::read(video, frame));
        QCOMPARE(frame.grey.format(), QImage::Format_Grayscale8);
        QCOMPARE(frame.grey.size(), QSize(kWidth, kHeight));
        QVERIFY(frame.jpeg.isEmpty());
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                QVERIFY2(std::abs(frame.grey.constScanLine(y)[x] - lumaAt(x, y)) <= 1,
                         qPrintable(QStringLiteral("(%1, %2): %3, not %4")
                                        .arg(x)
                                        .arg(y)
                                        .arg(frame.grey.constScanLine(y)[x])
                                        .arg(lumaAt(x, y))));
            }
        }
    }

    void aFormatItCannotReadIsRefused() {
        CameraFrame frame;
        const QVideoFrame texture(
            QVideoFrameFormat(QSize(kWidth, kHeight), QVideoFrameFormat::Format_SamplerRect));
        QVERIFY(!GreyPlane::read(texture, frame));
        QVERIFY(frame.grey.isNull() && frame.jpeg.isEmpty());
        QCOMPARE(GreyPlane::cost(QVideoFrameFormat::Format_SamplerExternalOES), -1);
        QCOMPARE(GreyPlane::cost(QVideoFrameFormat::Format_Invalid), -1);
    }

    void theFormatNearest720pWithFifteenFramesIsChosen_data() {
        QTest::addColumn<QList<CameraFormatOffer>>("offers");
        QTest::addColumn<int>("chosen");
        using F = QVideoFrameFormat;
        QTest::newRow("a webcam: YUYV is slow at 720p, MJPEG is not")
            << QList<CameraFormatOffer>{offer(1920, 1080, 30, F::Format_YUYV),
                                        offer(1280, 720, 30, F::Format_Jpeg),
                                        offer(1280, 720, 10, F::Format_YUYV),
                                        offer(640, 480, 30, F::Format_YUYV)}
            << 1;
        QTest::newRow("a cheap grey plane at the same size")
            << QList<CameraFormatOffer>{offer(1280, 720, 30, F::Format_Jpeg),
                                        offer(1280, 720, 30, F::Format_BGRA8888),
                                        offer(1280, 720, 15, F::Format_NV12)}
            << 2;
        QTest::newRow("RGB before JPEG")
            << QList<CameraFormatOffer>{offer(1280, 720, 30, F::Format_Jpeg),
                                        offer(1280, 720, 30, F::Format_RGBX8888)}
            << 1;
        QTest::newRow("nearest, larger or smaller")
            << QList<CameraFormatOffer>{offer(3840, 2160, 30, F::Format_NV12),
                                        offer(1024, 768, 30, F::Format_NV12),
                                        offer(1280, 960, 30, F::Format_NV12),
                                        offer(320, 240, 30, F::Format_NV12)}
            << 2;
        QTest::newRow("the faster of two alike")
            << QList<CameraFormatOffer>{offer(1280, 720, 20, F::Format_YUYV),
                                        offer(1280, 720, 60, F::Format_YUYV)}
            << 1;
        QTest::newRow("exactly fifteen frames are enough")
            << QList<CameraFormatOffer>{offer(640, 480, 30, F::Format_YUYV),
                                        offer(1280, 720, 15, F::Format_YUYV)}
            << 1;
        QTest::newRow("all slow: the nearest still")
            << QList<CameraFormatOffer>{offer(1920, 1080, 5, F::Format_YUYV),
                                        offer(1280, 720, 10, F::Format_YUYV)}
            << 1;
        QTest::newRow("textures only")
            << QList<CameraFormatOffer>{offer(1280, 720, 30, F::Format_SamplerRect)} << -1;
        QTest::newRow("nothing offered") << QList<CameraFormatOffer>{} << -1;
    }
    void theFormatNearest720pWithFifteenFramesIsChosen() {
        QFETCH(QList<CameraFormatOffer>, offers);
        QFETCH(int, chosen);
        QCOMPARE(CameraFormatChoice::choose(offers), chosen);
    }

    void aSourceIsChosenFromTheUsersText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("camera");
        QTest::addColumn<QString>("urlOrRefusal");
        const auto row = [](const char* name, const char* text, Kind kind, int camera,
                            const char* urlOrRefusal) {
            QTest::newRow(name) << QString::fromUtf8(text) << kind << camera
                                << QString::fromUtf8(urlOrRefusal);
        };
        row("a stream", " http://10.0.0.5:8080/video ", Kind::Stream, -1,
            "http://10.0.0.5:8080/video");
        row("a stream in capitals", "HTTP://phone.local/mjpeg", Kind::Stream, -1,
            "http://phone.local/mjpeg");
        row("https", "https://10.0.0.5/video", Kind::Refused, -1,
            "不支持 https 视频流，请改用 http:// 地址");
        row("rtsp", "rtsp://10.0.0.5/live", Kind::Refused, -1,
            "不支持这种地址：rtsp://10.0.0.5/live，请用 http:// 视频流地址");
        row("no host", "http:///video", Kind::Refused, -1, "视频流地址 http:///video 无效");
        row("first camera", "1", Kind::Local, 0, "");
        row("last camera", "3", Kind::Local, 2, "");
        row("no such number", "4", Kind::Refused, -1, "没有第 4 个相机（共找到 3 个）");
        row("zero", "0", Kind::Refused, -1, "没有第 0 个相机（共找到 3 个）");
        row("whole name in any case", "usb camera", Kind::Local, 0, "");
        row("a whole name that is also part of another", "USB Camera 2", Kind::Local, 1, "");
        row("part of one name", "integrated", Kind::Local, 2, "");
        row("part of two names", "USB", Kind::Refused, -1,
            "有多个相机的名称含有“USB”，请用编号选择");
        row("no such name", "Phone", Kind::Refused, -1, "没有名为“Phone”的相机");
        row("nothing", "  ", Kind::Refused, -1, "请输入相机的编号、名称或 http:// 视频流地址");
    }
    void aSourceIsChosenFromTheUsersText() {
        QFETCH(QString, text);
        QFETCH(Kind, kind);
        QFETCH(int, camera);
        QFETCH(QString, urlOrRefusal);
        const QList<CameraDescription> cameras = {
            {"/dev/video0", QStringLiteral("USB Camera")},
            {"/dev/video2", QStringLiteral("USB Camera 2")},
            {"/dev/video4", QStringLiteral("Integrated Camera")}};
        const SourceChoice choice = SourceChoice::fromText(text, cameras);
        QCOMPARE(choice.kind(), kind);
        QCOMPARE(choice.cameraIndex(), camera);
        QCOMPARE(kind == Kind::Stream ? choice.url().toString() : choice.refusal(), urlOrRefusal);
    }

    void aNumberWithoutCamerasSaysThereAreNone() {
        const SourceChoice choice = SourceChoice::fromText(QStringLiteral("1"), {});
        QCOMPARE(choice.kind(), Kind::Refused);
        QCOMPARE(choice.refusal(), QStringLiteral("没有找到相机，请检查连接"));
    }

    void camerasAreListedByNumberFromOne() {
        QCOMPARE(SourceChoice::listText({{"a", QStringLiteral("USB Camera")},
                                         {"b", QStringLiteral("Integrated Camera")}}),
                 QStringLiteral("1  USB Camera\n2  Integrated Camera\n"));
        QCOMPARE(SourceChoice::listText({}), QString());
    }
};

QTEST_GUILESS_MAIN(LocalCameraTest)
#include "tst_local_camera.moc"
