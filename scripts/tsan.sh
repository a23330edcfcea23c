#!/usr/bin/env bash
# Builds lumotrix-cli's tests with the thread sanitizer (preset "tsan", build/tsan) and runs
# them: the CLI runs one worker thread per port; tst_cli runs batches over several simulated
# controllers, and tst_soak_cli 25 batches over eight at once with a fault (silence, NAK, late
# answer, garbage, hang-up) on every third download; tst_mjpeg_stream reads Motion-JPEG streams
# in the stream's own thread, stopped, restarted and destroyed mid-stream. Any report fails the
# run.
#
# Debian's Qt is not built with the sanitizer. The test preset therefore preloads
# scripts/tsan/QtHandoffs.cpp, which announces Qt's own hand-overs between threads
# (queued signals, a thread's end) and leaves the simulated controllers' threads unchecked; it
# runs Qt's plain UNIX event dispatcher (QT_NO_GLIB=1) rather than GLib's, so that every report
# names Qt's own code; and scripts/tsan/tsan.supp leaves aside the races wholly inside Qt, each with
# the reason. die_after_fork=0: the tests start lumotrix-cli with QProcess while simulator
# threads run; the forked child only starts the program.
#   scripts/tsan.sh
set -euo pipefail
cd "$(dirname "$0")/.."
# g++: its thread sanitizer runtime is a shared library, which the preloaded library above can
# sit in front of; clang links its runtime into each program.
scripts/install-deps.sh g++
cmake --preset tsan >/dev/null
tests='^(tst_cli|tst_soak_cli|tst_mjpeg_stream)$'
# The test programs, whatever they are named today.
mapfile -t targets < <(ninja -C build/tsan -t targets all | sed -n 's/^\(tst_[a-z_]*\): .*/\1/p' |
    grep -E "$tests" | grep -v _autogen | sort -u)
cmake --build --preset tsan -j "$(nproc)" --target lumotrix-tsan-qt lumotrix-cli "${targets[@]}"
ctest --preset tsan -R "$tests"
