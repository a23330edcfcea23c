#!/usr/bin/env bash
# Fresh machine to green: installs what is missing, builds, and runs every test headless; then
# the whole suite again built with address and undefined-behaviour sanitizers, a short run of
# every fuzz target, and a check of the Debian package. The long sessions (scripts/soak.sh, CTest
# label "soak", left out by the test presets) and the thread-sanitizer run (scripts/tsan.sh) are
# not part of it.
#   scripts/test.sh                 everything
#   LUMOTRIX_FUZZ_SECONDS=N         seconds per fuzz target (default 15)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
export QT_QPA_PLATFORM=offscreen

echo "== Build and test"
scripts/build.sh default
ctest --preset default -j 2

echo "== Build and test with address and undefined-behaviour sanitizers"
scripts/build.sh asan
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    ctest --preset asan -j 2

echo "== Fuzz every target for ${LUMOTRIX_FUZZ_SECONDS:-15} s"
scripts/fuzz.sh "${LUMOTRIX_FUZZ_SECONDS:-15}"

echo "== Debian package: build, lintian, install into a clean folder, start"
scripts/package-test.sh
