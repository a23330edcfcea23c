// Prints the time the virtual camera takes to draw a 1280 x 720 picture of a 64 x 32 module with
// every LED lit, on the worst view its ranges allow, and to encode that picture as a JPEG of
// quality 85: medians over many pictures, each with its own noise, on one thread.
#include <QGuiApplication>
#include <cstdio>

#include "BenchUtil.h"
#include "CameraScene.h"

namespace {

constexpr int kPictures = 60;

CameraView worstView() {
    CameraView view;
    view.yaw = 35;
    view.tilt = 35;
    view.roll = 15;
    view.barrel = 0.02;
    view.blur = 1.5;
    view.noise = 6;
    view.jpegQuality = 85;
    return view;
}

}  // namespace

int main(int argc, char* argv[]) {
    QGuiApplication app(argc, argv);
    const QSize leds(64, 32);
    QElapsedTimer made;
    made.start();
    const CameraScene scene(leds, worstView());
    const double makeMs = static_cast<double>(made.nsecsElapsed()) / 1e6;
    const std::vector<float> lit(static_cast<std::size_t>(leds.width() * leds.height()), 1.0f);
    PictureEffects effects;
    QImage picture;
    const double drawMs = BenchUtil::medianMs(
        kPictures, [&effects] { ++effects.noiseSeed; },
        [&] { picture = scene.draw(lit, effects); });
    QByteArray jpeg;
    const double encodeMs = BenchUtil::medianMs(
        kPictures, [] {}, [&] { jpeg = scene.encode(picture); });
    std::fprintf(stderr,
                 "Virtual camera, 1280 x 720, 64 x 32 LEDs all lit, yaw 35, tilt 35, roll 15, "
                 "barrel 2 %%, blur 1.5, noise 6: median of %d; JPEG of %d bytes\n",
                 kPictures, static_cast<int>(jpeg.size()));
    const bool ok =
        BenchUtil::report("camera picture drawn (1280x720, worst view)", drawMs, "ms", 10);
    BenchUtil::report("camera picture encoded (JPEG quality 85)", encodeMs, "ms");
    BenchUtil::report("camera view prepared (once per view)", makeMs, "ms");
    return ok ? 0 : 1;
}
