// Prints what the LED finder costs on one core, on the worst view of the ranges it promises at
// 1280 x 720 (a 64 x 32 module filling 95 % of the picture, so that every LED's kernel is at its
// widest; blur 1.5 px, noise 6 grey levels, JPEG quality 50, LED spread +-30 %, corners at 60 %):
// decoding a camera's JPEG to grey with Qt and reading it, apart, against 15 ms for both; and
// calibrating from a dark and a lit picture, against 500 ms. Medians of repeated runs.
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QImage>
#include <cstdio>

#include "BenchUtil.h"
#include "CameraScene.h"
#include "vision/Calibrator.h"
#include "vision/LedReader.h"

namespace {

constexpr int kReadings = 60;
constexpr int kCalibrations = 7;

CameraView worstView() {
    CameraView v;
    v.frame = QSize(1280, 720);
    v.fill = 0.95;
    v.blur = 1.5;
    v.noise = 6;
    v.jpegQuality = 50;
    v.ledSpread = 0.3;
    v.vignetting = 0.6;
    return v;
}

QImage decoded(const QByteArray& jpeg) {
    QImage image;
    image.loadFromData(jpeg, "JPEG");
    return image.convertToFormat(QImage::Format_Grayscale8);
}

GreyPicture grey(const QImage& image) {
    return {image.width(), image.height(), static_cast<int>(image.bytesPerLine()),
            image.constBits()};
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QSize leds(64, 32);
    const CameraScene scene(leds, worstView());
    std::vector<float> levels(static_cast<size_t>(leds.width() * leds.height()), 0.f);
    PictureEffects effects;
    effects.noiseSeed = 1;
    const QByteArray darkJpeg = scene.encode(scene.draw(levels, effects));
    std::vector<float> all(levels.size(), 1.f);
    effects.noiseSeed = 2;
    const QByteArray litJpeg = scene.encode(scene.draw(all, effects));
    const QImage dark = decoded(darkJpeg);
    const QImage lit = decoded(litJpeg);

    std::optional<LedGrid> grid;
    const double calibration = BenchUtil::medianMs(
        kCalibrations, [] {},
        [&] {
            grid = Calibrator::calibrate(grey(dark), grey(lit), leds.width(), leds.height()).grid;
        });
    if (!grid) {
        std::fprintf(stderr, "calibration refused\n");
        return 1;
    }
    std::vector<QByteArray> steps;
    for (int k = 0; k < kReadings; ++k) {
        std::vector<float> one = levels;
        one[static_cast<size_t>(k * 37) % one.size()] = 1;
        effects.noiseSeed = 10 + k;
        steps.push_back(scene.encode(scene.draw(one, effects)));
    }
    int step = 0;
    QImage picture;
    const double decoding = BenchUtil::medianMs(
        kReadings, [] {},
        [&] { picture = decoded(steps[static_cast<size_t>(step++ % kReadings)]); });
    int certain = 0;
    step = 0;
    const double reading = BenchUtil::medianMs(
        kReadings, [&] { picture = decoded(steps[static_cast<size_t>(step++ % kReadings)]); },
        [&] { certain += LedReader::read(*grid, grey(picture)).isCertain() ? 1 : 0; });
    std::fprintf(
        stderr,
        "LED finder, 64 x 32 module at 1280 x 720, fill 95 %%, blur 1.5, noise 6, JPEG 50: "
        "%d of %d step pictures certain\n",
        certain, kReadings);
    bool ok = BenchUtil::report("JPEG 1280 x 720 decoded to grey (Qt)", decoding, "ms");
    BenchUtil::report("LED reading of one picture", reading, "ms");
    ok = BenchUtil::report("JPEG decoding plus LED reading", decoding + reading, "ms", 15) && ok;
    ok = BenchUtil::report("calibration of a 64 x 32 module", calibration, "ms", 500) && ok;
    return ok ? 0 : 1;
}
