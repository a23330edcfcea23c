#!/usr/bin/env bash
# Walks the wizard as a person would, on a virtual X display against the simulated controller,
# clicking with xdotool, and saves a picture of every page in docs/:
#   page1-parameters.png  page2-oe.png  page3-display.png  page4-rows.png  page5-columns.png
#   close-question.png (closing the window with picks not saved)
# The simulator's log of what it received is written to docs/walk-sim.log.
# Needs: scripts/install-deps.sh imagemagick xdotool python3-xlib
set -euo pipefail
cd "$(dirname "$0")/.."
dpi="${1:-96}"
bin=build/default
out=docs

display=":$((90 + RANDOM % 9))"
link="${TMPDIR:-/tmp}/lumotrix-shots-$$"
Xvfb "$display" -screen 0 1280x1024x24 -dpi "$dpi" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
"$bin/tools/lumotrix-sim" --link "$link" >"$out/walk-sim.log" 2>&1 &
sim=$!
trap 'kill $app $sim $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY="$display"
LUMOTRIX_COM1="$link" "$bin/src/ui/lumotrix" 2>/dev/null &
app=$!
for _ in $(seq 50); do
    wid=$(xdotool search --name '^LumotrixV6.1$' 2>/dev/null | head -n1 || true)
    [ -n "$wid" ] && break
    sleep 0.2
done
[ -n "$wid" ] || { echo "the window did not appear" >&2; exit 1; }
xdotool windowmove "$wid" 0 0
sleep 0.5

px() { echo $(( ($1 * dpi + 720) / 1440 )); }
# Clicks at a point given in twips from the window's top-left corner.
click() {
    xdotool mousemove --window "$wid" "$(px "$1")" "$(px "$2")" click 1
    sleep 0.4
}
shot() { import -window "$wid" "$out/$1"; echo "saved $out/$1"; }
next() { click 2400 4380; }
# A grid cell (row, col) of a pick grid: the grid sits at 240+120, 240+200 twips in the window,
# headers and cells are 280 x 240 twips.
cell() { click $(( 360 + 280 + ($2 - 1) * 280 + 140 )) $(( 440 + 240 + ($1 - 1) * 240 + 120 )); }

shot page1-parameters.png
next; sleep 2.2; shot page2-oe.png
click 3320 2227                       # "2亮" on the OE page
next; sleep 0.3; shot page3-display.png
next
for r in 1 2 3; do cell "$r" "$((r * 2))"; done
cell 1 2                              # the same LED again: orange, both numbers
shot page4-rows.png
click 3187 4387                       # 后退 takes the repeat back
for r in 4 5 6 7 8 9 10 11 12 1 2 3 4; do cell "$r" 1; done   # 16 picks in all
for c in 1 9 17 5; do cell 2 "$c"; done
shot page5-columns.png

scripts/close-window.py "$wid"          # as the window manager's close button does
sleep 1
import -window root -crop "$(px 6570)x$(px 4770)+0+0" "$out/close-question.png"
echo "saved $out/close-question.png"
