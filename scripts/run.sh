#!/usr/bin/env bash
# Fresh machine to a running program: installs what is missing, builds, and starts the window.
# Without a desktop session (no DISPLAY or WAYLAND_DISPLAY) it starts on a virtual X display.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh
scripts/build.sh default
bin=build/default

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No desktop session: starting on a virtual display (xvfb-run)."
    exec xvfb-run -a -s "-screen 0 1024x768x24" "$bin/src/app/lumotrix"
fi
exec "$bin/src/app/lumotrix"
