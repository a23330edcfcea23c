#!/usr/bin/env bash
# Fresh machine to a running program: installs what is missing, builds, starts the simulated
# controller on a pseudo-terminal as COM1 with its virtual LED module in a window of its own and
# a virtual camera filming the module, and opens the program's window beside it with its camera
# window on that camera: press 下一步, then F5, and the camera walks the wizard. The module is
# wired "stripe" and lights in OE state 2 and display state 1 unless the options say otherwise:
#   scripts/run.sh --wiring reversed --oe-lit 1
# Every option goes to the simulator (see lumotrix-sim --help), e.g. scripts/run.sh --line-time
# The simulator's log of every packet it receives goes to this terminal; the image it receives
# in a download is written to build/default/sim-image.bin.
# Without a desktop session (no DISPLAY or WAYLAND_DISPLAY) both windows open on one virtual X
# display.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -z "${LUMOTRIX_RUN_BUILT:-}" ]; then
    scripts/install-deps.sh
    # the tests and benchmarks are not needed here
    scripts/build.sh default lumotrix lumotrix-sim lumotrix-camera-local
fi
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop session: starting on a virtual display (xvfb-run)."
    LUMOTRIX_RUN_BUILT=1 exec xvfb-run -a -s "-screen 0 1280x800x24" "$0" "$@"
fi
bin=build/default

# The module's window to the right of the program's (438 x 318 pixels at 96 dpi). A later
# --wiring replaces this one.
link="${TMPDIR:-/tmp}/lumotrix-com1-$$"
# The simulator prints "camera http://127.0.0.1:PORT/" once its camera serves.
said="${TMPDIR:-/tmp}/lumotrix-sim-$$.out"
"$bin/tools/lumotrix-sim" --link "$link" --image "$bin/sim-image.bin" --window \
    -qwindowgeometry 800x480+470+0 --camera-port 0 --wiring stripe "$@" > >(tee "$said") &
sim=$!
trap 'kill "$sim" 2>/dev/null || true; rm -f "$said"' EXIT
camera=""
for _ in $(seq 100); do
    camera=$(sed -n 's/^camera \(http:.*\)$/\1/p' "$said" 2>/dev/null | head -1)
    [ -e "$link" ] && [ -n "$camera" ] && break
    kill -0 "$sim" 2>/dev/null || break  # refused its options, and said why
    sleep 0.1
done
[ -e "$link" ] || { echo "the simulated controller did not start" >&2; exit 1; }

LUMOTRIX_COM1="$link" "$bin/src/ui/lumotrix" -qwindowgeometry +0+0 ${camera:+--camera "$camera"}
