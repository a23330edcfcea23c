#!/usr/bin/env bash
# Fresh machine to a running program: installs what is missing, builds, starts the simulated
# controller on a pseudo-terminal as COM1, and opens the window on it. The simulator's log of
# every packet it receives goes to this terminal; the image it receives in a download is written
# to build/default/sim-image.bin. Extra arguments go to the simulator (see lumotrix-sim --help),
# e.g. scripts/run.sh --line-time
# Without a desktop session (no DISPLAY or WAYLAND_DISPLAY) the window opens on a virtual X
# display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
bin=build/default

link="${TMPDIR:-/tmp}/lumotrix-com1-$$"
"$bin/tools/lumotrix-sim" --link "$link" --image "$bin/sim-image.bin" "$@" &
sim=$!
trap 'kill "$sim" 2>/dev/null || true' EXIT
for _ in $(seq 50); do
    [ -e "$link" ] && break
    sleep 0.1
done
[ -e "$link" ] || { echo "the simulated controller did not start" >&2; exit 1; }

export LUMOTRIX_COM1="$link"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop session: starting on a virtual display (xvfb-run)."
    xvfb-run -a -s "-screen 0 1024x768x24" "$bin/src/ui/lumotrix"
else
    "$bin/src/ui/lumotrix"
fi
