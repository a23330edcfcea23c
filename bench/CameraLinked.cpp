// Linked into bench_startup_camera only: the camera library's code (the Motion-JPEG stream and
// the loader of the local-camera module) stays in the program, as it will once the window uses
// it, without running: so that bench_startup_camera --against bench_startup shows what linking
// it costs the window's start-up.
#include "camera/LocalCameras.h"
#include "camera/MjpegStream.h"

namespace {

void useCameras() {
    MjpegStream stream{QUrl()};
    stream.start();
    LocalCameras().cameras();
}

}  // namespace

void (*volatile lumotrixCameraCode)() = &useCameras;
