#!/usr/bin/env bash
# Fresh machine to green: installs what is missing, builds, and runs every test headless; then
# the whole suite again built with address and undefined-behaviour sanitizers, a short run of
# every fuzz target, and a check of the Debian package. The long sessions (scripts/soak.sh, CTest
# label "soak", left out by the test presets), the camera sweeps (scripts/camera.sh, label
# "camera") and the thread-sanitizer run (scripts/tsan.sh) are not part of it.
#   scripts/test.sh                 everything
#   LUMOTRIX_FUZZ_SECONDS=N         seconds per fuzz target (default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
# Everything the run needs, the package check's tools too, in one go.
scripts/install-deps.sh dpkg-dev file gzip lintian desktop-file-utils
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
scripts/build.sh default
ctest --preset default -j "$(nproc)"

# The package is built from the build just tested; its check, which hardly needs the processor,
# runs while the sanitizer build compiles, and reports after the sanitizer tests.
package_log=build/package-test.log
scripts/package-test.sh > "$package_log" 2>&1 &
package=$!

echo "== Build and test with address and undefined-behaviour sanitizers"
scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --preset asan -j "$(nproc)"

echo "== Debian package: build, lintian, install into a clean folder, start"
package_status=0
wait "$package" || package_status=$?
cat "$package_log"
[ "$package_status" -eq 0 ] || { echo "the package check failed" >&2; exit "$package_status"; }

echo "== Fuzz every target for ${LUMOTRIX_FUZZ_SECONDS:-5} s"
# All at once: a short run checks that each target starts and its seeds hold, not how fast.
LUMOTRIX_FUZZ_JOBS=8 scripts/fuzz.sh "${LUMOTRIX_FUZZ_SECONDS:-5}"
