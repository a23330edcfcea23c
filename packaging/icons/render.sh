#!/usr/bin/env bash
# Renders the committed PNG sizes of the icon from lumotrix.svg; run it after changing the SVG.
# Needs rsvg-convert (scripts/install-deps.sh librsvg2-bin).
set -euo pipefail
cd "$(dirname "$0")"
for size in 16 32 48 64 128 256; do
    rsvg-convert -w "$size" -h "$size" lumotrix.svg -o "lumotrix-$size.png"
done
