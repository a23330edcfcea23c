#!/usr/bin/env bash
# The LED finder's long runs on the virtual camera (CTest label "camera", left out of
# scripts/test.sh), on the plain default build: the 128 x 64 views at 1280 x 720, and a sweep
# over 300 random views within the ranges the finder promises (seeded; every LED of a 64 x 32
# module in some of them). The sweep prints its figures: right, doubt and wrong single-LED
# pictures, doubtful pictures read as certain, the worst LED position. Then the hands-free walk
# through the window and the virtual camera's stream, for every wiring at two sizes with turned
# views, and under each of the camera's troubles (tst_camera_trouble, a few minutes).
#   scripts/camera.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target tst_vision_camera tst_vision_sweep \
    tst_camera_trouble
ctest --preset camera
