#include <QColor>
#include <QTest>

#include "camera/CameraFormatChoice.h"
#include "camera/GreyPlane.h"
#include "camera/SourceChoice.h"

using F = QVideoFrameFormat;
using Kind = SourceChoice::Kind;
Q_DECLARE_METATYPE(SourceChoice::Kind)

namespace {

constexpr int kWidth = 8;
constexpr int kHeight = 6;

const QList<CameraDescription> kCameras = {{"/dev/video0", QStringLiteral("USB Camera")},
                                           {"/dev/video2", QStringLiteral("USB Camera 2")},
                                           {"/dev/video4", QStringLiteral("Integrated Camera")}};

// The picture every test frame is made from: red, green and blue ramps that differ per pixel.
QColor pictureAt(int x, int y) {
    return QColor(30 * x + 10, 40 * y + 5, 255 - 25 * x - 9 * y);
}

int lumaAt(int x, int y) {
    const QColor c = pictureAt(x, y);
    return (77 * c.red() + 150 * c.green() + 29 * c.blue() + 128) / 256;
}

// The byte a test writes for the pixel (x, y) where its layout says `what` (see frameOf()).
uchar byteOf(char what, int x, int y) {
    const QColor c = pictureAt(x, y);
    const int luma = lumaAt(x, y);
    const int bytes[] = {luma, c.red(), c.green(), c.blue(), 255, 0, (luma << 2) & 0xFF, luma >> 6};
    const qsizetype at = QByteArrayView("YRGBA0lh").indexOf(what);
    return static_cast<uchar>(at < 0 ? 128 : bytes[at]);
}

// A frame of the format holding the picture. `layout` names each byte of a pixel in plane 0:
// Y its luma, R G B its colours, A 255, 0 a zero byte ("0Y": 16 bits, luma << 8, little-endian),
// l and h a 10-bit sample's bytes, any other 128 (neutral chroma), as is every other plane. The
// byte orders agree with Qt's own QVideoFrame::toImage(), checked once by hand: it cannot run
// here, as it crashes Qt 6.4 at exit without a graphics backend.
QVideoFrame frameOf(F::PixelFormat format, const QByteArray& layout) {
    QVideoFrame frame(QVideoFrameFormat(QSize(kWidth, kHeight), format));
    if (!frame.map(QVideoFrame::WriteOnly)) {
        return {};
    }
    for (int plane = 0; plane < frame.planeCount(); ++plane) {
        std::fill_n(frame.bits(plane), frame.mappedBytes(plane), uchar{128});
    }
    for (int y = 0; y < kHeight; ++y) {
        for (int x = 0; x < kWidth * layout.size(); ++x) {
            frame.bits(0)[y * frame.bytesPerLine(0) + x] =
                byteOf(layout[x % layout.size()], x / layout.size(), y);
        }
    }
    frame.unmap();
    return frame;
}

CameraFormatOffer offer(int width, int height, float rate, F::PixelFormat format = F::Format_YUYV) {
    return {QSize(width, height), rate, format};
}

}  // namespace

