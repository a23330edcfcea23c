#!/usr/bin/env bash
# Starts the built program on a virtual X display and saves a picture of its window.
#   scripts/screenshot.sh OUT.png [DPI [PROGRAM OPTIONS...]]
# e.g. scripts/screenshot.sh docs/window-en.png 96 --lang en
# Installs what it uses (Xvfb, ImageMagick's import, xdotool) when missing.
set -euo pipefail
cd "$(dirname "$0")/.."
out="$1"
dpi="${2:-96}"
shift $(($# < 2 ? $# : 2))
bin=build/default/src/ui/lumotrix
scripts/install-deps.sh imagemagick xdotool
for tool in Xvfb import xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing and could not be installed" >&2; exit 1; }
done
[ -x "$bin" ] || { echo "$bin is not built: run scripts/build.sh default" >&2; exit 1; }

display=":$((90 + RANDOM % 9))"
Xvfb "$display" -screen 0 1280x1024x24 -dpi "$dpi" -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
app_pid=""
trap 'kill $app_pid $xvfb_pid 2>/dev/null || true' EXIT
sleep 1
kill -0 "$xvfb_pid" 2>/dev/null || { echo "Xvfb could not start on display $display" >&2; exit 1; }
DISPLAY="$display" QT_FONT_DPI="$dpi" "$bin" "$@" &
app_pid=$!
wid=""
for _ in $(seq 50); do
    wid=$(DISPLAY="$display" xdotool search --name '^LumotrixV6.1$' | head -n1 || true)
    [ -n "$wid" ] && break
    kill -0 "$app_pid" 2>/dev/null || { echo "the program ended before its window appeared" >&2; exit 1; }
    sleep 0.2
done
[ -n "$wid" ] || { echo "no window titled LumotrixV6.1 appeared within 10 s" >&2; exit 1; }
sleep 1
DISPLAY="$display" import -window "$wid" "$out"
echo "saved $out"
