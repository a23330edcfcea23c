#!/usr/bin/env bash
# Starts the built program on a virtual X display and saves a picture of its window.
#   scripts/screenshot.sh OUT.png [DPI]
# Needs xvfb, imagemagick and xdotool (scripts/install-deps.sh imagemagick xdotool).
set -euo pipefail
cd "$(dirname "$0")/.."
out="$1"
dpi="${2:-96}"
bin=build/default/src/ui/lumotrix

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x1024x24 -dpi "$dpi" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
DISPLAY="$display" QT_FONT_DPI="$dpi" "$bin" &
app_pid=$!
for _ in $(seq 50); do
    wid=$(DISPLAY="$display" xdotool search --name '^LumotrixV6.1$' 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.2
done
[ -n "$wid" ] || { echo "the window did not appear" >&2; exit 1; }
sleep 1
DISPLAY="$display" import -window "$wid" "$out"
echo "saved $out"
