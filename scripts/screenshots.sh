#!/usr/bin/env bash
# Walks the wizard as a person would, on a virtual X display against the simulated controller,
# clicking and typing with xdotool, and saves a picture of every page in docs/:
#   page1-parameters.png  page2-oe.png  page3-display.png  page4-rows.png  page5-columns.png
#   columns-maximised.png (the column page over the whole 1920 x 1080 screen)
#   close-question.png (closing the window with picks not saved)
#   opened-map.png (the status bar after the map was saved and opened again)
# The simulator's log of what it received is written to docs/walk-sim.log.
#   scripts/screenshots.sh [DPI]
# Installs what it uses (Xvfb, ImageMagick's import, xdotool, python3-xlib) when missing. The
# program's settings go to a folder of this run, not to the user's.
set -euo pipefail
cd "$(dirname "$0")/.."
dpi="${1:-96}"
bin=build/default
out=docs
scripts/install-deps.sh imagemagick xdotool python3-xlib
for tool in Xvfb import xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is missing and could not be installed" >&2; exit 1; }
done
/usr/bin/python3 -c 'import Xlib' 2>/dev/null \
    || { echo "python3-xlib is missing and could not be installed" >&2; exit 1; }
for exe in "$bin/src/ui/lumotrix" "$bin/tools/lumotrix-sim"; do
    [ -x "$exe" ] || { echo "$exe is not built: run scripts/build.sh default" >&2; exit 1; }
done

display=":$((90 + RANDOM % 9))"
work=$(mktemp -d "${TMPDIR:-/tmp}/lumotrix-shots.XXXXXX")
link="$work/com1"
Xvfb "$display" -screen 0 1920x1080x24 -dpi "$dpi" -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
"$bin/tools/lumotrix-sim" --link "$link" >"$out/walk-sim.log" 2>&1 &
sim=$!
app=""
trap 'kill $app $sim $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT
sleep 1
kill -0 "$xvfb" 2>/dev/null || { echo "Xvfb could not start on display $display" >&2; exit 1; }
[ -e "$link" ] || { echo "the simulated controller did not start (see $out/walk-sim.log)" >&2; exit 1; }
export DISPLAY="$display"
XDG_CONFIG_HOME="$work" LUMOTRIX_COM1="$link" "$bin/src/ui/lumotrix" --lang zh &
app=$!
wid=""
for _ in $(seq 50); do
    wid=$(xdotool search --name '^LumotrixV6.1$' | head -n1 || true)
    [ -n "$wid" ] && break
    kill -0 "$app" 2>/dev/null || { echo "the program ended before its window appeared" >&2; exit 1; }
    sleep 0.2
done
[ -n "$wid" ] || { echo "no window titled LumotrixV6.1 appeared within 10 s" >&2; exit 1; }
xdotool windowmove "$wid" 0 0
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$wid")"  # WIDTH and HEIGHT at opening

px() { echo $(( ($1 * dpi + 720) / 1440 )); }
# Clicks at a point given in twips from the window's top-left corner.
click() {
    xdotool mousemove --window "$wid" "$(px "$1")" "$(px "$2")" click 1
    sleep 0.4
}
shot() { import -window "$wid" "$out/$1"; echo "saved $out/$1"; }
next() { click 2400 4380; }
# A grid cell (row, col) of a pick grid: the grid sits at 240+120, 240+300 twips in the window,
# headers and cells are 280 x 240 twips.
cell() { click $(( 360 + 280 + ($2 - 1) * 280 + 140 )) $(( 540 + 240 + ($1 - 1) * 240 + 120 )); }
# Types a path into the file dialog that has just opened, and accepts it.
answerFileDialog() {
    sleep 1
    xdotool type --delay 20 "$1"
    xdotool key Return
    sleep 1
}

shot page1-parameters.png
next; sleep 2.2; shot page2-oe.png
click 3320 2227                       # "2亮" on the OE page
next; sleep 0.3; shot page3-display.png
next
for r in 1 2 3; do cell "$r" "$((r * 2))"; done
cell 1 2                              # the same LED again: orange, both numbers
shot page4-rows.png
click 3187 4387                       # 后退 takes the repeat back
for r in 4 5 6 7 8 9 10 11 12 1 2 3; do cell "$r" 1; done     # 15 picks
cell 4 3                                                     # the 16th, each on its own LED
for c in 1 9 17 5; do cell 2 "$c"; done
shot page5-columns.png

xdotool windowsize "$wid" 1920 1080   # as large as the screen, as maximising makes it
sleep 1
shot columns-maximised.png
xdotool windowsize "$wid" "$WIDTH" "$HEIGHT"
sleep 1

scripts/close-window.py "$wid"          # as the window manager's close button does
sleep 1
import -window root -crop "${WIDTH}x${HEIGHT}+0+0" "$out/close-question.png"
echo "saved $out/close-question.png"
xdotool key Return                    # Cancel, the default: the window stays
sleep 0.5

click 4000 4380; answerFileDialog "$work/module.bin"    # 完成 saves the map
click 5100 4380; answerFileDialog "$work/module.bin"    # 打开 opens it again
[ -f "$work/module.bin" ] || { echo "the map was not saved: the file dialog took no name" >&2; exit 1; }
shot opened-map.png