// The local camera's parts that need no camera: which format it asks for, the grey plane of
// every pixel format Qt hands out, and choosing a source from the user's text.
class LocalCameraTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void theGreyPlaneIsTheLumaOfThePicture_data() {
        QTest::addColumn<F::PixelFormat>("format");
        QTest::addColumn<QByteArray>("layout");
        const std::pair<const char*, QList<F::PixelFormat>> layouts[] = {
            {"Y",
             {F::Format_YUV420P, F::Format_YUV422P, F::Format_YV12, F::Format_NV12, F::Format_NV21,
              F::Format_IMC1, F::Format_IMC2, F::Format_IMC3, F::Format_IMC4, F::Format_Y8}},
            {"Y.", {F::Format_YUYV}},
            {".Y", {F::Format_UYVY}},
            {".Y..", {F::Format_AYUV}},
            {"0Y", {F::Format_Y16, F::Format_P010, F::Format_P016}},
            {"lh", {F::Format_YUV420P10}},
            {"ARGB", {F::Format_ARGB8888, F::Format_XRGB8888}},
            {"BGRA", {F::Format_BGRA8888, F::Format_BGRX8888}},
            {"ABGR", {F::Format_ABGR8888, F::Format_XBGR8888}},
            {"RGBA", {F::Format_RGBA8888, F::Format_RGBX8888}}};
        for (const auto& [layout, formats] : layouts) {
            for (const F::PixelFormat format : formats) {
                QTest::newRow(F::pixelFormatToString(format).toLatin1())
                    << format << QByteArray(layout);
            }
        }
    }
    void theGreyPlaneIsTheLumaOfThePicture() {
        QFETCH(F::PixelFormat, format);
        QFETCH(QByteArray, layout);
        CameraFrame frame;
        QVERIFY(GreyPlane::read(frameOf(format, layout), frame));
        QCOMPARE(frame.grey.format(), QImage::Format_Grayscale8);
        QCOMPARE(frame.grey.size(), QSize(kWidth, kHeight));
        QVERIFY(frame.jpeg.isEmpty());
        for (int y = 0; y < kHeight; ++y) {
            for (int x = 0; x < kWidth; ++x) {
                const int grey = frame.grey.pixelColor(x, y).red();
                QVERIFY2(std::abs(grey - lumaAt(x, y)) <= 1,
                         qPrintable(QStringLiteral("(%1, %2): %3").arg(x).arg(y).arg(grey)));
            }
        }
    }

    void aFormatItCannotReadIsRefused() {
        CameraFrame frame;
        QVERIFY(!GreyPlane::read(
            QVideoFrame(QVideoFrameFormat(QSize(kWidth, kHeight), F::Format_SamplerRect)), frame));
        QVERIFY(frame.grey.isNull() && frame.jpeg.isEmpty());
    }

    // Offers of at least 15 frames a second (all if none has), then the size nearest 1280 x 720,
    // then the cheapest grey plane, then the most frames; none that cannot be read.
    void theFormatNearest720pWithFifteenFramesIsChosen_data() {
        QTest::addColumn<QList<CameraFormatOffer>>("offers");
        QTest::addColumn<int>("chosen");
        const auto row = [](const char* name, const QList<CameraFormatOffer>& offers, int chosen) {
            QTest::newRow(name) << offers << chosen;
        };
        row("a webcam: YUYV is slow at 720p, MJPEG is not",
            {offer(1920, 1080, 30), offer(1280, 720, 30, F::Format_Jpeg), offer(1280, 720, 10),
             offer(640, 480, 30)},
            1);
        row("a cheap grey plane at the same size, at exactly fifteen frames",
            {offer(1280, 720, 30, F::Format_Jpeg), offer(1280, 720, 30, F::Format_BGRA8888),
             offer(1280, 720, 15, F::Format_NV12)},
            2);
        row("RGB before JPEG",
            {offer(1280, 720, 30, F::Format_Jpeg), offer(1280, 720, 30, F::Format_RGBX8888)}, 1);
        row("nearest, larger or smaller",
            {offer(3840, 2160, 30), offer(1024, 768, 30), offer(1280, 960, 30),
             offer(320, 240, 30)},
            2);
        row("the faster of two alike", {offer(1280, 720, 20), offer(1280, 720, 60)}, 1);
        row("all slow: the nearest still", {offer(1920, 1080, 5), offer(1280, 720, 10)}, 1);
        row("textures only", {offer(1280, 720, 30, F::Format_SamplerRect)}, -1);
    }
    void theFormatNearest720pWithFifteenFramesIsChosen() {
        QFETCH(QList<CameraFormatOffer>, offers);
        QFETCH(int, chosen);
        QCOMPARE(CameraFormatChoice::choose(offers), chosen);
    }

    // Of kCameras; `chosen` is the address, the camera's index or the refusal.
    void aSourceIsChosenFromTheUsersText_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("chosen");
        const auto row = [](const char* text, Kind kind, const char* chosen) {
            QTest::newRow(text) << QString::fromUtf8(text) << kind << QString::fromUtf8(chosen);
        };
        row(" http://10.0.0.5:8080/video ", Kind::Stream, "http://10.0.0.5:8080/video");
        row("HTTP://phone.local/mjpeg", Kind::Stream, "http://phone.local/mjpeg");
        row("https://10.0.0.5/video", Kind::Refused, "不支持 https 视频流，请改用 http:// 地址");
        row("rtsp://10.0.0.5/live", Kind::Refused,
            "不支持这种地址：rtsp://10.0.0.5/live，请用 http:// 视频流地址");
        row("http:///video", Kind::Refused, "视频流地址 http:///video 无效");
        row("1", Kind::Local, "0");
        row("3", Kind::Local, "2");
        row("4", Kind::Refused, "没有第 4 个相机（共找到 3 个）");
        row("0", Kind::Refused, "没有第 0 个相机（共找到 3 个）");
        row("usb camera", Kind::Local, "0");    // a whole name, in any case
        row("USB Camera 2", Kind::Local, "1");  // a whole name that is also part of another
        row("integrated", Kind::Local, "2");    // part of one name
        row("USB", Kind::Refused, "有多个相机的名称含有“USB”，请用编号选择");
        row("Phone", Kind::Refused, "没有名为“Phone”的相机");
        row("  ", Kind::Refused, "请输入相机的编号、名称或 http:// 视频流地址");
    }
    void aSourceIsChosenFromTheUsersText() {
        QFETCH(QString, text);
        QFETCH(Kind, kind);
        QFETCH(QString, chosen);
        const SourceChoice choice = SourceChoice::fromText(text, kCameras);
        QCOMPARE(choice.kind(), kind);
        QCOMPARE(choice.cameraIndex(), kind == Kind::Local ? chosen.toLongLong() : -1);
        QCOMPARE(kind == Kind::Stream ? choice.url().toString() : choice.refusal(),
                 kind == Kind::Local ? QString() : chosen);
    }

    void camerasAreListedByNumberFromOneAndNoneAreSaidToBeMissing() {
        QCOMPARE(SourceChoice::listText(kCameras),
                 QStringLiteral("1  USB Camera\n2  USB Camera 2\n3  Integrated Camera\n"));
        QCOMPARE(SourceChoice::listText({}), QString());
        QCOMPARE(SourceChoice::fromText(QStringLiteral("1"), {}).refusal(),
                 QStringLiteral("没有找到相机，请检查连接"));
    }
};

QTEST_GUILESS_MAIN(LocalCameraTest)
#include "tst_local_camera.moc"
